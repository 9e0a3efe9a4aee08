#include <pybind11/complex.h>
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "app/arraywarnings.h"
#include "app/figures.h"
#include "app/inputerror.h"
#include "app/sweepcolumns.h"
#include "config/messages.h"
#include "model/angles.h"
#include "python/bindings.h"
#include "python/language.h"
#include "python/steps.h"

namespace py = pybind11;

namespace {

using TAnalysisPtr = std::shared_ptr<TPyAnalysis>;

constexpr const char* kAnalysisDoc = R"(What analyse() found of one array.

Every figure of the catalogue is an attribute of the same name as the JSON output's key
(directivity_dbi, front_to_back_db, takeoff_elevation_deg, ...), a float, or None where the
array has none; `figures` holds them all by key. The pattern is a numpy array of 361 samples,
one a degree of the window's sweep (sample_bearings gives each one's compass bearing); the
elevation cut has 91, from the horizon to the zenith. Solved wires add the port impedance
matrix, the feeds' currents and voltages as complex numpy arrays, and each feed's figures by
the sweep's column names (swr_1, drive_r_ohm_2, ...).

Of ideal emitters each part is computed when first read, then kept: the pattern (samples,
the read-outs, the ground's figures), the metrics (beamwidths, front-to-back, lobes, nulls),
the directivity, the elevation cut. The numbers are those of a full analysis.)";

template <typename T, std::size_t N>
py::array_t<double> Doubles(const std::array<T, N>& values) {
    py::array_t<double> out(static_cast<py::ssize_t>(N));
    auto view = out.mutable_unchecked<1>();
    for (std::size_t i = 0; i < N; ++i)
        view(static_cast<py::ssize_t>(i)) = static_cast<double>(values[i]);
    return out;
}

py::array_t<double> Doubles(const std::vector<long double>& values) {
    py::array_t<double> out(static_cast<py::ssize_t>(values.size()));
    auto view = out.mutable_unchecked<1>();
    for (std::size_t i = 0; i < values.size(); ++i)
        view(static_cast<py::ssize_t>(i)) = static_cast<double>(values[i]);
    return out;
}

// The part the figures of a group are taken from.
TAnalysisPart PartOf(TFigureGroup group) {
    switch (group) {
        case TFigureGroup::Metrics:
            return TAnalysisPart::Metrics;
        case TFigureGroup::Directivity:
            return TAnalysisPart::Directivity;
        default:
            return TAnalysisPart::Pattern;
    }
}

// The result with the part computed: the engine's work runs without the interpreter's lock.
const TPatternResult& Read(TPyAnalysis& a, TAnalysisPart part) {
    if (!a.Has(part)) {
        py::gil_scoped_release release;
        a.Complete(part);
    }
    return a.Result();
}

const TPatternResult& ReadAll(TPyAnalysis& a) {
    const auto missing = [&a] {
        for (int p = 0; p < kAnalysisPartCount; ++p)
            if (!a.Has(static_cast<TAnalysisPart>(p))) return true;
        return false;
    };
    if (missing()) {
        py::gil_scoped_release release;
        for (int p = 0; p < kAnalysisPartCount; ++p) a.Complete(static_cast<TAnalysisPart>(p));
    }
    return a.Result();
}

std::optional<double> FigureValue(const TFigure& f, const TPatternResult& r) {
    const auto value = f.Value(r);
    if (!value) return std::nullopt;
    return static_cast<double>(*value);
}

// Solved wires are solved when the analysis begins.
const TCoupling* CouplingOf(const TPyAnalysis& a) {
    const auto& solved = a.Result().Wires.Solved;
    return solved ? &solved->Coupling : nullptr;
}

// One complex vector of the feeds: their currents or voltages.
py::object FeedVector(const TPyAnalysis& a, std::complex<double> TEmitterFeed::*field) {
    const TCoupling* c = CouplingOf(a);
    if (c == nullptr) return py::none();
    py::array_t<std::complex<double>> out(static_cast<py::ssize_t>(c->Emitters.size()));
    auto view = out.mutable_unchecked<1>();
    for (std::size_t i = 0; i < c->Emitters.size(); ++i)
        view(static_cast<py::ssize_t>(i)) = c->Emitters[i].*field;
    return out;
}

py::object Complex(const std::optional<std::complex<double>>& z) {
    return z ? py::object(py::cast(*z)) : py::none();
}

py::object Real(const std::optional<double>& v) {
    return v ? py::object(py::float_(*v)) : py::none();
}

// What the feed network delivers, by the JSON's keys; impedances as complex ohms.
py::object NetworkDict(const TPyAnalysis& a) {
    if (!a.Network) return py::none();
    const TFeedFigures& f = *a.Network;
    py::dict transmitter;
    transmitter["impedance_ohm"] = Complex(f.TransmitterImpedance);
    transmitter["swr"] = Real(f.TransmitterSwr);
    transmitter["power_w"] = f.TransmitterPower;
    py::list emitters;
    for (const TFeedEmitter& e : f.Emitters) {
        const auto [amplitude, phase] = AmplitudeAndPhase(e.Current);
        py::dict current;
        current["amplitude"] = amplitude;
        current["phase"] = phase;
        py::dict emitter;
        emitter["number"] = e.Number;
        emitter["current"] = current;
        emitter["current_error_db"] = Real(e.ErrorDb);
        emitter["current_error_deg"] = Real(e.ErrorDeg);
        emitter["drive_impedance_ohm"] = Complex(e.Drive.Impedance);
        emitter["power_w"] = e.Drive.Power;
        emitters.append(emitter);
    }
    py::dict out;
    out["transmitter"] = transmitter;
    out["emitters"] = emitters;
    out["loss_w"] = f.LossPower;
    return out;
}

py::dict FiguresDict(TPyAnalysis& a) {
    const TPatternResult& r = ReadAll(a);
    py::dict out;
    for (const TFigure& f : Figures()) out[py::str(std::string(f.Key))] = FigureValue(f, r);
    for (const TFigure& f : FiguresOf(TFigureGroup::Wires))
        out[py::str(std::string(f.Key))] = FigureValue(f, r);
    return out;
}

void BindFigure(py::class_<TPyAnalysis, TAnalysisPtr>& cls, const TFigure& f) {
    const std::string key(f.Key);
    cls.def_property_readonly(
        key.c_str(), [&f](TPyAnalysis& a) { return FigureValue(f, Read(a, PartOf(f.Group))); },
        (ColumnCaption(key) + "; None where the array has none.").c_str());
}

}  // namespace

void BindAnalysis(py::module_& m) {
    py::class_<TPyAnalysis, TAnalysisPtr> cls(m, "Analysis", kAnalysisDoc);
    for (const TFigure& f : Figures()) BindFigure(cls, f);
    for (const TFigure& f : FiguresOf(TFigureGroup::Wires)) BindFigure(cls, f);
    cls.def_property_readonly("figures", &FiguresDict,
                              "Every figure of the catalogue by its key, None where there is none.")
        .def_property_readonly(
            "model", [](const TPyAnalysis& a) { return FieldModelName(a.Result().Field.Model); },
            "The formula the pattern was taken in: 'window', 'free-space' or 'over-ground'.")
        .def_property_readonly(
            "samples",
            [](TPyAnalysis& a) {
                return Doubles(Read(a, TAnalysisPart::Pattern).Session.Pattern.Samples);
            },
            "The azimuth pattern: 361 samples, one a degree.")
        .def_property_readonly(
            "sample_bearings",
            [](const TPyAnalysis&) {
                py::array_t<int> out(kSampleCount);
                auto view = out.mutable_unchecked<1>();
                for (int i = 0; i < kSampleCount; ++i) view(i) = SampleBearing(i);
                return out;
            },
            "The compass bearing of each sample, degrees.")
        .def_property_readonly(
            "elevation_cut",
            [](TPyAnalysis& a) { return Doubles(Read(a, TAnalysisPart::Cut).Cut); },
            "The elevation cut at cut_bearing: 91 samples, 0 to 90 degrees.")
        .def_property_readonly(
            "cut_bearing", [](TPyAnalysis& a) { return Read(a, TAnalysisPart::Cut).CutBearing; },
            "The compass bearing of the elevation cut, degrees.")
        .def_property_readonly(
            "cut_model",
            [](TPyAnalysis& a) {
                return FieldModelName(Read(a, TAnalysisPart::Cut).CutField.Model);
            },
            "The formula the elevation cut was taken in.")
        .def_property_readonly(
            "main_lobes",
            [](TPyAnalysis& a) -> py::object {
                const auto& metrics = Read(a, TAnalysisPart::Metrics).Metrics;
                if (!metrics) return py::none();
                return Doubles(metrics->MainLobeBearings);
            },
            "The main lobes' bearings, degrees; None where the pattern is zero.")
        .def_property_readonly(
            "nulls",
            [](TPyAnalysis& a) -> py::object {
                const auto& metrics = Read(a, TAnalysisPart::Metrics).Metrics;
                if (!metrics) return py::none();
                const TPatternMetrics& m = *metrics;
                py::list out;
                for (std::size_t n = 0; n < m.NullBearings.size(); ++n) {
                    const long double depth = m.NullDepthsDb[n];
                    out.append(py::make_tuple(
                        static_cast<double>(m.NullBearings[n]),
                        std::isfinite(depth) ? py::object(py::float_(static_cast<double>(depth)))
                                             : py::object(py::none())));
                }
                return out;
            },
            "The nulls as (bearing, depth in dB, None where the field vanishes).")
        .def_property_readonly(
            "grid",
            [](const TPyAnalysis& a) -> py::object {
                if (!a.Grid) return py::none();
                const TSphereGrid& g = *a.Grid;
                py::array_t<double> out({g.Elevations, g.Bearings});
                std::copy(g.Values.begin(), g.Values.end(), out.mutable_data());
                return out;
            },
            "The field over the sphere (over ground the upper half-space), one row an elevation "
            "and one column a bearing; None unless analyse() was given grid_step.")
        .def_property_readonly(
            "grid_elevations",
            [](const TPyAnalysis& a) -> py::object {
                if (!a.Grid) return py::none();
                py::array_t<double> out(a.Grid->Elevations);
                for (int j = 0; j < a.Grid->Elevations; ++j)
                    out.mutable_at(j) = a.Grid->LowestElevation + j * a.Grid->StepDegrees;
                return out;
            },
            "The grid's rows, degrees of elevation.")
        .def_property_readonly(
            "grid_bearings",
            [](const TPyAnalysis& a) -> py::object {
                if (!a.Grid) return py::none();
                py::array_t<double> out(a.Grid->Bearings);
                for (int i = 0; i < a.Grid->Bearings; ++i)
                    out.mutable_at(i) = i * a.Grid->StepDegrees;
                return out;
            },
            "The grid's columns, compass degrees.")
        .def_property_readonly(
            "impedance_matrix",
            [](const TPyAnalysis& a) -> py::object {
                const TCoupling* c = CouplingOf(a);
                if (c == nullptr) return py::none();
                const auto n = c->ImpedanceMatrix.rows();
                py::array_t<std::complex<double>> out({n, n});
                auto view = out.mutable_unchecked<2>();
                for (Eigen::Index i = 0; i < n; ++i) {
                    for (Eigen::Index j = 0; j < n; ++j) view(i, j) = c->ImpedanceMatrix(i, j);
                }
                return out;
            },
            "The ports' impedance matrix in ohms, complex N x N over the emitters switched on; "
            "None for ideal emitters.")
        .def_property_readonly(
            "wire_emitters",
            [](const TPyAnalysis& a) -> py::object {
                const TCoupling* c = CouplingOf(a);
                if (c == nullptr) return py::none();
                std::vector<int> numbers;
                for (const TEmitterFeed& e : c->Emitters) numbers.push_back(e.Number);
                return py::cast(numbers);
            },
            "The numbers of the emitters the matrix's rows and the feeds' vectors stand for.")
        .def_property_readonly(
            "currents", [](const TPyAnalysis& a) { return FeedVector(a, &TEmitterFeed::Current); },
            "The feeds' currents, complex peak phasors; None for ideal emitters.")
        .def_property_readonly(
            "voltages", [](const TPyAnalysis& a) { return FeedVector(a, &TEmitterFeed::Voltage); },
            "The feeds' voltages, complex peak phasors; None for ideal emitters.")
        .def_property_readonly(
            "feed_figures",
            [](const TPyAnalysis& a) {
                py::dict out;
                const TCoupling* c = CouplingOf(a);
                if (c == nullptr) return out;
                for (const TEmitterFeed& e : c->Emitters) {
                    for (const TEmitterFigure& f : EmitterFigures()) {
                        const auto v = f.Value(e);
                        out[py::str(std::string(f.Stem) + std::to_string(e.Number))] =
                            v ? py::object(py::float_(static_cast<double>(*v))) : py::none();
                    }
                }
                return out;
            },
            "Each feed's figures by the sweep's column names (swr_1, power_w_2, ...); empty for "
            "ideal emitters.")
        .def_property_readonly(
            "network", &NetworkDict,
            "What the feed network delivers, by the JSON output's keys: 'transmitter' "
            "(impedance_ohm, swr, power_w), 'emitters' (number, current's amplitude and phase, "
            "current_error_db, current_error_deg, drive_impedance_ohm, power_w) and 'loss_w'; "
            "impedances complex ohms. None unless the array has a network.");

    m.def(
        "analyse",
        [](const TPyArray& array, std::optional<int> cutBearing, std::optional<double> gridStep,
           const std::string& lang) {
            UseLanguage(lang);
            if (cutBearing && (*cutBearing < 0 || *cutBearing >= kCircleDegrees)) {
                throw EUsageError(TrFormat("cut_bearing=%s: whole degrees 0 to 359",
                                           {std::to_string(*cutBearing)}));
            }
            if (gridStep && !(*gridStep >= 0.25 && *gridStep <= 90)) {
                throw EUsageError(TrFormat("grid_step=%s: degrees from 0.25 to 90",
                                           {py::repr(py::float_(*gridStep)).cast<std::string>()}));
            }
            // A copy: another thread may change the array while the engine reads it.
            const TPyArray held = array;
            std::shared_ptr<TPyAnalysis> analysis;
            {
                py::gil_scoped_release release;
                analysis = AnalyseArray(held, cutBearing, gridStep);
            }
            const TPatternResult& r = analysis->Result();
            if (r.Wires.Solved) {
                if (const auto low = GroundModelWarning(r.Session.Model, r.Wires.Settings, r.Field))
                    Warn({*low});
            }
            return analysis;
        },
        py::arg("array"), py::kw_only(), py::arg("cut_bearing") = py::none(),
        py::arg("grid_step") = py::none(), py::arg("lang") = "en",
        "Analyses the array as the command line's pattern does and returns an Analysis. "
        "cut_bearing: the elevation cut's compass bearing (default the maximum's); grid_step: "
        "degrees of a grid over the sphere, returned as Analysis.grid.");
}
