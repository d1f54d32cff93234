// The frame "Sound Files": a wave file for each of the thirty sound numbers,
// the start-up sound, preview and stop.
#include <QComboBox>

#include "core/files.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/playwave.h"
#include "core/settingsrules.h"
#include "core/soundfiles.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/settingspanel_boxes.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sound.h"
#include "platform/steps.h"

namespace vm {
namespace {

// Linux names are case-sensitive: both spellings of the suffix are offered.
constexpr const char* kWaveFilter = "Wave Files|*.wav;*.WAV|All Files|*.*";

bool SoundExists(const std::string& name) { return FileExists(ResolveDataPath(name)); }

// A preview of the chosen sound: an empty name is silence, a missing or
// unplayable file beeps.
void PreviewSound(const std::string& name) {
    if (Trim(name).empty()) {
        OptionalStep([] { SoundPlayer().stop(); });
        return;
    }
    PlayWaveFile(name);
}

std::string* SoundEntry(int64_t n) {
    if (n < 0 || n > 30) return nullptr;
    return &Module1.SoundFile.at(static_cast<size_t>(n));
}

}  // namespace

void SettingsPanel::cmbSoundNumbr_Click() {
    int64_t n = 0;
    OptionalStep([&] { n = std::min<int64_t>(SoundNumber(cmbSoundNumbr->currentText().toStdString()), 30); });
    OptionalStep([&] { cmbSoundNumbr->setEditText(QString::fromStdString(Str(n))); });
    OptionalStep([&] {
        if (std::string* entry = SoundEntry(n)) txtSoundFN->setText(QString::fromStdString(*entry));
    });
    OptionalStep([&] { Module1.CurSoundFile = txtSoundFN->text().toStdString(); });
    OptionalStep([&] { PreviewSound(txtSoundFN->text().toStdString()); });
}

void SettingsPanel::cmdBrowseSound_Click() {
    Operation op("BrowseSound_Error");
    if (!op.step(1, [&] { SoundPlayer().stop(); })) return;
    if (!op.step(2, [&] {
            if (SoundDialogFolder.empty()) SoundDialogFolder = DataSoundFolder();
        }))
        return;
    int64_t n = 0;
    if (!op.step(3, [&] { n = SoundNumber(cmbSoundNumbr->currentText().toStdString()); })) return;
    std::string path;
    if (!op.step(4, [&] {
            FileDialogRequest r;
            r.title = "Select Sound File# " + cmbSoundNumbr->currentText().toStdString();
            r.filter = kWaveFilter;
            r.initialDir = SoundDialogFolder;
            path = Messages().fileDialog(r);
        }))
        return;
    if (path.empty()) return;  // cancelled: nothing changes
    if (!op.step(5, [&] {
            if (std::string* entry = SoundEntry(n)) *entry = path;
        }))
        return;
    op.step(6, [&] {
        const std::string folder = FolderPart(path);
        if (!FileExists(path) || folder.empty()) return;
        txtSoundFN->setText(QString::fromStdString(path));
        SoundDialogFolder = folder;
        Module1.CurSoundFile = path;
        PlayWaveFile(path);
    });
}

void SettingsPanel::cmdStrSndFile_Click() {
    Operation op("cmdStrSndFile_Error");
    if (!op.step(1, [&] { SoundPlayer().stop(); })) return;
    if (!op.step(2, [&] {
            if (StartUpSoundDialogFolder.empty()) StartUpSoundDialogFolder = DataSoundFolder();
        }))
        return;
    std::string path;
    if (!op.step(3, [&] {
            FileDialogRequest r;
            r.title = "Select Startup Sound File";
            r.filter = kWaveFilter;
            r.initialDir = StartUpSoundDialogFolder;
            path = Messages().fileDialog(r);
        }))
        return;
    if (path.empty()) return;  // cancelled: nothing changes
    if (!op.step(4, [&] {
            if (!FileExists(path)) return;
            std::string folder = FolderPart(path);
            if (folder.size() > 1) folder.pop_back();  // without the final "/"
            StartUpSoundDialogFolder = folder;
        }))
        return;
    op.step(5, [&] {
        Module1.OptStartUpSound = path;
        txtStrUpSnd->setText(QString::fromStdString(Module1.OptStartUpSound));
        PlayWaveFile(Module1.OptStartUpSound);
    });
}

void SettingsPanel::sscmdEndSound_Click() {
    OptionalStep([] { SoundPlayer().stop(); });
}

void SettingsPanel::txtSoundFN_KeyPress(int& KeyAscii) {
    if (KeyAscii != 13) return;
    OptionalStep([&] {
        std::string* entry = SoundEntry(SoundNumber(cmbSoundNumbr->currentText().toStdString()));
        if (!entry) return;
        const std::string text = txtSoundFN->text().toStdString();
        if (SoundExists(text)) {
            *entry = text;
            Module1.CurSoundFile = *entry;
            PlayWaveFile(*entry);
        } else {
            entry->clear();  // the number has no sound any more
        }
    });
}

void SettingsPanel::txtStrUpSnd_KeyPress(int& KeyAscii) {
    if (KeyAscii != 13) return;
    OptionalStep([&] {
        const std::string text = txtStrUpSnd->text().toStdString();
        if (SoundExists(text)) {
            Module1.OptStartUpSound = text;
            Module1.CurSoundFile = Module1.OptStartUpSound;
            PlayWaveFile(Module1.OptStartUpSound);
        } else {
            Module1.OptStartUpSound.clear();  // no start-up sound
        }
    });
}

}  // namespace vm
