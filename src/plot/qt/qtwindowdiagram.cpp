#include "plot/qt/qtwindowdiagram.h"

#include <QPainter>

#include "plot/qt/qtcanvas.h"

TDiagramLabels DrawWindowDiagram(QPainter& painter, QSize client, QColor buttonFace,
                                 const TArray& array, const TPattern& pattern,
                                 long double elevationDegrees) {
    TQtCanvas canvas(painter, TRect{0, 0, client.width(), client.height()});
    canvas.SetBrushColor(TColor{static_cast<std::uint8_t>(buttonFace.red()),
                                static_cast<std::uint8_t>(buttonFace.green()),
                                static_cast<std::uint8_t>(buttonFace.blue())});
    return DrawDiagram(canvas, dtWindow, array, pattern, elevationDegrees);
}
