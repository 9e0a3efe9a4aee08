#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/emitters.h"
#include "model/spheregrid.h"
#include "plot/cairoptr.h"
#include "plot/picturefile.h"

// What the picture states of the pattern besides its samples, prepared with the pattern.
struct TSurfaceSubject {
    double BeamBearing = 0;  // compass degrees of the main beam
    // What the surface was computed under, for its foot; empty: the chart's caption.
    std::string Conditions;
};

// A direction shown on the surface: the bearing and elevation of the cuts drawn beside it.
struct TSurfaceMarker {
    double BearingDegrees = 0;
    double ElevationDegrees = 0;
};

// How the pattern's surface is shown: from where, and on which radial scale.
struct TSurfaceView {
    TSurfaceView() = default;
    TSurfaceView(std::optional<double> viewBearing, double viewElevation, double floorDb,
                 bool linear)
        : ViewBearing(viewBearing),
          ViewElevation(viewElevation),
          FloorDb(floorDb),
          Linear(linear) {}

    std::optional<double> ViewBearing;  // compass degrees of the viewer; none: beside the beam
    double ViewElevation = 30;          // degrees above the horizon
    double FloorDb = -30;               // the centre of the dB scale
    bool Linear = false;                // radius proportional to the field instead
    TSurfaceSubject Subject;
    std::optional<TSurfaceMarker> Marker;
};

// The viewer's choices (--view, --floor, --scale) over a view prepared with the pattern.
TSurfaceView ChosenView(const TSurfaceView& prepared, TSurfaceView chosen);

// The bearing the surface is seen from: the viewer's, else 60 degrees clockwise of the main
// beam, where the beam shows in profile beside its back and side lobes.
double ViewerBearing(const TSurfaceView& view);

// The radius (0..1) a level takes: dB above the floor, or the field itself.
double SurfaceRadius(double value, double maximum, const TSurfaceView& view);

// The colour scale's ticks from its top down: round dB from 0 to the floor, at most six, or
// quarters of the maximum on the linear scale.
std::vector<double> ScaleTicks(const TSurfaceView& view);

// A text the picture places, and the box cairo's extents give its ink (pixels).
struct TSurfaceText {
    std::string Text;
    double Size = 0;      // font pixels
    double X = 0, Y = 0;  // the start of its baseline
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Every text of the picture of the size where it draws it: the title, the compass letters, the
// scale's labels and the lines of the conditions at its foot.
std::vector<TSurfaceText> SurfaceTexts(const TSurfaceView& view, const std::string& title,
                                       const std::string& caption, double size = 880);

// The picture below drawn on cr in size x size pixels, 880 for the file's (with the view's
// marker, if any); its texts keep their pixel sizes at any size.
void DrawSurface(cairo_t* cr, const TSphereGrid& grid, const TArray& array,
                 const TSurfaceView& view, const std::string& title, const std::string& caption,
                 double size = 880);

// The pattern's surface over the grid seen from the view, its facets in painter's order and
// shaded by level, with a colour scale, the compass axes and the emitter layout on the ground
// plane, the title at its head and the conditions (the view's, else the caption) at its foot,
// as a picture file of the format (880 x 880 pixels).
std::string SurfacePictureBytes(const TSphereGrid& grid, const TArray& array,
                                const TSurfaceView& view, const std::string& title,
                                const std::string& caption, TPictureFormat format);
