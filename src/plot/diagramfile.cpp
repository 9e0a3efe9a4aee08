#include "plot/diagramfile.h"

#include "plot/cairocanvas.h"
#include "plot/picturerender.h"
#include "plot/pngwriter.h"

std::string DiagramFileBytes(const TArray& array, const TPattern& pattern,
                             long double elevationDegrees, TPictureFormat format,
                             std::optional<long double> fullScale) {
    if (format == TPictureFormat::Svg || format == TPictureFormat::Pdf) {
        constexpr int kSize = TExportPicture::kSize;
        return RenderPicture(format, TPicturePage{kSize, kSize}, [&](cairo_t* cr) {
            TCairoCanvas canvas(cr, TRect{0, 0, kSize, kSize}, TCairoCanvas::TTarget::Vectors);
            canvas.SetBrushColor(TColor{255, 255, 255});
            DrawDiagram(canvas, dtExportImage, array, pattern, elevationDegrees, fullScale);
        });
    }
    TExportPicture picture;
    picture.Draw(array, pattern, elevationDegrees, fullScale);
    if (format == TPictureFormat::Bmp) return picture.BmpBytes();
    return EncodePng24(picture.Pixels(), TExportPicture::kSize, TExportPicture::kSize,
                       picture.Stride(), kDiagramPngLevel);
}

void SaveDiagramFile(const TArray& array, const TPattern& pattern, long double elevationDegrees,
                     const std::string& fileName, TPictureFormat format, const TWriteFn& write) {
    WritePictureFile(fileName, DiagramFileBytes(array, pattern, elevationDegrees, format), write);
}
