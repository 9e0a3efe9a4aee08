#include "python/steps.h"

#include <cmath>

#include "app/bounds.h"
#include "app/feedcase.h"
#include "app/figures.h"
#include "app/frequencysweep.h"
#include "app/inputerror.h"
#include "app/sweepcolumns.h"
#include "app/wireanalysis.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/focus.h"
#include "python/reasons.h"

namespace {

TPatternResult Analysed(const TArrayCase& arrayCase) {
    TAnalysisOutcome outcome = Analyse(arrayCase);
    if (outcome.Fault) throw EUsageError(ModuleReasonText(*outcome.Fault));
    return std::move(*outcome.Result);
}

// The emitter's field a parameter "N:field" names; none for the array's own parameters.
struct TEmitterParameter {
    int Emitter = 0;
    std::string Field;
};
std::optional<TEmitterParameter> EmitterParameter(const std::string& parameter) {
    const auto colon = parameter.find(':');
    if (colon == std::string::npos) return std::nullopt;
    TEmitterParameter p;
    const std::string number = parameter.substr(0, colon);
    if (number.size() != 1 || number[0] < '1' || number[0] > '8') {
        throw EUsageError(TrFormat("%s: the emitter's number is 1 to %s",
                                   {parameter, std::to_string(kEmitterCount)}));
    }
    p.Emitter = number[0] - '0';
    p.Field = parameter.substr(colon + 1);
    if (p.Field != "x" && p.Field != "y" && p.Field != "phase" && p.Field != "amplitude") {
        throw EUsageError(
            TrFormat("%s: an emitter's parameter is x, y, phase or amplitude", {parameter}));
    }
    return p;
}

// The array with the parameter set to value; a frequency is left to the sweep, which scales
// the array designed at the array's own frequency.
TPyArray StepArray(const TPyArray& array, const std::string& parameter, double value) {
    TPyArray step = array;
    if (const auto p = EmitterParameter(parameter)) {
        if (p->Emitter > step.Count) {
            throw EUsageError(
                TrFormat("%s: the array has %s emitters", {parameter, std::to_string(step.Count)}));
        }
        TEmitter& e = step.Array.Emitter(p->Emitter);
        if (p->Field == "x") {
            e.X = Checked("x", value, TQuantity::Position);
        } else if (p->Field == "y") {
            e.Y = Checked("y", value, TQuantity::Position);
        } else if (p->Field == "amplitude") {
            e.Amplitude = Checked("amplitude", value, TQuantity::Amplitude);
        } else if (std::isfinite(value)) {
            e.Phase = static_cast<long double>(value);
        } else {
            throw EUsageError(TrFormat("phase=%s is no finite number of periods",
                                       {FormatGeneral(static_cast<long double>(value))}));
        }
    } else if (parameter == "elevation") {
        step.Elevation = Checked("elevation", value, TQuantity::Elevation);
    } else if (parameter == "height") {
        step.Ground.HeightWavelengths = Checked("height", value, TQuantity::Height);
    } else if (parameter == "focus") {
        FocusBeam(step.Array, static_cast<int>(((std::lround(value) % 360) + 360) % 360));
    } else if (parameter != "frequency") {
        throw EUsageError(
            TrFormat("parameter='%s': elevation, focus, height, frequency or N:x, N:y, N:phase, "
                     "N:amplitude",
                     {parameter}));
    }
    return step;
}

// The case driven by the currents the network delivers at mhz, as the command line's pattern
// and sweep do, the network's losses scaled from the array's frequency; none where the wires
// cannot be solved, which the analysis goes on to say.
std::shared_ptr<const TFeedFigures> FeedNetwork(const TPyArray& array, TArrayCase& c,
                                                long double mhz) {
    if (!HasWireLengths(c.Wires, c.Array)) {
        throw EUsageError(Tr("network= needs wires: give the emitters lengths"));
    }
    const long double designMhz = array.Ground.FrequencyMhz;
    if (!(designMhz > 0)) {
        throw EUsageError(
            Tr("network= needs frequency=, the design frequency in MHz of its parts"));
    }
    if (const auto fault = CheckNetworkPorts(*array.Network, c.Array)) {
        throw EUsageError(TrFormat(
            "network=%s:%s: %s", {array.NetworkFile, std::to_string(fault->Line), fault->Reason}));
    }
    std::optional<TFedCase> fed = FeedThrough(c, *array.Network, static_cast<double>(mhz) * 1e6,
                                              static_cast<double>(designMhz) * 1e6);
    if (!fed) return nullptr;
    c = std::move(fed->Case);
    return fed->Feed;
}

}  // namespace

std::optional<TCaseFault> TPyAnalysis::Begin(TArrayCase arrayCase) {
    auto fault = BeginAnalysis(std::move(arrayCase), Staged);
    for (std::size_t p = 0; p < Ready.size(); ++p) Ready[p] = Staged.Done[p];
    return fault;
}

bool TPyAnalysis::Has(TAnalysisPart part) const {
    return Ready[static_cast<std::size_t>(part)].load(std::memory_order_acquire);
}

void TPyAnalysis::Complete(TAnalysisPart part) {
    const std::lock_guard<std::mutex> lock(Computing);
    CompletePart(Staged, part);
    for (std::size_t p = 0; p < Ready.size(); ++p) {
        if (Staged.Done[p]) Ready[p].store(true, std::memory_order_release);
    }
}

std::shared_ptr<TPyAnalysis> AnalyseArray(const TPyArray& array, std::optional<int> cutBearing,
                                          std::optional<double> gridStep) {
    // Built in place: a result holds every sample, too much to move for nothing.
    auto analysis = std::make_shared<TPyAnalysis>();
    TArrayCase c = CaseOf(array, cutBearing);
    if (array.Network) analysis->Network = FeedNetwork(array, c, array.Ground.FrequencyMhz);
    if (const auto fault = analysis->Begin(std::move(c)))
        throw EUsageError(ModuleReasonText(*fault));
    if (gridStep) {
        // The grid's field is the pattern's, at its take-off angle over ground.
        analysis->Complete(TAnalysisPart::Pattern);
        const TPatternResult& r = analysis->Result();
        analysis->Grid = SampleSphere(r.Session.Model, r.Field, *gridStep);
    }
    return analysis;
}

TSweepTable SweepArray(const TPyArray& array, const std::string& parameter,
                       const std::vector<double>& values) {
    const bool frequency = parameter == "frequency";
    const TArrayCase design = CaseOf(array, std::nullopt);
    const long double designMhz = array.Ground.FrequencyMhz;
    if (frequency && !(designMhz > 0)) {
        throw EUsageError(
            Tr("a frequency sweep needs the array's frequency= in MHz: its distances are "
               "wavelengths there"));
    }
    TSweepTable table;
    table.Columns.push_back("parameter");
    table.Values.emplace_back(values);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (frequency && !(values[i] > 0)) {
            throw EUsageError(TrFormat("frequency %s is not above 0",
                                       {FormatGeneral(static_cast<long double>(values[i]))}));
        }
        const long double mhz = frequency ? static_cast<long double>(values[i]) : designMhz;
        TArrayCase step = frequency ? CaseAtFrequency(design, designMhz, mhz)
                                    : CaseOf(StepArray(array, parameter, values[i]), {});
        std::shared_ptr<const TFeedFigures> feed;
        if (array.Network) feed = FeedNetwork(array, step, mhz);
        TPatternResult result = Analysed(step);
        result.Network = std::move(feed);
        const std::vector<TFigureValue> row = SweepFigures(result);
        if (i == 0) {
            for (const TFigureValue& f : row) {
                table.Columns.emplace_back(f.Key);
                table.Values.emplace_back(values.size(), std::nan(""));
            }
        }
        for (std::size_t c = 0; c < row.size() && c + 1 < table.Columns.size(); ++c)
            table.Values[c + 1][i] = static_cast<double>(row[c].Value);
    }
    return table;
}

TPyDesign DesignArray(const TPyArray& array, TDesignGoal goal, const std::vector<double>& nulls,
                      bool freeAmplitudes, std::optional<int> bearing) {
    if (array.Network) throw EUsageError(Tr("network=: a design takes the wires without it"));
    const TPatternResult start = Analysed(CaseOf(array, bearing));
    TDesignRequest request;
    request.Goal = goal;
    request.FreeAmplitudes = freeAmplitudes;
    for (const double null : nulls) {
        if (!std::isfinite(null)) {
            throw EUsageError(TrFormat("nulls: %s is no bearing",
                                       {FormatGeneral(static_cast<long double>(null))}));
        }
        request.Nulls.push_back(static_cast<long double>(null));
    }
    const std::string name(NameOf<TDesignGoal>(kDesignGoalNames, goal));
    const TDesignTarget target = DesignTargetOf(start, request, bearing);
    const TDesignedExcitation designed = DesignExcitation(start, request, target);
    if (designed.Refusal) {
        throw EUsageError(TrFormat("goal='%s': %s", {name, RefusalText(*designed.Refusal)}));
    }
    TPyDesign out{array, designed.Warning};
    out.Array.Array = designed.Array;
    // Judged as the command line judges the file it writes: at the elevation designed for.
    TPyArray judged = out.Array;
    judged.Elevation = start.Field.ElevationDegrees;
    const TPatternResult result = Analysed(CaseOf(judged, bearing));
    if (const auto no = CheckImprovement(designed, target, result, goal)) {
        throw EUsageError(TrFormat(
            "the design does not improve on the input: %s %s dB with its beam at bearing %s, "
            "against the input's %s dB at bearing %s",
            {name, FigureText(no->AfterDb, 2), std::to_string(no->BeamBearing),
             FigureText(no->BeforeDb, 2), std::to_string(no->AskedBearing)}));
    }
    return out;
}
