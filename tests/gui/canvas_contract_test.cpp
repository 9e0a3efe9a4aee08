#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <functional>
#include <set>

#include "plot/cairocanvas.h"
#include "plot/cairoptr.h"
#include "plot/qt/qtcanvas.h"

// The drawing surface's rules hold alike for the window's painter surface and the pictures'
// cairo surface: the diagram is drawn through either and must come out the same.

namespace {

constexpr TColor kWhite{255, 255, 255};
constexpr TColor kFace{240, 240, 240};
constexpr TColor kRed{255, 0, 0};
constexpr int kSide = 200;  // pixels

using TDrawing = std::function<void(TCanvas&)>;

// A white 200 x 200 picture drawn through a canvas clipped to clip, read back pixel by pixel.
class TPicture {
  public:
    virtual ~TPicture() = default;
    virtual TColor At(int x, int y) const = 0;

    // The smallest rectangle holding every pixel that is not white; Right and Bottom outside.
    TRect Painted() const {
        TRect box{kSide, kSide, 0, 0};
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                if (At(x, y) == kWhite) continue;
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
        }
        return box;
    }
    std::set<int> Colours() const {
        std::set<int> colours;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) colours.insert(Rgb(At(x, y)));
        }
        return colours;
    }
    static int Rgb(TColor c) { return c.R << 16 | c.G << 8 | c.B; }
};

}  // namespace

// Named outside the anonymous namespace, so that the test names read TQtPicture, not a path.
class TQtPicture : public TPicture {
  public:
    TQtPicture(const TDrawing& draw, TRect clip) : Image(kSide, kSide, QImage::Format_RGB32) {
        Image.fill(Qt::white);
        QPainter painter(&Image);
        {
            TQtCanvas canvas(painter, clip);
            draw(canvas);
        }
        painter.end();
    }
    TColor At(int x, int y) const override {
        const QRgb pixel = Image.pixel(x, y);
        return {static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
                static_cast<std::uint8_t>(qBlue(pixel))};
    }

  private:
    QImage Image;
};

class TCairoPicture : public TPicture {
  public:
    TCairoPicture(const TDrawing& draw, TRect clip)
        : Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSide, kSide)) {
        const TCairoContext cr(cairo_create(Surface.get()));
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
        {
            TCairoCanvas canvas(cr.get(), clip, TCairoCanvas::TTarget::Pixels);
            draw(canvas);
        }
        cairo_surface_flush(Surface.get());
    }
    TColor At(int x, int y) const override {
        const unsigned char* p = cairo_image_surface_get_data(Surface.get()) +
                                 y * cairo_image_surface_get_stride(Surface.get()) + x * 4;
        return {p[2], p[1], p[0]};
    }

  private:
    TCairoSurface Surface;
};

namespace {

template <typename TSurfacePicture>
class CanvasContract : public testing::Test {
  protected:
    static TSurfacePicture Draw(const TDrawing& draw, TRect clip = {0, 0, kSide, kSide}) {
        return TSurfacePicture(draw, clip);
    }
};

using TSurfaces = testing::Types<TQtPicture, TCairoPicture>;
TYPED_TEST_SUITE(CanvasContract, TSurfaces);

TYPED_TEST(CanvasContract, FillRectLeavesTheRightColumnAndBottomRowOut) {
    const auto picture = this->Draw([](TCanvas& c) {
        c.SetBrushColor(kFace);
        c.FillRect({10, 20, 30, 50});
        c.FillRect({60, 60, 60, 90});
        c.FillRect({90, 90, 80, 95});
    });
    EXPECT_EQ(picture.Painted(), (TRect{10, 20, 30, 50}));
    EXPECT_EQ(picture.At(29, 49), kFace);
}

TYPED_TEST(CanvasContract, EllipseIsCentredOnItsRectangleWithThePenAboutTheOutline) {
    for (const int width : {1, 3, 5}) {
        for (const int d : {8, 40}) {
            SCOPED_TRACE(testing::Message() << "pen " << width << ", radius " << d);
            const auto picture = this->Draw([&](TCanvas& c) {
                c.SetBrushColor(kFace);
                c.SetPenColor(kRed);
                c.SetPenWidth(width);
                c.Ellipse(100 + d, 100 + d, 100 - d, 100 - d);
            });
            const int reach = d + width / 2;
            EXPECT_EQ(picture.Painted(),
                      (TRect{100 - reach, 100 - reach, 100 + reach + 1, 100 + reach + 1}));
            EXPECT_EQ(picture.At(100 + d, 100), kRed);
            EXPECT_EQ(picture.At(100, 100), kFace);
            EXPECT_EQ(picture.Colours(), (std::set<int>{TPicture::Rgb(kWhite), TPicture::Rgb(kFace),
                                                        TPicture::Rgb(kRed)}));
        }
    }
}

// An odd-width line along a column or a row covers one pixel more right of (below) the path
// than left of (above) it, never the other way.
TYPED_TEST(CanvasContract, WideLinesCoverTheSamePixelsOnEitherSurface) {
    const auto picture = this->Draw([](TCanvas& c) {
        c.SetPenColor(kRed);
        c.SetPenWidth(3);
        c.MoveTo(100, 20);
        c.LineTo(100, 180);
        c.MoveTo(20, 50);
        c.LineTo(80, 50);
    });
    for (const int x : {99, 100, 101}) EXPECT_EQ(picture.At(x, 100), kRed) << x;
    EXPECT_EQ(picture.At(98, 100), kWhite);
    EXPECT_EQ(picture.At(102, 100), kWhite);
    for (const int y : {49, 50, 51}) EXPECT_EQ(picture.At(50, y), kRed) << y;
    EXPECT_EQ(picture.At(50, 48), kWhite);
    EXPECT_EQ(picture.At(50, 52), kWhite);
}

TYPED_TEST(CanvasContract, JoinedLinesRunFromTheCurrentPositionInTheSolidPenColour) {
    const struct {
        int Width;
        std::vector<std::pair<int, int>> Red, White;
    } cases[] = {
        {3, {{70, 45}, {120, 110}, {121, 110}}, {{123, 110}}},
        {5, {{70, 45}, {122, 110}}, {{124, 110}, {120, 153}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "pen " << c.Width);
        const auto picture = this->Draw([&](TCanvas& canvas) {
            canvas.SetPenColor(kRed);
            canvas.SetPenWidth(c.Width);
            canvas.MoveTo(20, 20);
            canvas.LineTo(120, 70);
            canvas.LineTo(120, 150);
        });
        EXPECT_EQ(picture.Colours(), (std::set<int>{TPicture::Rgb(kWhite), TPicture::Rgb(kRed)}));
        for (const auto& [x, y] : c.Red) EXPECT_EQ(picture.At(x, y), kRed) << x << ", " << y;
        for (const auto& [x, y] : c.White) EXPECT_EQ(picture.At(x, y), kWhite) << x << ", " << y;
    }
}

TYPED_TEST(CanvasContract, TextCellIsOpaqueInTheBrushWithGlyphsInTheFontColour) {
    int width = 0;
    int height = 0;
    const auto picture = this->Draw([&](TCanvas& c) {
        c.SetBrushColor(kFace);
        c.SetFontColor(kRed);
        width = c.TextWidth("8");
        height = c.TextHeight("8");
        c.TextOut(50, 60, "8");
    });
    EXPECT_EQ(picture.Painted(), (TRect{50, 60, 50 + width, 60 + height}));
    EXPECT_EQ(picture.Colours(),
              (std::set<int>{TPicture::Rgb(kWhite), TPicture::Rgb(kFace), TPicture::Rgb(kRed)}));
}

TYPED_TEST(CanvasContract, NothingIsDrawnOutsideTheClipRectangle) {
    const TRect clip{50, 50, 150, 150};
    const auto picture = this->Draw(
        [&](TCanvas& c) {
            EXPECT_EQ(c.ClipRect(), clip);
            c.SetBrushColor(kFace);
            c.FillRect({0, 0, 200, 200});
            c.SetPenWidth(5);
            c.MoveTo(0, 100);
            c.LineTo(200, 100);
            c.Ellipse(0, 0, 200, 200);
            c.TextOut(145, 145, "8");
        },
        clip);
    EXPECT_EQ(picture.Painted(), clip);
}

}  // namespace
