#pragma once

#include <string>

#include "model/emitters.h"

// Draws the diagram on the 880 x 880 picture and writes it as the window's export does,
// through the export module (which brings Qt). Throws EHandlerError with the window's text
// when the file cannot be written or the module cannot be loaded.
void ExportPicture(TArrayModel& model, long double elevationDegrees, const std::string& fileName);
