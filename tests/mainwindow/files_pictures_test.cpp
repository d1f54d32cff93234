// Pictures read for labels, read ahead on a worker thread or when asked: a
// read ahead gives what a plain read gives, is taken once, and is never shown
// for a file that changed after it began.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>

#include <filesystem>
#include <string>

#include "mainwindow/pictures.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace {

// A picture of one colour written as a JPEG at `path`, by way of a file
// renamed into place (a reader sees the old file or the new one, whole).
void WritePicture(const std::string& path, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const std::string made = path + ".new.jpg";
    ASSERT_TRUE(image.save(QString::fromStdString(made), "JPG", 95));
    fs::rename(made, path);
}

QColor Middle(const QPixmap& p) { return p.toImage().pixelColor(p.width() / 2, p.height() / 2); }

bool Reddish(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool Bluish(QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; }

struct Pictures : ::testing::Test {
    Pictures() { QPixmapCache::clear(); }
    ~Pictures() override { vm::DropPicturesReadAhead(); }
    std::string dir = vmtest::MakeTempDir("velmora-pictures");
    std::string file = dir + "/Dec.jpg";
};

TEST_F(Pictures, AReadAheadGivesWhatAPlainReadGivesAndIsTakenOnce) {
    WritePicture(file, {1200, 900}, Qt::red);
    const QPixmap plainWhole = vm::WholePicture(file);
    const QPixmap plainLabel = vm::PictureForLabel(file, {393, 200});
    QPixmapCache::clear();
    ASSERT_EQ(plainWhole.size(), QSize(1200, 900).boundedTo(vm::LargestScreenPixels()));
    EXPECT_EQ(plainLabel.size(), QSize(600, 450)) << "half covers the label; a quarter would not";

    vm::ReadWholePictureAhead(file);
    vm::ReadPictureAhead(dir + "/./Dec.jpg", {393, 200});  // the same file, however it is named
    vm::ReadWholePictureAhead(file);                       // asked twice, read once
    EXPECT_EQ(vm::PicturesReadAhead(), 2);
    EXPECT_EQ(vm::PictureForLabel(file, {393, 200}).toImage(), plainLabel.toImage());
    EXPECT_EQ(vm::WholePicture(file).toImage(), plainWhole.toImage());
    EXPECT_EQ(vm::PicturesReadAhead(), 0);
    // A label of another size is not given the read ahead for the first.
    vm::ReadPictureAhead(file, {393, 200}, 2);
    EXPECT_EQ(vm::PictureForLabel(file, {393, 200}).size(), QSize(600, 450));
    EXPECT_EQ(vm::PicturesReadAhead(), 1);
    EXPECT_EQ(vm::PictureForLabel(file, {393, 200}, 2).size(), QSize(1200, 900));
}

TEST_F(Pictures, AFileChangedOrMadeAfterItsReadAheadIsReadAgain) {
    WritePicture(file, {1200, 900}, Qt::red);
    vm::ReadWholePictureAhead(file);
    vm::ReadPictureAhead(file, {393, 200});
    vm::WaitForPicturesReadAhead();
    WritePicture(file, {800, 600}, Qt::blue);
    const QPixmap whole = vm::WholePicture(file);
    EXPECT_EQ(whole.size(), QSize(800, 600).boundedTo(vm::LargestScreenPixels()));
    EXPECT_TRUE(Bluish(Middle(whole)));
    const QPixmap label = vm::PictureForLabel(file, {393, 200});
    EXPECT_EQ(label.size(), QSize(400, 300));
    EXPECT_TRUE(Bluish(Middle(label)));

    const std::string later = dir + "/Jan.jpg";
    vm::ReadWholePictureAhead(later);
    vm::WaitForPicturesReadAhead();
    WritePicture(later, {64, 48}, Qt::red);
    const QPixmap made = vm::WholePicture(later);
    EXPECT_EQ(made.size(), QSize(64, 48));
    EXPECT_TRUE(Reddish(Middle(made)));
    EXPECT_TRUE(vm::WholePicture(dir + "/none.jpg").isNull());
}

// A photo far larger than any screen is decoded at the screen's size, never
// whole: at its full size it would pass the reader's allocation limit.
TEST_F(Pictures, APhotoLargerThanTheScreenIsDecodedAtTheScreensSize) {
    const std::string photo = dir + "/photo.jpg";
    vmtest::WritePhoto(photo, 8000, 6000);
    const QSize screen = vm::LargestScreenPixels();
    ASSERT_LT(qint64(screen.width()) * screen.height(), 8000LL * 6000 / 4);
    EXPECT_TRUE(vm::ShowablePicture(photo));
    EXPECT_EQ(vm::WholePicture(photo).size(), screen.boundedTo({8000, 6000}));
    vm::ReadWholePictureAhead(photo);
    EXPECT_EQ(vm::WholePicture(photo).size(), screen.boundedTo({8000, 6000}));
    EXPECT_EQ(vm::PicturesReadAhead(), 0);

    // A panorama keeps the screen's size in the direction it fits.
    WritePicture(file, {screen.width() * 3, screen.height() / 2}, Qt::red);
    EXPECT_EQ(vm::WholePicture(file).size(), QSize(screen.width(), screen.height() / 2));

    vmtest::WriteAll(dir + "/text.jpg", "no picture at all");
    EXPECT_FALSE(vm::ShowablePicture(dir + "/text.jpg"));
    EXPECT_FALSE(vm::ShowablePicture(dir + "/none.jpg"));
}

// A window grabbed on a screen scaled 1.5 or 2 times has that many more
// pixels than its size: it fills the same part of a page as at scale 1.
TEST_F(Pictures, AGrabbedWindowFillsThePageAtEveryScreenScale) {
    for (const qreal scale : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        QPixmap shot(QSize(400, 300) * scale);
        shot.fill(Qt::red);
        shot.setDevicePixelRatio(scale);
        QImage page(1100, 850, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        vm::DrawFittedPicture(painter, shot);
        painter.end();
        EXPECT_TRUE(Reddish(page.pixelColor(2, 2)));
        EXPECT_TRUE(Reddish(page.pixelColor(1097, 822))) << "the whole width, and the height its shape gives";
        EXPECT_EQ(page.pixelColor(1097, 830), QColor(Qt::white));
    }
}

}  // namespace
