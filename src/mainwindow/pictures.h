// Pictures shown by labels that stretch them. A picture wanted soon may be
// read ahead on a worker thread while the window goes on with other work; the
// first read of the same file at the same size then takes that result, when
// the file has not changed since, instead of reading the file again.
#pragma once
#include <QPixmap>
#include <QSize>

class QPainter;

#include <string>

namespace vm {

// A picture read for a label of a fixed size that stretches its picture:
// read at the smallest whole fraction of its size that covers the label (a
// JPEG is then decoded at that fraction, far quicker than whole), and kept
// for the next label that asks. Null when the file cannot be read.
QPixmap PictureForLabel(const std::string& path, QSize size, qreal pixelRatio = 1);
// The whole picture, read as QPixmap::load reads it but never larger than
// the largest screen: a larger one is decoded straight at that size on each
// side (labels stretch it anyway), so a photo of many megapixels takes the
// memory of a screenful. Null when the file cannot be read.
QPixmap WholePicture(const std::string& path);
// The most device pixels any screen shows across and down; without a screen,
// kNoScreenPictureBound.
QSize LargestScreenPixels();
inline constexpr QSize kNoScreenPictureBound{3840, 2160};
// True when the file is a picture WholePicture can give: a format Qt reads,
// decodable at that size (the decode is tried).
bool ShowablePicture(const std::string& path);

// Draws the picture as large as the painter's viewport holds it, keeping its
// shape, from the viewport's top left corner. It is counted in its own
// pixels whatever its device pixel ratio: a window grabbed on a scaled screen
// fills the same part of the page at every scale, with all its pixels.
void DrawFittedPicture(QPainter& painter, const QPixmap& picture);

// Starts reading on a worker thread what PictureForLabel(path, size,
// pixelRatio), or WholePicture(path), will ask for. Nothing is shown or kept
// until one of them asks; a file that is missing or changes meanwhile is
// simply read again then.
void ReadPictureAhead(const std::string& path, QSize size, qreal pixelRatio = 1);
void ReadWholePictureAhead(const std::string& path);
// Waits until every read ahead has ended; they stay to be taken.
void WaitForPicturesReadAhead();
// Lets go of the reads ahead that nothing took (waiting for any still running).
void DropPicturesReadAhead();
// How many reads ahead are waiting to be taken.
int PicturesReadAhead();

}  // namespace vm
