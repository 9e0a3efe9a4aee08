#pragma once

#include <QFont>

// The window's font, in place of an 8-point "MS Sans Serif" at 96 pixels per inch: a
// sans-serif 11 pixels high, named explicitly so its metrics are the same on every machine.
QFont SansSerif11();
