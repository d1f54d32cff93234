// Writes the program's wave files into the given folder: thirty short alarm
// sounds (Alarm01.wav .. Alarm30.wav), each a different tone pattern or chime,
// and the start-up chime opensound.wav. 16-bit mono PCM at 22050 Hz.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;  // -1..1

double NoteHz(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

Samples Silence(double seconds) { return Samples(static_cast<size_t>(seconds * kRate), 0.0); }

// A plain tone with short fades so it starts and ends without a click.
Samples Tone(double hz, double seconds, double level = 0.6) {
    Samples s(static_cast<size_t>(seconds * kRate));
    const size_t fade = std::min<size_t>(s.size() / 4, kRate / 200);
    for (size_t i = 0; i < s.size(); ++i) {
        double env = 1.0;
        if (i < fade) env = static_cast<double>(i) / fade;
        else if (i + fade > s.size()) env = static_cast<double>(s.size() - i) / fade;
        s[i] = level * env * std::sin(2 * kPi * hz * i / kRate);
    }
    return s;
}

// A struck bell: a few inharmonic partials dying away.
Samples Bell(double hz, double seconds, double level = 0.5) {
    static const double partials[][2] = {{1.0, 1.0}, {2.0, 0.5}, {2.76, 0.35}, {5.4, 0.2}, {8.93, 0.1}};
    Samples s(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        for (const auto& p : partials) v += p[1] * std::exp(-t * (2.5 + 2.0 * p[0])) * std::sin(2 * kPi * hz * p[0] * t);
        const double attack = std::min(1.0, i / (kRate * 0.003));
        s[i] = level * attack * v / 2.15;
    }
    return s;
}

// A glide from one pitch to another.
Samples Sweep(double fromHz, double toHz, double seconds, double level = 0.5) {
    Samples s(static_cast<size_t>(seconds * kRate));
    double phase = 0;
    const size_t fade = kRate / 200;
    for (size_t i = 0; i < s.size(); ++i) {
        const double x = static_cast<double>(i) / s.size();
        phase += 2 * kPi * (fromHz + (toHz - fromHz) * x) / kRate;
        double env = 1.0;
        if (i < fade) env = static_cast<double>(i) / fade;
        else if (i + fade > s.size()) env = static_cast<double>(s.size() - i) / fade;
        s[i] = level * env * std::sin(phase);
    }
    return s;
}

void Append(Samples& to, const Samples& more) { to.insert(to.end(), more.begin(), more.end()); }

// Lays `more` over `to` starting at `at` seconds.
void Mix(Samples& to, const Samples& more, double at) {
    const size_t start = static_cast<size_t>(at * kRate);
    if (to.size() < start + more.size()) to.resize(start + more.size(), 0.0);
    for (size_t i = 0; i < more.size(); ++i) to[start + i] += more[i];
}

// Sound n (1..30): ten beep patterns, ten chimes, ten glides and warbles.
Samples AlarmSound(int n) {
    Samples s;
    if (n <= 10) {
        // Beeps: pitch rises with n, the pattern cycles through 1, 2 and 3 beeps.
        const double hz = NoteHz(3 + 2 * (n - 1));
        const int beeps = 1 + (n - 1) % 3;
        const double len = n % 2 ? 0.18 : 0.12;
        for (int b = 0; b < beeps; ++b) {
            Append(s, Tone(hz, len));
            Append(s, Silence(0.08));
        }
        Append(s, Silence(0.15));
        for (int b = 0; b < beeps; ++b) {
            Append(s, Tone(hz, len));
            Append(s, Silence(0.08));
        }
    } else if (n <= 20) {
        // Chimes: arpeggios of bells on different chords and roots.
        static const int chords[][4] = {{0, 4, 7, 12}, {0, 3, 7, 12}, {0, 5, 9, 12}, {12, 7, 4, 0}, {0, 7, 12, 16},
                                        {0, 4, 7, 11}, {0, 2, 4, 7}, {7, 4, 0, -5}, {0, 12, 0, 12}, {0, 3, 6, 9}};
        const int k = n - 11;
        const int root = -9 + 3 * (k % 5) + (k >= 5 ? 12 : 0);
        for (int i = 0; i < 4; ++i) Mix(s, Bell(NoteHz(root + chords[k][i]), 0.9), 0.16 * i);
    } else {
        const int k = n - 21;
        switch (k) {
            case 0: Append(s, Sweep(400, 1200, 0.6)); break;
            case 1: Append(s, Sweep(1200, 400, 0.6)); break;
            case 2:
                for (int i = 0; i < 3; ++i) Append(s, Sweep(500, 900, 0.2));
                break;
            case 3:  // siren
                for (int i = 0; i < 2; ++i) {
                    Append(s, Sweep(600, 1000, 0.3));
                    Append(s, Sweep(1000, 600, 0.3));
                }
                break;
            case 4:  // two-tone
                for (int i = 0; i < 4; ++i) Append(s, Tone(i % 2 ? 587.3 : 784.0, 0.15));
                break;
            case 5:  // trill
                for (int i = 0; i < 12; ++i) Append(s, Tone(i % 2 ? 1046.5 : 987.8, 0.05, 0.5));
                break;
            case 6:  // falling steps
                for (int i = 0; i < 5; ++i) Append(s, Tone(NoteHz(15 - 3 * i), 0.12));
                break;
            case 7:  // rising steps
                for (int i = 0; i < 5; ++i) Append(s, Tone(NoteHz(3 + 3 * i), 0.12));
                break;
            case 8:  // low buzz pulses
                for (int i = 0; i < 3; ++i) {
                    Samples t = Tone(220, 0.2, 0.35);
                    Samples u = Tone(330, 0.2, 0.25);
                    for (size_t j = 0; j < t.size(); ++j) t[j] += u[j];
                    Append(s, t);
                    Append(s, Silence(0.1));
                }
                break;
            default:  // a single deep bell
                Append(s, Bell(NoteHz(-21), 1.4, 0.7));
                break;
        }
    }
    return s;
}

// The start-up chime: a rising major arpeggio ending on a held octave.
Samples OpenSound() {
    Samples s;
    const int notes[] = {3, 7, 10, 15};
    for (int i = 0; i < 4; ++i) Mix(s, Bell(NoteHz(notes[i]), i == 3 ? 1.4 : 0.8), 0.14 * i);
    return s;
}

void Put16(std::ofstream& out, uint16_t v) { out.put(static_cast<char>(v & 0xFF)).put(static_cast<char>(v >> 8)); }
void Put32(std::ofstream& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

bool WriteWave(const std::filesystem::path& path, const Samples& samples) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    for (double v : samples) {
        const double c = std::max(-1.0, std::min(1.0, v));
        Put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(c * 32767))));
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    bool ok = true;
    for (int n = 1; n <= 30; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "Alarm%02d.wav", n);
        ok = WriteWave(dir / name, AlarmSound(n)) && ok;
    }
    ok = WriteWave(dir / "opensound.wav", OpenSound()) && ok;
    if (!ok) {
        std::fprintf(stderr, "velmora_mksounds: cannot write into %s\n", dir.string().c_str());
        return 1;
    }
    return 0;
}
