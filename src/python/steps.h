#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "app/designpolicy.h"
#include "app/feedanalysis.h"
#include "model/spheregrid.h"
#include "python/pyarray.h"

// One analysis as the module hands it to Python, with the sphere's grid where it was asked for.
// Of ideal emitters a part is computed when a script first reads it: a loop that wants the
// directivity alone does not pay for the metrics' searches. Threads may read one at once.
class TPyAnalysis {
  public:
    // The case checked, and what is computed at once; the fault where it cannot be analysed.
    std::optional<TCaseFault> Begin(TArrayCase arrayCase);
    bool Has(TAnalysisPart part) const;
    // The part computed, with the interpreter's lock already released by the caller.
    void Complete(TAnalysisPart part);
    // What is computed so far: read only the parts Has() or Complete() vouched for.
    const TPatternResult& Result() const { return Staged.Result; }

    std::optional<TSphereGrid> Grid;
    // Fed through a network: what it delivers, the currents the analysis took.
    std::shared_ptr<const TFeedFigures> Network;

  private:
    TStagedAnalysis Staged;
    std::array<std::atomic<bool>, kAnalysisPartCount> Ready{};
    std::mutex Computing;
};

// The array analysed as `pattern` analyses it, checked at once and computed part by part as
// read; the grid every gridStep degrees where given. Throws EUsageError with the module's
// reason.
std::shared_ptr<TPyAnalysis> AnalyseArray(const TPyArray& array, std::optional<int> cutBearing,
                                          std::optional<double> gridStep);

// A sweep's table: the parameter's values, then a column a figure, NaN where a step has none.
struct TSweepTable {
    std::vector<std::string> Columns;
    std::vector<std::vector<double>> Values;  // [column][step]
};

// Each value of the parameter, named as the command line's sweep names it ("elevation",
// "focus", "height", "frequency", "N:x", "N:y", "N:phase", "N:amplitude"), set on a copy of
// the array and analysed. Throws EUsageError for a parameter or value that cannot be.
TSweepTable SweepArray(const TPyArray& array, const std::string& parameter,
                       const std::vector<double>& values);

// The array with the designed excitation, and the warning a super-directive design carries.
struct TPyDesign {
    TPyArray Array;
    std::optional<std::string> Warning;
};

// Designs the excitation for the goal as the command line's design does, towards the bearing
// (the maximum's when none). Throws EUsageError where the array cannot meet the goal or the
// design does not improve on it.
TPyDesign DesignArray(const TPyArray& array, TDesignGoal goal, const std::vector<double>& nulls,
                      bool freeAmplitudes, std::optional<int> bearing);
