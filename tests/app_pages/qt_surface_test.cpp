// The QPainter surface on Qt's offscreen platform: the compiled-in resources,
// where texts and lines land in pixels, and a whole page rendered to PNG.
#include "platform/qt/qt_surface.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <functional>

#include "app/paint.h"
#include "app/render_recorder.h"
#include "astro/constants.h"
#include "tests/support/temp_folder.h"

namespace orvano {
namespace {

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A white w x h image after `draw` painted on it through the surface.
QImage Drawn(int w, int h, const std::function<void(QtSurface&)>& draw) {
    QImage image = White(w, h);
    QPainter painter(&image);
    QtSurface surface(painter, 96, Rect{0, 0, w, h});
    draw(surface);
    return image;
}

// The columns and rows holding any pixel that is not white.
QRect Inked(const QImage& image) {
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// On a scaled desktop each image is one drawn for that ratio (or a larger one
// scaled down), never a 1x image scaled up; it still covers its layout size.
TEST(QtSurface, EveryImageIsMadeForTheDevicePixelRatio) {
    QtImageCache cache;
    for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
        const double made = ratio <= 1.0 ? 1.0 : ratio <= 1.5 ? 1.5 : 2.0;
        for (const bool icon : {false, true}) {
            for (const ResourceImage& e : icon ? ProgramIcons() : ProgramBitmaps()) {
                const QImage& image = icon ? cache.Icon(e.id, ratio) : cache.Bitmap(e.id, ratio);
                SCOPED_TRACE(std::to_string(e.id) + " at " + std::to_string(ratio));
                EXPECT_EQ(image.devicePixelRatio(), made);
                EXPECT_EQ(image.size(), QSize(static_cast<int>(e.width * made + 0.5),
                                              static_cast<int>(e.height * made + 0.5)));
                EXPECT_EQ(image.deviceIndependentSize(), QSizeF(e.width, e.height));
            }
        }
    }
}

TEST(QtSurface, EveryResourceLoadsAtItsSize) {
    QImage image = White(200, 200);
    QPainter painter(&image);
    QtImageCache cache;
    QtSurface surface(painter, 96, Rect{0, 0, 200, 200}, &cache);
    for (const ResourceImage& expected : ProgramBitmaps()) {
        const BitmapId bitmap = surface.LoadBitmap(expected.id);
        ASSERT_TRUE(bitmap) << expected.id;
        surface.ReleaseBitmap(bitmap);
        EXPECT_EQ(cache.Bitmap(expected.id, 1.0).size(), QSize(expected.width, expected.height))
            << expected.id;
    }
    for (const ResourceImage& expected : ProgramIcons()) {
        const IconId icon = surface.LoadIcon(expected.id);
        ASSERT_TRUE(icon) << expected.id;
        surface.ReleaseIcon(icon);
        EXPECT_EQ(cache.Icon(expected.id, 1.0).size(), QSize(expected.width, expected.height));
    }
    EXPECT_FALSE(surface.LoadBitmap(133));
    EXPECT_FALSE(surface.LoadIcon(999));
    EXPECT_EQ(LoadResourceString(1), "orvano");
    EXPECT_EQ(LoadResourceString(2), "ORVANO");
    EXPECT_EQ(LoadResourceString(3), "");
}

TEST(QtSurface, BitmapIsCopiedAtItsOwnSizeAtThePoint) {
    const QRect inked = Inked(Drawn(100, 60, [](QtSurface& surface) {
        const BitmapId bitmap = surface.LoadBitmap(134);  // Fajr's name in (0, 153, 255)
        surface.DrawBitmap(bitmap, 30, 20);
        surface.ReleaseBitmap(bitmap);
    }));
    ASSERT_FALSE(inked.isNull());
    EXPECT_TRUE(QRect(30, 20, 42, 20).contains(inked)) << inked.x() << "," << inked.y();
}

TEST(QtSurface, CentredTextStraddlesItsPointAndStartsAtItsTop) {
    const QImage image = Drawn(240, 60, [](QtSurface& surface) {
        surface.SetTransparentBackground();
        const FontId font = surface.CreateFont(FontSpec{"ARIAL", -19, 700});
        const FontId previous = surface.SelectFont(font);
        surface.SetTextColour(Colour{255, 0, 0});
        surface.DrawText(120, 10, "05:33", TextAlign::Centre);
        surface.SelectFont(previous);
        surface.ReleaseFont(font);
    });
    const QRect inked = Inked(image);
    ASSERT_FALSE(inked.isNull());
    const int middle = (inked.left() + inked.right()) / 2;
    EXPECT_NEAR(middle, 120, 2);
    EXPECT_GE(inked.top(), 10);
    EXPECT_LE(inked.top(), 16);
    EXPECT_LE(inked.bottom(), 10 + 19 + 2);
    // Red ink: the text colour, not the pen's.
    const QColor sample = image.pixelColor(middle, (inked.top() + inked.bottom()) / 2);
    EXPECT_GE(sample.red(), sample.blue());
}

TEST(QtSurface, LeftTextStartsAtItsPoint) {
    const QRect inked = Inked(Drawn(
        240, 40, [](QtSurface& surface) { surface.DrawText(24, 5, "Fajr", TextAlign::Left); }));
    ASSERT_FALSE(inked.isNull());
    EXPECT_GE(inked.left(), 24);
    EXPECT_LE(inked.left(), 27);
}

TEST(QtSurface, LinesUseTheSelectedPen) {
    const QImage image = Drawn(100, 100, [](QtSurface& surface) {
        const PenId pen = surface.CreateSolidPen(2, Colour{0, 0, 255});
        const PenId previous = surface.SelectPen(pen);
        surface.MoveTo(10, 50);
        surface.LineTo(90, 50);
        surface.SelectPen(previous);
        surface.ReleasePen(pen);
    });
    EXPECT_EQ(image.pixel(50, 50), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(50, 45), qRgb(255, 255, 255));
    const QRect inked = Inked(image);
    EXPECT_LE(inked.height(), 3);
    EXPECT_GE(inked.left(), 8);
    EXPECT_LE(inked.right(), 92);
}

TEST(PaintToPng, HomePageOnAWhiteImage) {
    const testing::TempFolder folder;
    const std::string file = folder / "home.png";
    EngineState engine;
    engine.place.Name = "Algiers";
    engine.place.Country = "Algeria";
    engine.schedule.adjusted = {5.5, 6.25, 13.0, 16.0, 18.9, 20.27};
    engine.schedule.shown = engine.schedule.adjusted;
    PaintInput input;
    input.client = Rect{0, 0, 240, 268};
    input.requestedPage = 0;
    ASSERT_TRUE(PaintToPng(file, 240, 268, 96,
                           [&](Surface& surface) { PaintMainWindow(surface, input, engine); }));
    const QImage image(QString::fromStdString(file));
    ASSERT_EQ(image.size(), QSize(240, 268));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    // The Isha name image sits at (180, 190): blue ink on white.
    bool blue = false;
    for (int y = 190; y < 210; ++y) {
        for (int x = 180; x < 222; ++x) {
            const QColor c = image.pixelColor(x, y);
            blue = blue || (c.blue() > 200 && c.red() < 100 && c.green() < 100);
        }
    }
    EXPECT_TRUE(blue);
    // Nothing is drawn left of the names or right of the name images.
    for (int y = 60; y < 210; ++y) {
        EXPECT_EQ(image.pixel(5, y), qRgb(255, 255, 255)) << y;
        EXPECT_EQ(image.pixel(236, y), qRgb(255, 255, 255)) << y;
    }
}

}  // namespace
}  // namespace orvano

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
