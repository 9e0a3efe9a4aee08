#include <gtest/gtest.h>
#include <unistd.h>

#include "plot/cairocanvas.h"
#include "plot/cairoptr.h"
#include "plot/sansfont.h"

namespace {

TEST(CairoCanvasTest, DigitsAreMeasuredInTheElevenPixelLiberationSans) {
    ASSERT_EQ(::access(kSansFontFile, R_OK), 0)
        << kSansFontFile << " is missing: install the package " << kSansFontPackage;
    EXPECT_EQ(cairo_font_face_get_type(SansFontFace()), CAIRO_FONT_TYPE_FT);
    const TCairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 10, 10));
    const TCairoContext cr(cairo_create(surface.get()));
    TCairoCanvas c(cr.get(), {0, 0, 10, 10}, TCairoCanvas::TTarget::Pixels);
    // Liberation Sans at 11 pixels: 10 above the baseline, 2 below, digits 6 wide.
    for (const char* digit : {"1", "4", "8"}) {
        EXPECT_EQ(c.TextWidth(digit), 6) << digit;
        EXPECT_EQ(c.TextHeight(digit), 12) << digit;
    }
    EXPECT_EQ(c.TextWidth("12345678"), 49);
    c.SetFont("MS Sans Serif", 11);
    EXPECT_EQ(c.TextWidth("7"), 6);
}

}  // namespace
