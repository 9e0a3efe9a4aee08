#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "plot/chartfile.h"
#include "plot/picturefile.h"

// The facets of the 3-D picture, degrees: 2 as the command line draws its pictures, 6 while
// the view turns under the mouse (a ninth of the facets).
inline constexpr double kSurfaceStepDegrees = 2;
inline constexpr double kDragSurfaceStepDegrees = 6;

// The pattern over the sphere (the upper half-space over ground) as `plot --kind 3d` samples it.
std::shared_ptr<const TSphereGrid> SampleSurface(const TPatternResult& result, double stepDegrees);

// The analysed document as `arraypattern-cli plot --config FILE` builds it for its pictures,
// named after the file (empty: a document never saved), with the surface when given.
TChartArray ExportChartArray(const TPatternResult& result, const std::string& fileName,
                             std::shared_ptr<const TSphereGrid> surface = nullptr);

// The picture file of the kind the command line writes for these arrays, byte for byte: the
// current design first, then the reference when one is held.
std::string ChartExportBytes(TPlotKind kind, std::vector<TChartArray> arrays,
                             TPictureFormat format);

// The HTML report page of the arrays, each with its 3-D pane.
std::string ReportExportBytes(std::vector<TChartArray> arrays);
