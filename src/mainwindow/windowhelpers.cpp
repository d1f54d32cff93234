#include "mainwindow/windowhelpers.h"

#include <QLabel>

#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QWidget>

#include <vector>

#include "core/calendarfiles.h"
#include "core/splashlogic.h"

namespace vm {
namespace {

void SetOnTop(QWidget* w, bool on) {
    if (!w || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    const bool shown = w->isVisible();
    const QRect geometry = w->geometry();
    w->setWindowFlag(Qt::WindowStaysOnTopHint, on);  // this hides a shown window
    if (!shown) return;
    w->setGeometry(geometry);
    w->show();
}

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

}  // namespace

void SetFormOnTop(QWidget* window) { SetOnTop(window, true); }
void SetFormNotOnTop(QWidget* window) { SetOnTop(window, false); }

std::optional<FileDialogRequest> FileDialogRequestFor(int16_t mode, const std::string& startFolder,
                                                      const std::string& filter, const std::string& fileName,
                                                      const std::string& title) {
    if (mode != 1 && mode != 6) return std::nullopt;
    FileDialogRequest r;
    r.save = (mode == 6);
    r.title = title;
    r.filter = DesktopDialogFilter(filter);
    r.initialDir = startFolder;
    // A pattern such as "*.mdb" is what the filter already shows; the
    // desktop's dialog would take it for a name.
    r.fileName = HasWildcard(fileName) ? std::string() : fileName;
    if (r.save) r.defaultSuffix = DefaultSuffixOfFilter(filter);
    return r;
}

std::string ShowFileDialog(const std::string& startFolder, int16_t mode, const std::string& filter,
                           const std::string& fileName, const std::string& title) {
    try {
        const auto request = FileDialogRequestFor(mode, startFolder, filter, fileName, title);
        if (!request) return {};
        std::string chosen = Messages().fileDialog(*request);
        if (!chosen.empty() && request->save) chosen = WithDefaultSuffix(chosen, request->defaultSuffix);
        return chosen;
    } catch (...) {
        return {};
    }
}

void BringOntoScreen(QWidget& window) {
    std::vector<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen()) screens.push_back(primary->availableGeometry());
    for (QScreen* s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen()) screens.push_back(s->availableGeometry());
    if (window.isMinimized() || window.isMaximized()) window.showNormal();
    const QRect frame = window.frameGeometry();
    const QRect target = BringBackRect(frame, screens);
    if (target != frame) {
        const QSize border = frame.size() - window.size();
        window.resize(target.size() - border);
        window.move(target.topLeft());
    }
    window.show();
    window.raise();
    window.activateWindow();
}

QRect FitWithinScreen(const QRect& inner, const QMargins& frame, const QRect& screen) {
    const QRect room = screen.marginsRemoved(frame);
    QRect r = inner;
    r.setWidth(std::min(r.width(), room.width()));
    r.setHeight(std::min(r.height(), room.height()));
    r.moveLeft(std::max(room.left(), std::min(r.left(), room.right() + 1 - r.width())));
    r.moveTop(std::max(room.top(), std::min(r.top(), room.bottom() + 1 - r.height())));
    return r;
}

QRect OnAScreen(const QRect& inner, const QMargins& frame) {
    std::vector<QRect> screens;
    for (QScreen* s : QGuiApplication::screens()) screens.push_back(s->availableGeometry());
    QRect r = screens.empty() ? inner : BringBackRect(inner, screens);  // never lost off every screen
    QScreen* on = QGuiApplication::screenAt(r.center());
    if (!on) on = QGuiApplication::primaryScreen();
    return on ? FitWithinScreen(r, frame, on->availableGeometry()) : r;
}

QShortcut* InstallBringBackShortcut(QWidget& window) {
    if (auto* existing = window.findChild<QShortcut*>("shortcutBringBack", Qt::FindDirectChildrenOnly)) return existing;
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L), &window);
    shortcut->setObjectName("shortcutBringBack");
    shortcut->setContext(Qt::ApplicationShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window, [&window] { BringOntoScreen(window); });
    return shortcut;
}

void SetTextColor(QLabel* label, const QColor& color) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
}

}  // namespace vm
