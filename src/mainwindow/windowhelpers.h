// Helpers every window shares: keeping a window above the others, the one
// file dialog of the program, bringing the main window back onto a screen,
// and (re-exported) the desktop's opener.
#pragma once
#include <QPixmap>
#include <QSize>
#include <QMargins>
#include <QRect>

#include <cstdint>
#include <optional>
#include <string>

#include "mainwindow/pictures.h"  // PictureForLabel, WholePicture
#include "platform/messages.h"
#include "platform/shell.h"    // ShellOpenFile, OpenWebPage

class QShortcut;
class QWidget;

class QLabel;

namespace vm {

// Puts the window into, or takes it out of, the layer above all other
// windows, without moving or sizing it; a shown window stays shown.
void SetFormOnTop(QWidget* window);
void SetFormNotOnTop(QWidget* window);

// The file dialog of a ShowFileDialog mode: 1 opens an existing file, 6
// saves with a default suffix from the filter's first pattern. nullopt for
// any other mode.
std::optional<FileDialogRequest> FileDialogRequestFor(int16_t mode, const std::string& startFolder,
                                                      const std::string& filter, const std::string& fileName,
                                                      const std::string& title);

// Shows the dialog of `mode` and returns the full path chosen, or "" when the
// user cancels, the dialog fails or the mode is unknown. The filter is
// "Desc|pattern|..."; the save dialog adds the filter's suffix to a name
// typed without one.
std::string ShowFileDialog(const std::string& startFolder, int16_t mode, const std::string& filter,
                           const std::string& fileName, const std::string& title);

// Moves a window that lies off every screen back onto the first one, shows
// it normal, raises and activates it.
void BringOntoScreen(QWidget& window);

// The window's inner rectangle cut back and moved so that the whole window,
// `frame` (its title bar and borders) included, lies on `screen`.
QRect FitWithinScreen(const QRect& inner, const QMargins& frame, const QRect& screen);
// The window's inner rectangle brought back when its title bar lies on no
// screen (BringBackRect), then whole on the screen its middle is on, else the
// primary one (FitWithinScreen).
QRect OnAScreen(const QRect& inner, const QMargins& frame);
// Ctrl+Alt+L, anywhere in the program, brings `window` back onto the screen
// (the splash window's hint names it). Made once per window.
QShortcut* InstallBringBackShortcut(QWidget& window);

// A label's text colour, through its palette (no style sheet to build).
void SetTextColor(QLabel* label, const QColor& color);

}  // namespace vm
