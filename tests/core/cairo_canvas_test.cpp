#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "plot/cairocanvas.h"
#include "plot/cairoptr.h"
#include "plot/sansfont.h"

namespace {

constexpr TColor kWhite{255, 255, 255};
constexpr TColor kFace{240, 240, 240};
constexpr TColor kRed{255, 0, 0};

int Rgb(TColor c) {
    return c.R << 16 | c.G << 8 | c.B;
}

// A white 200 x 200 picture of pixels drawn through a canvas clipped to clip.
class TPicture {
  public:
    TPicture(const std::function<void(TCairoCanvas&)>& draw, TRect clip = {0, 0, 200, 200})
        : Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 200, 200)) {
        const TCairoContext cr(cairo_create(Surface.get()));
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
        {
            TCairoCanvas canvas(cr.get(), clip, TCairoCanvas::TTarget::Pixels);
            draw(canvas);
        }
        cairo_surface_flush(Surface.get());
    }

    TColor At(int x, int y) const {
        const unsigned char* p = cairo_image_surface_get_data(Surface.get()) +
                                 y * cairo_image_surface_get_stride(Surface.get()) + x * 4;
        return {p[2], p[1], p[0]};
    }
    // The smallest rectangle holding every pixel that is not white; Right and Bottom outside.
    TRect Painted() const {
        TRect box{200, 200, 0, 0};
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                if (At(x, y) == kWhite) continue;
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
        }
        return box;
    }
    std::set<int> Colours() const {
        std::set<int> colours;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) colours.insert(Rgb(At(x, y)));
        }
        return colours;
    }

  private:
    TCairoSurface Surface;
};

TEST(CairoCanvasTest, FillRectLeavesTheRightColumnAndBottomRowOut) {
    const TPicture picture([](TCairoCanvas& c) {
        c.SetBrushColor(kFace);
        c.FillRect({10, 20, 30, 50});
        c.FillRect({60, 60, 60, 90});
        c.FillRect({90, 90, 80, 95});
    });
    EXPECT_EQ(picture.Painted(), (TRect{10, 20, 30, 50}));
    EXPECT_EQ(picture.At(29, 49), kFace);
}

TEST(CairoCanvasTest, EllipseIsCentredOnItsRectangleWithThePenAboutTheOutline) {
    for (const int width : {1, 3, 5}) {
        for (const int d : {8, 40}) {
            const TPicture picture([&](TCairoCanvas& c) {
                c.SetBrushColor(kFace);
                c.SetPenColor(kRed);
                c.SetPenWidth(width);
                c.Ellipse(100 + d, 100 + d, 100 - d, 100 - d);
            });
            const int reach = d + width / 2;
            EXPECT_EQ(picture.Painted(),
                      (TRect{100 - reach, 100 - reach, 100 + reach + 1, 100 + reach + 1}))
                << "pen " << width << ", radius " << d;
            EXPECT_EQ(picture.At(100 + d, 100), kRed);
            EXPECT_EQ(picture.At(100, 100), kFace);
            EXPECT_EQ(picture.Colours(), (std::set<int>{Rgb(kWhite), Rgb(kFace), Rgb(kRed)}));
        }
    }
}

// An odd-width line along a column or a row covers the pixels the window's painter covers:
// one more right of (below) the path than left of (above) it, never the other way.
TEST(CairoCanvasTest, WideLinesCoverThePixelsOfTheWindowsPainter) {
    const TPicture picture([](TCairoCanvas& c) {
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

TEST(CairoCanvasTest, JoinedLinesRunFromTheCurrentPositionInTheSolidPenColour) {
    const TPicture picture([](TCairoCanvas& c) {
        c.SetPenColor(kRed);
        c.SetPenWidth(5);
        c.MoveTo(20, 20);
        c.LineTo(120, 70);
        c.LineTo(120, 150);
    });
    EXPECT_EQ(picture.Colours(), (std::set<int>{Rgb(kWhite), Rgb(kRed)}));
    EXPECT_EQ(picture.At(70, 45), kRed);
    EXPECT_EQ(picture.At(122, 110), kRed);
    EXPECT_EQ(picture.At(124, 110), kWhite);
    EXPECT_EQ(picture.At(120, 153), kWhite);
}

TEST(CairoCanvasTest, DigitsAreMeasuredInTheElevenPixelLiberationSans) {
    ASSERT_EQ(::access(kSansFontFile, R_OK), 0)
        << kSansFontFile << " is missing: install the package " << kSansFontPackage;
    EXPECT_EQ(cairo_font_face_get_type(SansFontFace()), CAIRO_FONT_TYPE_FT);
    const TPicture picture([](TCairoCanvas& c) {
        // Liberation Sans at 11 pixels: 10 above the baseline, 2 below, digits 6 wide.
        for (const char* digit : {"1", "4", "8"}) {
            EXPECT_EQ(c.TextWidth(digit), 6) << digit;
            EXPECT_EQ(c.TextHeight(digit), 12) << digit;
        }
        EXPECT_EQ(c.TextWidth("12345678"), 49);
        c.SetFont("MS Sans Serif", 11);
        EXPECT_EQ(c.TextWidth("7"), 6);
    });
}

TEST(CairoCanvasTest, TextCellIsOpaqueInTheBrushWithGlyphsInTheFontColour) {
    int width = 0;
    int height = 0;
    const TPicture picture([&](TCairoCanvas& c) {
        c.SetBrushColor(kFace);
        c.SetFontColor(kRed);
        width = c.TextWidth("8");
        height = c.TextHeight("8");
        c.TextOut(50, 60, "8");
    });
    EXPECT_EQ(picture.Painted(), (TRect{50, 60, 50 + width, 60 + height}));
    EXPECT_EQ(picture.Colours(), (std::set<int>{Rgb(kWhite), Rgb(kFace), Rgb(kRed)}));
}

TEST(CairoCanvasTest, NothingIsDrawnOutsideTheClipRectangle) {
    const TRect clip{50, 50, 150, 150};
    const TPicture picture(
        [&](TCairoCanvas& c) {
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
