#include "plot/qtexportpicture.h"

#include <QPainter>

#include "config/errors.h"
#include "plot/bmpwriter.h"
#include "plot/qtcanvas.h"

TExportPicture::TExportPicture() : image_(kSize, kSize, QImage::Format_RGB32) {
    image_.fill(Qt::white);
}

TDiagramLabels TExportPicture::Draw(TArrayModel& model, long double elevationDegrees) {
    QPainter painter(&image_);
    TQtCanvas canvas(painter, TRect{0, 0, kSize, kSize});
    canvas.SetBrushColor(TColor{255, 255, 255});
    return DrawDiagram(canvas, dtExportImage, model, elevationDegrees);
}

// Format_RGB32 keeps each pixel as 0xffRRGGBB, in memory blue, green, red, 0xff: the
// file's own order.
std::string TExportPicture::BmpBytes() const {
    return EncodeBmp32(image_.constBits(), image_.width(), image_.height(),
                       static_cast<std::size_t>(image_.bytesPerLine()));
}

void TExportPicture::Save(const std::string& fileName, const TWriteFn& write) const {
    const TFileWriteResult result = ReplaceFileContents(fileName, BmpBytes(), write);
    switch (result.Stage) {
        case TFileWriteResult::TStage::Ok:
            return;
        case TFileWriteResult::TStage::Create:
            throw EHandlerError("Cannot create file \"" + FullPath(fileName) + "\". " +
                                SystemErrorText(result.Errno));
        case TFileWriteResult::TStage::Write:
            throw EHandlerError(kStreamWriteErrorText);
    }
}
