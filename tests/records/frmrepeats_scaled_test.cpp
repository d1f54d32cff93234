// On a screen scaled twice: the repeat-pattern reference window's picture,
// and a month's photo, have a pixel for every pixel the screen shows.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>

#include "mainwindow/pictures.h"
#include "records/frmrepeats.h"
#include "testsupport.h"

namespace {

TEST(RepeatsScaled, ThePictureHasAPixelForEveryScreenPixel) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
    vm::frmRepeats window;
    window.show();
    const QPixmap picture = window.Image1->pixmap();
    EXPECT_EQ(picture.devicePixelRatio(), 2.0);
    EXPECT_EQ(picture.size(), QSize(1662, 936));
    EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(831, 468));
    EXPECT_EQ(window.Image1->size(), QSize(831, 468)) << "the label shows it at its own size";

    // The same drawing as at a ratio of 1, only finer: every line is there.
    const QImage fine = vm::RepeatPatternPicture(2);
    const QImage plain = vm::RepeatPatternPicture(1);
    EXPECT_EQ(fine.pixelColor(2 * 4, 2 * 200), plain.pixelColor(4, 200)) << "the left edge";
    EXPECT_EQ(fine.pixelColor(2 * 300, 2 * 4), plain.pixelColor(300, 4)) << "the group's top line";
}

TEST(RepeatsScaled, APhotoIsDecodedToTheScreensOwnPixels) {
    EXPECT_EQ(vm::LargestScreenPixels(), QSize(5120, 3200));
    const std::string photo = vmtest::MakeTempDir("velmora-scaled") + "/Mar.jpg";
    vmtest::WritePhoto(photo, 8000, 6000);
    EXPECT_EQ(vm::WholePicture(photo).size(), QSize(5120, 3200));

    // Decoded in eighths, that size goes through 6000 x 4500 (103 MB): under
    // a lower limit the picture comes at half the size rather than not at all.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(100);
    EXPECT_EQ(vm::WholePicture(photo).size(), QSize(2560, 1600));
    QImageReader::setAllocationLimit(limit);
}

}  // namespace
