#pragma once

#include <QColor>
#include <QSize>

#include "model/emitters.h"
#include "model/pattern.h"
#include "plot/diagram.h"

class QPainter;

// Draws the whole diagram on the window's client area, on the window's colour, in the
// window's font; the window's paint handler is this one call.
TDiagramLabels DrawWindowDiagram(QPainter& painter, QSize client, QColor buttonFace,
                                 const TArray& array, const TPattern& pattern,
                                 long double elevationDegrees);
