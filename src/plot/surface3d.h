#pragma once

#include <string>

#include "model/emitters.h"
#include "model/spheregrid.h"
#include "plot/picturefile.h"

// How the pattern's surface is shown: from where, and on which radial scale.
struct TSurfaceView {
    double ViewBearing = 225;   // compass degrees of the viewer: the south-west
    double ViewElevation = 30;  // degrees above the horizon
    double FloorDb = -30;       // the centre of the dB scale
    bool Linear = false;        // radius proportional to the field instead
};

// The radius (0..1) a level takes: dB above the floor, or the field itself.
double SurfaceRadius(double value, double maximum, const TSurfaceView& view);

// The pattern's surface over the grid seen from the view, its facets in painter's order and
// shaded by level, with a colour scale, the compass axes and the emitter layout on the ground
// plane, the title at its head and the caption at its foot, as a picture file of the format
// (880 x 880 pixels).
std::string SurfacePictureBytes(const TSphereGrid& grid, const TArray& array,
                                const TSurfaceView& view, const std::string& title,
                                const std::string& caption, TPictureFormat format);
