// Draws the twelve month pictures the program ships, Jan.jpg .. Dec.jpg, into
// the folder given on the command line: a landscape per season (snow, spring
// meadows, summer sea, autumn woods) with the month's own sky and details.
// Usage: velmora_mkpictures <folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 900;
const char* kNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

enum class Season { Winter, Spring, Summer, Autumn };

Season SeasonOf(int month) {
    if (month == 12 || month <= 2) return Season::Winter;
    if (month <= 5) return Season::Spring;
    if (month <= 8) return Season::Summer;
    return Season::Autumn;
}

struct Palette {
    QColor skyTop, skyBottom, farHill, nearHill, ground;
};

Palette PaletteOf(int month) {
    switch (month) {
        case 1: return {QColor(96, 130, 182), QColor(214, 228, 240), QColor(190, 205, 222), QColor(232, 238, 246), QColor(248, 250, 253)};
        case 2: return {QColor(120, 110, 170), QColor(236, 214, 226), QColor(200, 196, 220), QColor(236, 236, 246), QColor(250, 250, 255)};
        case 3: return {QColor(110, 160, 210), QColor(220, 236, 230), QColor(140, 170, 120), QColor(120, 170, 90), QColor(96, 150, 70)};
        case 4: return {QColor(90, 150, 220), QColor(236, 226, 240), QColor(130, 175, 130), QColor(110, 180, 90), QColor(90, 165, 75)};
        case 5: return {QColor(70, 140, 225), QColor(240, 240, 210), QColor(110, 160, 100), QColor(95, 170, 70), QColor(80, 150, 60)};
        case 6: return {QColor(40, 110, 210), QColor(170, 215, 245), QColor(60, 120, 170), QColor(40, 130, 190), QColor(236, 214, 160)};
        case 7: return {QColor(25, 90, 200), QColor(150, 205, 245), QColor(50, 110, 165), QColor(30, 120, 185), QColor(240, 218, 150)};
        case 8: return {QColor(60, 100, 190), QColor(250, 200, 150), QColor(70, 110, 160), QColor(40, 110, 170), QColor(230, 200, 140)};
        case 9: return {QColor(90, 130, 190), QColor(245, 220, 170), QColor(150, 140, 90), QColor(170, 140, 60), QColor(150, 120, 60)};
        case 10: return {QColor(70, 90, 160), QColor(250, 180, 110), QColor(140, 100, 70), QColor(160, 100, 40), QColor(130, 85, 40)};
        case 11: return {QColor(80, 85, 120), QColor(210, 180, 160), QColor(120, 100, 90), QColor(120, 90, 60), QColor(100, 80, 60)};
        default: return {QColor(30, 45, 100), QColor(170, 180, 215), QColor(170, 180, 205), QColor(225, 230, 242), QColor(245, 247, 252)};
    }
}

QPainterPath Hill(double base, double amplitude, double phase, double waves) {
    QPainterPath p;
    p.moveTo(0, kHeight);
    for (int x = 0; x <= kWidth; x += 10) {
        const double t = static_cast<double>(x) / kWidth;
        const double y = base - amplitude * (0.6 * std::sin(waves * M_PI * t + phase) +
                                             0.4 * std::sin(2.3 * waves * M_PI * t + 2 * phase));
        p.lineTo(x, y);
    }
    p.lineTo(kWidth, kHeight);
    p.closeSubpath();
    return p;
}

void DrawSun(QPainter& g, QPointF centre, double radius, QColor core) {
    QRadialGradient glow(centre, radius * 3);
    glow.setColorAt(0, QColor(core.red(), core.green(), core.blue(), 150));
    glow.setColorAt(1, QColor(core.red(), core.green(), core.blue(), 0));
    g.setPen(Qt::NoPen);
    g.setBrush(glow);
    g.drawEllipse(centre, radius * 3, radius * 3);
    g.setBrush(core);
    g.drawEllipse(centre, radius, radius);
}

void DrawPine(QPainter& g, double x, double ground, double h, QColor green, bool snow) {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(90, 60, 40));
    g.drawRect(QRectF(x - h * 0.04, ground - h * 0.15, h * 0.08, h * 0.15));
    for (int k = 0; k < 3; ++k) {
        const double top = ground - h + k * h * 0.25;
        const double w = h * (0.25 + 0.1 * k);
        QPolygonF tri;
        tri << QPointF(x, top) << QPointF(x - w, top + h * 0.45) << QPointF(x + w, top + h * 0.45);
        g.setBrush(green);
        g.drawPolygon(tri);
        if (snow) {
            QPolygonF cap;
            cap << QPointF(x, top) << QPointF(x - w * 0.35, top + h * 0.16) << QPointF(x + w * 0.35, top + h * 0.16);
            g.setBrush(QColor(250, 252, 255));
            g.drawPolygon(cap);
        }
    }
}

void DrawLeafTree(QPainter& g, double x, double ground, double h, QColor crown) {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(100, 70, 45));
    g.drawRect(QRectF(x - h * 0.05, ground - h * 0.55, h * 0.1, h * 0.55));
    g.setBrush(crown);
    g.drawEllipse(QPointF(x, ground - h * 0.7), h * 0.35, h * 0.3);
    g.setBrush(crown.lighter(115));
    g.drawEllipse(QPointF(x - h * 0.15, ground - h * 0.78), h * 0.2, h * 0.18);
}

void DrawPicture(QImage& image, int month) {
    std::mt19937 rng(static_cast<unsigned>(month * 7919));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const Palette pal = PaletteOf(month);
    const Season season = SeasonOf(month);
    QPainter g(&image);
    g.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kHeight * 0.7);
    sky.setColorAt(0, pal.skyTop);
    sky.setColorAt(1, pal.skyBottom);
    g.fillRect(image.rect(), sky);

    const double sunX = kWidth * (0.15 + 0.06 * month);
    const double sunY = kHeight * (season == Season::Winter ? 0.34 : season == Season::Summer ? 0.16 : 0.25);
    DrawSun(g, QPointF(sunX, sunY), season == Season::Summer ? 55 : 42,
            season == Season::Autumn ? QColor(255, 190, 110) : QColor(255, 240, 190));

    // Clouds.
    g.setPen(Qt::NoPen);
    for (int c = 0; c < 3 + month % 3; ++c) {
        const double cx = unit(rng) * kWidth, cy = kHeight * (0.08 + 0.2 * unit(rng));
        g.setBrush(QColor(255, 255, 255, 150));
        for (int k = 0; k < 4; ++k) g.drawEllipse(QPointF(cx + k * 38 - 60, cy + (k % 2) * 10), 55, 28);
    }

    g.setBrush(pal.farHill);
    g.drawPath(Hill(kHeight * 0.58, 60, month * 0.7, 2.0));
    if (season == Season::Summer) {
        QLinearGradient sea(0, kHeight * 0.62, 0, kHeight * 0.8);
        sea.setColorAt(0, pal.nearHill.lighter(120));
        sea.setColorAt(1, pal.nearHill.darker(120));
        g.setBrush(sea);
        g.drawRect(QRectF(0, kHeight * 0.62, kWidth, kHeight * 0.2));
        g.setPen(QPen(QColor(255, 255, 255, 120), 3));
        for (int w = 0; w < 18; ++w) {
            const double y = kHeight * (0.64 + 0.16 * unit(rng)), x = unit(rng) * kWidth;
            g.drawLine(QPointF(x, y), QPointF(x + 40 + 40 * unit(rng), y));
        }
        g.setPen(Qt::NoPen);
        g.setBrush(pal.ground);
        g.drawPath(Hill(kHeight * 0.86, 25, month, 1.2));
    } else {
        g.setBrush(pal.nearHill);
        g.drawPath(Hill(kHeight * 0.7, 45, month * 1.3, 1.5));
        g.setBrush(pal.ground);
        g.drawPath(Hill(kHeight * 0.84, 30, month * 2.1, 1.1));
    }

    const double ground = kHeight * 0.8;
    switch (season) {
        case Season::Winter:
            for (int t = 0; t < 7; ++t)
                DrawPine(g, kWidth * (0.05 + 0.14 * t + 0.04 * unit(rng)), ground + 30 * unit(rng), 140 + 90 * unit(rng),
                         QColor(30, 80 + month % 3 * 10, 55), true);
            g.setBrush(QColor(255, 255, 255, 210));
            for (int f = 0; f < 160; ++f) g.drawEllipse(QPointF(unit(rng) * kWidth, unit(rng) * kHeight), 2.5, 2.5);
            break;
        case Season::Spring: {
            for (int t = 0; t < 4; ++t)
                DrawLeafTree(g, kWidth * (0.1 + 0.25 * t + 0.05 * unit(rng)), ground, 200 + 60 * unit(rng),
                             month == 4 ? QColor(245, 190, 210) : QColor(90, 170, 80));
            const QColor flowers[] = {QColor(250, 230, 60), QColor(240, 90, 120), QColor(255, 255, 255), QColor(170, 110, 230)};
            for (int f = 0; f < 220; ++f) {
                g.setBrush(flowers[f % 4]);
                g.drawEllipse(QPointF(unit(rng) * kWidth, kHeight * (0.82 + 0.18 * unit(rng))), 5, 5);
            }
            break;
        }
        case Season::Summer:
            for (int b = 0; b < 3; ++b) {  // sail boats
                const double x = kWidth * (0.2 + 0.3 * b + 0.05 * unit(rng)), y = kHeight * (0.66 + 0.08 * unit(rng));
                g.setBrush(QColor(120, 70, 40));
                g.drawRect(QRectF(x - 30, y, 60, 12));
                QPolygonF sail;
                sail << QPointF(x, y - 70) << QPointF(x, y - 4) << QPointF(x + 40, y - 4);
                g.setBrush(QColor(250, 250, 245));
                g.drawPolygon(sail);
            }
            break;
        case Season::Autumn: {
            const QColor crowns[] = {QColor(220, 110, 30), QColor(200, 60, 40), QColor(230, 170, 40)};
            for (int t = 0; t < 6; ++t)
                DrawLeafTree(g, kWidth * (0.06 + 0.17 * t + 0.04 * unit(rng)), ground + 20 * unit(rng),
                             180 + 80 * unit(rng), crowns[(t + month) % 3]);
            for (int f = 0; f < 90; ++f) {
                g.setBrush(crowns[f % 3]);
                g.drawEllipse(QPointF(unit(rng) * kWidth, unit(rng) * kHeight), 6, 3.5);
            }
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    for (int m = 1; m <= 12; ++m) {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        DrawPicture(image, m);
        const QString path = folder + "/" + kNames[m - 1] + ".jpg";
        if (!image.save(path, "JPG", 85)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
