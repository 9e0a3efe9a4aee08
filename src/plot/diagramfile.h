#pragma once

#include <string>

#include "config/safefile.h"
#include "model/emitters.h"
#include "plot/exportpicture.h"
#include "plot/picturefile.h"

// zlib level of the PNG diagram: level 3 packs the mostly white picture to about 54 KB as
// fast as level 1 packs it to 70 KB; level 6 takes twice as long for 37 KB.
inline constexpr int kDiagramPngLevel = 3;

// The diagram as a file of the format. BMP and PNG carry the pixels of an export picture
// drawn afresh, the BMP exactly what an export writes; SVG and PDF come from the same drawing steps
// on a vector page of 880 x 880 pixels (points in PDF).
std::string DiagramFileBytes(const TArray& array, const TPattern& pattern,
                             long double elevationDegrees, TPictureFormat format,
                             std::optional<long double> fullScale = std::nullopt);

// Draws the diagram and writes it as WritePictureFile does, with its error texts.
void SaveDiagramFile(const TArray& array, const TPattern& pattern, long double elevationDegrees,
                     const std::string& fileName, TPictureFormat format,
                     const TWriteFn& write = {});
