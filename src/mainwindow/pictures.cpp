#include "mainwindow/pictures.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>
#include <QScreen>

#include <future>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace vm {
namespace {

// What a file was when its read began: a later change shows as a new stamp.
struct FileStamp {
    qint64 modified = -1, size = -1;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists()) return {};
    return {info.lastModified().toMSecsSinceEpoch(), info.size()};
}

struct PictureRead {
    QImage image;
    int fraction = 1;
    FileStamp stamp;
};

// The smallest whole fraction (1/2, 1/4, 1/8) of a picture of size `whole`
// that still covers `wanted`; one such read serves every label it covers.
int FractionFor(QSize whole, QSize wanted) {
    int fraction = 1;
    while (whole.isValid() && fraction < 8 && whole.width() / (fraction * 2) >= wanted.width() &&
           whole.height() / (fraction * 2) >= wanted.height())
        fraction *= 2;
    return fraction;
}

// Sets the reader to decode at the fraction.
void ReadAtFraction(QImageReader& reader, QSize whole, int fraction) {
    if (fraction > 1)
        reader.setScaledSize(
            QSize((whole.width() + fraction - 1) / fraction, (whole.height() + fraction - 1) / fraction));
}

// Both reads touch no widget and no pixmap, so either runs on any thread.
PictureRead ReadForLabel(const QString& file, QSize wanted) {
    PictureRead read;
    read.stamp = StampOf(file);
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QSize whole = reader.size();
    read.fraction = FractionFor(whole, wanted);
    ReadAtFraction(reader, whole, read.fraction);
    read.image = reader.read();
    return read;
}

// The whole picture, decoded no larger than `bound` on either side: a photo
// of many megapixels is decoded straight at the smaller size (a JPEG by its
// own scaled decode) and so never needs the memory of its full size.
// A decoder may go through a size between the whole and the one asked for
// (a JPEG's in eighths), which can still pass the reader's allocation limit:
// a smaller size is then asked for, twice at most.
PictureRead ReadWhole(const QString& file, QSize bound) {
    PictureRead read;
    read.stamp = StampOf(file);
    const QSize whole = QImageReader(file).size();
    QSize wanted = whole.isValid() && bound.isValid() ? whole.boundedTo(bound) : whole;
    for (int tries = 0; tries < 3; ++tries, wanted /= 2) {
        QImageReader reader(file);  // as QPixmap::load reads a file
        if (wanted != whole) reader.setScaledSize(wanted);
        read.image = reader.read();
        if (!read.image.isNull() || wanted == whole || wanted.width() < 64 || wanted.height() < 64) break;
    }
    return read;
}

// The reads ahead, asked for and taken on the user-interface thread only,
// found by the file's clean absolute name and the size asked for.
struct Ahead {
    QString name;
    QString file;
    QSize wanted;
    bool whole = false;  // the whole picture within `wanted`
    std::future<PictureRead> read;
};
std::vector<Ahead>& Aheads() {
    static std::vector<Ahead> aheads;
    return aheads;
}

QString NameOf(const QString& file) { return QDir::cleanPath(QFileInfo(file).absoluteFilePath()); }

void StartAhead(const QString& file, QSize wanted, bool whole) {
    const QString name = NameOf(file);
    for (const Ahead& a : Aheads())
        if (a.name == name && a.wanted == wanted && a.whole == whole) return;
    try {
        auto read = std::async(std::launch::async, [file, wanted, whole] {
            return whole ? ReadWhole(file, wanted) : ReadForLabel(file, wanted);
        });
        Aheads().push_back(Ahead{name, file, wanted, whole, std::move(read)});
    } catch (const std::system_error&) {  // no thread to be had: read when asked
    }
}

// The read ahead of the file at that size, when there is one and the file is
// still as it was when the read began.
std::optional<PictureRead> TakeAhead(const QString& file, QSize wanted, bool whole) {
    auto& aheads = Aheads();
    if (aheads.empty()) return std::nullopt;
    const QString name = NameOf(file);
    for (auto it = aheads.begin(); it != aheads.end(); ++it) {
        if (it->name != name || it->wanted != wanted || it->whole != whole) continue;
        std::future<PictureRead> future = std::move(it->read);
        aheads.erase(it);
        try {
            PictureRead read = future.get();
            if (read.image.isNull() || read.stamp == FileStamp{} || read.stamp != StampOf(file)) return std::nullopt;
            return read;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QString CacheKey(const QString& file, int fraction, qint64 modified) {
    return QString("picture %1 %2 %3").arg(file).arg(fraction).arg(modified);
}

}  // namespace

QPixmap PictureForLabel(const std::string& path, QSize size, qreal pixelRatio) {
    const QString file = QString::fromStdString(path);
    const QSize wanted = size * pixelRatio;
    QPixmap picture;
    if (std::optional<PictureRead> ahead = TakeAhead(file, wanted, false)) {
        picture = QPixmap::fromImage(std::move(ahead->image));
        QPixmapCache::insert(CacheKey(file, ahead->fraction, ahead->stamp.modified), picture);
        return picture;
    }
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QSize whole = reader.size();
    const int fraction = FractionFor(whole, wanted);
    const QString key = CacheKey(file, fraction, QFileInfo(file).lastModified().toMSecsSinceEpoch());
    if (QPixmapCache::find(key, &picture)) return picture;
    ReadAtFraction(reader, whole, fraction);
    picture = QPixmap::fromImage(reader.read());
    if (!picture.isNull()) QPixmapCache::insert(key, picture);
    return picture;
}

QSize LargestScreenPixels() {
    QSize largest;
    for (const QScreen* screen : QGuiApplication::screens())
        largest = largest.expandedTo(screen->size() * screen->devicePixelRatio());
    return largest.isValid() && !largest.isEmpty() ? largest : kNoScreenPictureBound;
}

QPixmap WholePicture(const std::string& path) {
    const QString file = QString::fromStdString(path);
    const QSize bound = LargestScreenPixels();
    std::optional<PictureRead> read = TakeAhead(file, bound, true);
    if (!read) read = ReadWhole(file, bound);
    return QPixmap::fromImage(std::move(read->image));
}

bool ShowablePicture(const std::string& path) {
    const QString file = QString::fromStdString(path);
    // The answer for the file as it is now, kept: a box's Enter and its
    // change, or the same name typed again, ask once.
    struct Answer {
        QString name;
        FileStamp stamp;
        bool showable = false;
    };
    static Answer last;
    const QString name = NameOf(file);
    const FileStamp stamp = StampOf(file);
    if (stamp != FileStamp{} && last.name == name && last.stamp == stamp) return last.showable;
    bool showable = false;
    QImageReader header(file);
    if (header.canRead()) {
        const QSize size = header.size();
        showable = !(size.isValid() && size.isEmpty()) && !ReadWhole(file, LargestScreenPixels()).image.isNull();
    }
    last = {name, stamp, showable};
    return showable;
}

void DrawFittedPicture(QPainter& painter, const QPixmap& picture) {
    QPixmap pixels = picture;
    pixels.setDevicePixelRatio(1);
    const QRect page = painter.viewport();
    QSize size = pixels.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(pixels.rect());
    painter.drawPixmap(0, 0, pixels);
}

void ReadPictureAhead(const std::string& path, QSize size, qreal pixelRatio) {
    const QSize wanted = size * pixelRatio;
    if (!path.empty() && wanted.isValid()) StartAhead(QString::fromStdString(path), wanted, false);
}

void ReadWholePictureAhead(const std::string& path) {
    if (!path.empty()) StartAhead(QString::fromStdString(path), LargestScreenPixels(), true);
}

void WaitForPicturesReadAhead() {
    for (const Ahead& a : Aheads()) a.read.wait();
}

void DropPicturesReadAhead() { Aheads().clear(); }

int PicturesReadAhead() { return static_cast<int>(Aheads().size()); }

}  // namespace vm
