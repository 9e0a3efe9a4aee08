#include "plot/sansfont.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

const cairo_user_data_key_t kFaceKey{};

void ReleaseFace(void* face) {
    FT_Done_Face(static_cast<FT_Face>(face));
}

cairo_font_face_t* OpenSansFontFace() {
    // cairo keeps faces in its caches until the process ends, so the library is never closed.
    static FT_Library library = nullptr;
    FT_Face face = nullptr;
    if ((library != nullptr || FT_Init_FreeType(&library) == 0) &&
        FT_New_Face(library, kSansFontFile, 0, &face) == 0) {
        cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
        if (cairo_font_face_set_user_data(cairoFace, &kFaceKey, face, ReleaseFace) ==
            CAIRO_STATUS_SUCCESS) {
            return cairoFace;
        }
        cairo_font_face_destroy(cairoFace);
        FT_Done_Face(face);
    }
    return cairo_toy_font_face_create("Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                                      CAIRO_FONT_WEIGHT_NORMAL);
}

}  // namespace

cairo_font_face_t* SansFontFace() {
    static cairo_font_face_t* const kFace = OpenSansFontFace();
    return kFace;
}
