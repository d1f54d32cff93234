// Draws the splash window's pictures, one per month (Jan.jpg .. Dec.jpg) and
// Install.jpg for a month without one, and writes SplashTextColor.txt, whose
// first line holds each month's text colour digit (1 black .. 8 white).
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kWidth = 800, kHeight = 370;

struct Month {
    const char* file;
    const char* name;
    QColor top, bottom;  // sky
    QColor ground;
    char digit;          // text colour over this picture
    enum Motif { Snow, Hearts, Wind, Rain, Flowers, Sun, Waves, Leaves, Pumpkins, Stars } motif;
};

const Month kMonths[] = {
    {"Jan.jpg", "January", QColor(18, 32, 74), QColor(90, 120, 180), QColor(235, 240, 250), '8', Month::Snow},
    {"Feb.jpg", "February", QColor(70, 20, 50), QColor(170, 70, 110), QColor(230, 200, 215), '8', Month::Hearts},
    {"Mar.jpg", "March", QColor(120, 170, 210), QColor(210, 230, 240), QColor(110, 150, 80), '1', Month::Wind},
    {"Apr.jpg", "April", QColor(90, 110, 140), QColor(170, 190, 210), QColor(90, 150, 90), '1', Month::Rain},
    {"May.jpg", "May", QColor(130, 190, 240), QColor(220, 240, 250), QColor(80, 160, 70), '1', Month::Flowers},
    {"Jun.jpg", "June", QColor(40, 120, 220), QColor(160, 210, 250), QColor(200, 180, 110), '1', Month::Sun},
    {"Jul.jpg", "July", QColor(10, 60, 130), QColor(60, 150, 210), QColor(20, 90, 150), '8', Month::Waves},
    {"Aug.jpg", "August", QColor(240, 150, 60), QColor(250, 220, 140), QColor(180, 140, 60), '1', Month::Sun},
    {"Sep.jpg", "September", QColor(150, 120, 80), QColor(230, 200, 140), QColor(150, 90, 40), '1', Month::Leaves},
    {"Oct.jpg", "October", QColor(40, 20, 40), QColor(150, 70, 30), QColor(60, 40, 20), '4', Month::Pumpkins},
    {"Nov.jpg", "November", QColor(60, 60, 70), QColor(140, 130, 120), QColor(90, 70, 50), '8', Month::Leaves},
    {"Dec.jpg", "December", QColor(5, 15, 45), QColor(30, 60, 110), QColor(240, 245, 255), '7', Month::Stars},
};

void Heart(QPainter& p, QPointF c, double s) {
    QPainterPath h;
    h.moveTo(c.x(), c.y() + s * 0.35);
    h.cubicTo(c.x() - s, c.y() - s * 0.3, c.x() - s * 0.4, c.y() - s, c.x(), c.y() - s * 0.4);
    h.cubicTo(c.x() + s * 0.4, c.y() - s, c.x() + s, c.y() - s * 0.3, c.x(), c.y() + s * 0.35);
    p.drawPath(h);
}

void DrawMotif(QPainter& p, const Month& m, QRandomGenerator& rnd) {
    const int horizon = kHeight * 3 / 4;
    auto rx = [&] { return rnd.bounded(kWidth); };
    auto ry = [&](int hi) { return rnd.bounded(hi); };
    p.setPen(Qt::NoPen);
    switch (m.motif) {
        case Month::Snow:
            p.setBrush(QColor(255, 255, 255, 220));
            for (int i = 0; i < 140; ++i) p.drawEllipse(QPointF(rx(), ry(kHeight)), 2 + ry(3), 2 + ry(3));
            break;
        case Month::Hearts:
            for (int i = 0; i < 18; ++i) {
                p.setBrush(QColor(230, 60 + ry(80), 110, 200));
                Heart(p, QPointF(rx(), 30 + ry(horizon - 30)), 14 + ry(18));
            }
            break;
        case Month::Wind:
            p.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 9; ++i) {
                QPainterPath w;
                const double y = 30 + ry(horizon - 60), x = rx() - 100;
                w.moveTo(x, y);
                w.cubicTo(x + 60, y - 25, x + 120, y + 25, x + 200, y);
                p.drawPath(w);
            }
            break;
        case Month::Rain:
            p.setPen(QPen(QColor(220, 230, 255, 200), 2));
            for (int i = 0; i < 160; ++i) {
                const int x = rx(), y = ry(horizon);
                p.drawLine(x, y, x - 4, y + 14);
            }
            break;
        case Month::Flowers:
            for (int i = 0; i < 40; ++i) {
                const QPointF c(rx(), horizon + 8 + ry(kHeight - horizon - 12));
                p.setBrush(QColor::fromHsv(ry(360), 160, 250));
                for (int k = 0; k < 5; ++k) {
                    const double a = k * 2 * M_PI / 5;
                    p.drawEllipse(c + QPointF(7 * std::cos(a), 7 * std::sin(a)), 5, 5);
                }
                p.setBrush(QColor(250, 220, 60));
                p.drawEllipse(c, 4, 4);
            }
            break;
        case Month::Sun:
            p.setBrush(QColor(255, 230, 90));
            // Low in the right corner, clear of the splash text.
            p.drawEllipse(QPointF(kWidth * 0.9, kHeight * 0.6), 40, 40);
            p.setPen(QPen(QColor(255, 230, 90), 4, Qt::SolidLine, Qt::RoundCap));
            for (int k = 0; k < 12; ++k) {
                const double a = k * M_PI / 6;
                const QPointF c(kWidth * 0.9, kHeight * 0.6);
                p.drawLine(c + QPointF(52 * std::cos(a), 52 * std::sin(a)), c + QPointF(68 * std::cos(a), 68 * std::sin(a)));
            }
            break;
        case Month::Waves:
            p.setPen(QPen(QColor(255, 255, 255, 170), 3));
            for (int row = 0; row < 6; ++row) {
                QPainterPath w;
                const double y = horizon + 10 + row * 14;
                w.moveTo(0, y);
                for (int x = 0; x <= kWidth; x += 40) w.quadTo(x + 20, y - 8, x + 40, y);
                p.drawPath(w);
            }
            break;
        case Month::Leaves:
            for (int i = 0; i < 60; ++i) {
                p.setBrush(QColor::fromHsv(10 + ry(40), 200, 160 + ry(90)));
                p.save();
                p.translate(rx(), ry(kHeight));
                p.rotate(ry(360));
                p.drawEllipse(QPointF(0, 0), 12, 6);
                p.restore();
            }
            break;
        case Month::Pumpkins:
            for (int i = 0; i < 5; ++i) {
                const QPointF c(80 + i * 160, horizon + 20);
                p.setBrush(QColor(240, 120, 20));
                p.drawEllipse(c, 34, 26);
                p.setBrush(QColor(60, 110, 30));
                p.drawRect(QRectF(c.x() - 3, c.y() - 36, 6, 12));
            }
            break;
        case Month::Stars:
            p.setBrush(QColor(255, 255, 230));
            for (int i = 0; i < 90; ++i) p.drawEllipse(QPointF(rx(), ry(horizon)), 1.5, 1.5);
            p.setBrush(QColor(30, 110, 50));
            for (int i = 0; i < 4; ++i) {
                const double x = 120 + i * 190;
                QPolygonF tree({QPointF(x, horizon - 90), QPointF(x - 40, horizon + 10), QPointF(x + 40, horizon + 10)});
                p.drawPolygon(tree);
            }
            break;
    }
}

QImage Picture(const Month& m, int seed) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, m.top);
    sky.setColorAt(1, m.bottom);
    p.fillRect(img.rect(), sky);
    QPainterPath ground;
    ground.moveTo(0, kHeight * 0.78);
    ground.cubicTo(kWidth * 0.3, kHeight * 0.70, kWidth * 0.6, kHeight * 0.86, kWidth, kHeight * 0.76);
    ground.lineTo(kWidth, kHeight);
    ground.lineTo(0, kHeight);
    ground.closeSubpath();
    p.fillPath(ground, m.ground);
    QRandomGenerator rnd(static_cast<quint32>(seed));
    DrawMotif(p, m, rnd);
    return img;
}

QImage InstallPicture() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, kWidth, kHeight);
    g.setColorAt(0, QColor(30, 50, 90));
    g.setColorAt(1, QColor(70, 110, 160));
    p.fillRect(img.rect(), g);
    // A calendar page.
    const QRectF page(kWidth / 2.0 - 90, 60, 180, 200);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(page, 12, 12);
    p.setBrush(QColor(200, 40, 40));
    p.drawRoundedRect(QRectF(page.left(), page.top(), page.width(), 50), 12, 12);
    p.setBrush(QColor(180, 180, 190));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) p.drawRect(QRectF(page.left() + 18 + c * 30, page.top() + 70 + r * 30, 20, 18));
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string digits;
    int seed = 1;
    for (const Month& m : kMonths) {
        digits += m.digit;
        const QString out = QString::fromStdString((dir / m.file).string());
        if (!Picture(m, seed++).save(out, "JPG", 88)) {
            std::fprintf(stderr, "velmora_mksplash: cannot write %s\n", out.toLocal8Bit().constData());
            return 1;
        }
    }
    const QString install = QString::fromStdString((dir / "Install.jpg").string());
    if (!InstallPicture().save(install, "JPG", 88)) {
        std::fprintf(stderr, "velmora_mksplash: cannot write %s\n", install.toLocal8Bit().constData());
        return 1;
    }
    std::ofstream colors(dir / "SplashTextColor.txt", std::ios::binary | std::ios::trunc);
    colors << digits << "\r\n";
    return colors ? 0 : 1;
}
