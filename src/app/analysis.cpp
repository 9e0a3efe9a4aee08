#include "app/analysis.h"

#include <cmath>
#include <filesystem>
#include <optional>

#include "app/feedreport.h"
#include "app/figures.h"
#include "app/version.h"
#include "app/wirereport.h"
#include "config/configfile.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/numtext.h"
#include "model/msgid.h"
#include "plot/diagram.h"

namespace {

// The formula's name in a chart's footer: the command line's own word, which reads in the
// reader's language where it has one.
std::string FieldModelCaption(TFieldModel model) {
    switch (model) {
        case TFieldModel::Window:
            return Tr(Msgid("window"));
        case TFieldModel::FreeSpace:
            return Tr(Msgid("free-space"));
        case TFieldModel::OverGround:
            return Tr(Msgid("over-ground"));
    }
    return FieldModelName(model);
}

std::string Number(long double v) {
    return FormatGeneral(v);
}

// The ground as the pictures state it, in the reader's language and the window's decimal mark.
std::string GroundConditions(const TGround& g) {
    const std::string height = Number(g.HeightWavelengths);
    if (g.Kind == TGroundKind::Perfect) return TrFormat("perfect ground, height %s λ", {height});
    return TrFormat(
        "real ground (εr %s, σ %s S/m), %s MHz, height %s λ",
        {Number(g.Permittivity), Number(g.Conductivity), Number(g.FrequencyMhz), height});
}

// The type's number, with the kind where upright wires over perfect ground may be monopoles.
std::string EmitterTypeText(const TPatternResult& result) {
    const std::string number = std::to_string(result.Session.Model.EmitterType);
    if (!UprightWiresOverPerfectGround(result)) return number;
    return TrFormat("%s (%s)", {number, Tr(EmitterKindName(result))});
}

// The taper as --taper names it.
std::string TaperName(const TTaper& taper) {
    std::string name(NameOf<TTaperKind>(kTaperKindNames, taper.Kind));
    if (taper.Kind == TTaperKind::Chebyshev || taper.Kind == TTaperKind::Taylor) {
        name += ":" + Number(taper.SidelobeDb);
    }
    if (taper.Kind == TTaperKind::Taylor) name += ":" + std::to_string(taper.Nbar);
    return name;
}

// The report's table of one array: the ground under it, then every figure of the catalogue
// with the window's read-outs where the window shows them.
std::vector<std::array<std::string, 2>> ReportTable(const TPatternResult& result) {
    std::vector<std::array<std::string, 2>> rows;
    const auto add = [&rows](const std::vector<std::array<std::string, 2>>& more) {
        rows.insert(rows.end(), more.begin(), more.end());
    };
    if (result.Field.Model == TFieldModel::OverGround) {
        const TGround& g = result.Field.Ground;
        rows.push_back(
            {Tr("Ground"), g.Kind == TGroundKind::Perfect
                               ? std::string(Tr("perfect"))
                               : TrFormat("real, εr %s, σ %s S/m",
                                          {Number(g.Permittivity), Number(g.Conductivity)})});
        if (g.Kind == TGroundKind::Real) {
            rows.push_back({Tr("Frequency, MHz"), Number(g.FrequencyMhz)});
        }
        rows.push_back({Tr("Height, λ"), Number(g.HeightWavelengths)});
    }
    add(FigureRows(result, TFigureGroup::Readout));
    if (result.Field.Model == TFieldModel::OverGround) {
        add(FigureRows(result, TFigureGroup::Ground));
    }
    // The window's read-out, named for what it is beside the physical figures: the array
    // factor on a scale whose full value is the sum of the amplitudes.
    rows.push_back(
        {Tr("Window's array factor"), GainReadout(result.Session.Pattern, Tr("%s  (%s dB)"))});
    rows.push_back({Tr("Its full scale (Σ amplitudes)"), FormatGeneral(ReadoutFullScale(result))});
    rows.push_back({Tr("In the direction, deg"), result.Session.Labels.Bearing});
    add(FigureRows(result, TFigureGroup::Metrics));
    if (const auto& m = result.Metrics) {
        rows.push_back({Tr("Main lobes, deg"), MainLobesText(*m)});
        std::string nulls;
        for (const long double b : m->NullBearings) {
            nulls += (nulls.empty() ? "" : " ") + BearingText(b);
        }
        rows.push_back({Tr("Nulls, deg"), nulls.empty() ? std::string(Tr("none")) : nulls});
    }
    add(FigureRows(result, TFigureGroup::Directivity));
    add(WireFigureRows(result));
    return rows;
}

// 10 log10 of the mean power the samples' directivity is taken against: over the sphere in
// free space, over the upper half-space over ground; for wires the power fed in, as their
// samples are gains. None where it is not defined: nothing
// radiates, or the window's formula off the horizon, which is no field.
std::optional<long double> MeanPowerDb(const TPatternResult& result) {
    // The wires' samples are already on the scale of gain against the power fed in.
    if (result.Wires.Solved) return 0;
    const TArray& array = result.Session.Model;
    long double mean = 0;
    switch (result.Field.Model) {
        case TFieldModel::Window:
            if (result.Field.ElevationDegrees != 0) return std::nullopt;
            mean = MeanRadiatedPower(array);
            break;
        case TFieldModel::FreeSpace:
            mean = MeanRadiatedPower(array);
            break;
        case TFieldModel::OverGround: {
            const TGround& g = result.Field.Ground;
            if (g.Kind == TGroundKind::Perfect) {
                mean = MeanPowerWithImages(array, g.HeightWavelengths) / 2;
            } else if (result.GroundFigures && result.GroundFigures->UpperHalfSpacePower) {
                // The ground figures' quadrature, not a second one.
                mean = *result.GroundFigures->UpperHalfSpacePower;
            }
            break;
        }
    }
    if (!(mean > 0)) return std::nullopt;
    return 10 * std::log10(mean);
}

}  // namespace

std::optional<TCaseFault> GroundFault(const TGround& g) {
    if (g.Kind == TGroundKind::None) return std::nullopt;
    const auto fault = [](TCaseFault::TKind kind, long double value) {
        TCaseFault f;
        f.Kind = kind;
        f.Value = value;
        return f;
    };
    if (!(g.HeightWavelengths >= 0 && std::isfinite(g.HeightWavelengths))) {
        return fault(TCaseFault::BadHeight, g.HeightWavelengths);
    }
    if (g.Kind != TGroundKind::Real) return std::nullopt;
    if (!(g.FrequencyMhz > 0 && std::isfinite(g.FrequencyMhz))) {
        return fault(TCaseFault::NoFrequency, g.FrequencyMhz);
    }
    if (!(g.Permittivity >= 1 && std::isfinite(g.Permittivity))) {
        return fault(TCaseFault::BadPermittivity, g.Permittivity);
    }
    if (!(g.Conductivity >= 0 && std::isfinite(g.Conductivity))) {
        return fault(TCaseFault::BadConductivity, g.Conductivity);
    }
    return std::nullopt;
}

std::optional<TCaseFault> BeginAnalysis(TArrayCase arrayCase, TStagedAnalysis& staged) {
    staged.Case = std::move(arrayCase);
    staged.Done = {};
    const TArrayCase& c = staged.Case;
    TPatternResult& result = staged.Result;
    TArraySession& session = result.Session;
    static_cast<TArray&>(session.Model) = c.Array;
    const TArray& array = session.Model;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const auto row = static_cast<unsigned>(k - 1);
        const TEmitter& e = array.Emitter(k);
        session.Checked[row] = e.Enabled;
        session.Grid[row] = {FormatGeneral(e.X), FormatGeneral(e.Y), FormatGeneral(e.Phase)};
    }
    TFieldSpec field = c.Field;
    if (field.Model == TFieldModel::OverGround) {
        std::optional<TCaseFault> fault = GroundFault(field.Ground);
        if (!IsDipoleType(array.EmitterType)) {
            fault = TCaseFault{};
            fault->Kind = TCaseFault::Unpolarised;
            fault->Type = array.EmitterType;
        }
        if (fault) return fault;
    } else {
        field.Ground = {};
    }
    result.Field = session.Field = field;
    if (auto fault = AnalyseWires(c, result)) return fault;
    // Solved wires have every figure already.
    if (result.Wires.Solved) staged.Done.fill(true);
    return std::nullopt;
}

void CompletePart(TStagedAnalysis& staged, TAnalysisPart part) {
    const auto done = [&staged](TAnalysisPart p) -> bool& {
        return staged.Done[static_cast<std::size_t>(p)];
    };
    if (done(part)) return;
    if (part != TAnalysisPart::Pattern) CompletePart(staged, TAnalysisPart::Pattern);
    const TArrayCase& arrayCase = staged.Case;
    TPatternResult& result = staged.Result;
    TArraySession& session = result.Session;
    const TArray& array = session.Model;
    const TPattern& pattern = session.Pattern;
    switch (part) {
        case TAnalysisPart::Pattern: {
            TFieldSpec field = result.Field;
            if (field.Model == TFieldModel::OverGround) {
                result.GroundFigures = ComputeGroundFigures(array, field.Ground);
                // By default the azimuth pattern, its read-outs and figures lie at the take-off
                // angle.
                if (arrayCase.ElevationAtTakeoff && result.GroundFigures) {
                    field.ElevationDegrees = result.GroundFigures->TakeoffElevationDegrees;
                }
            }
            result.Field = session.Field = field;
            session.Pattern = arrayCase.WindowDrawings.empty()
                                  ? ComputePattern(array, field)
                                  : WindowDrawing(arrayCase.WindowDrawings, field);
            session.Labels = DiagramLabels(session.Pattern, field.ElevationDegrees);
            break;
        }
        case TAnalysisPart::Metrics:
            if (!IsZeroPattern(pattern, array)) {
                result.Metrics = ComputeMetrics(pattern, ExactFieldFunction(array, result.Field),
                                                FastFieldFunction(array, result.Field));
            }
            break;
        case TAnalysisPart::Directivity: {
            // The window's and the free-space formula agree at the horizon, so the pattern
            // there serves the free-space directivity.
            const bool horizon =
                result.Field.Model != TFieldModel::OverGround && result.Field.ElevationDegrees == 0;
            result.Directivity = ComputeDirectivity(array, horizon ? &pattern : nullptr);
            break;
        }
        case TAnalysisPart::Cut:
            result.CutBearing =
                arrayCase.CutBearing.value_or(DisplayedBearing(pattern.MaxGainAngle));
            // Above the horizon the window's formula is no physical field: its cut is the free
            // space's.
            result.CutField = result.Field.Model == TFieldModel::Window
                                  ? TFieldSpec{TFieldModel::FreeSpace}
                                  : result.Field;
            result.Cut = ElevationCut(array, result.CutField, result.CutBearing);
            break;
    }
    done(part) = true;
}

TAnalysisOutcome Analyse(const TArrayCase& arrayCase) {
    TStagedAnalysis staged;
    if (auto fault = BeginAnalysis(arrayCase, staged)) return {std::nullopt, fault};
    for (int p = 0; p < kAnalysisPartCount; ++p)
        CompletePart(staged, static_cast<TAnalysisPart>(p));
    return {std::move(staged.Result), std::nullopt};
}

TChartSeries ChartSeriesOf(const TPatternResult& result) {
    const TArraySession& session = result.Session;
    TChartSeries series;
    series.Name = result.Config
                      ? DisplayName(std::filesystem::path(*result.Config).filename().string())
                      : "—";
    series.Pattern = session.Pattern;
    series.Zero = !result.Metrics;
    if (result.Metrics) series.HalfPower = result.Metrics->HalfPower;
    series.Cut = result.Cut;
    series.CutBearing = result.CutBearing;
    series.MeanPowerDb = MeanPowerDb(result);
    series.Gain = result.Wires.Solved != nullptr;
    if (result.Field.Model == TFieldModel::OverGround) {
        if (const auto& g = result.GroundFigures) {
            series.Takeoff = {g->TakeoffElevationDegrees, g->TakeoffLowDegrees,
                              g->TakeoffHighDegrees};
        }
    }
    return series;
}

TChartArray ChartArrayOf(const TPatternResult& result) {
    const TArraySession& session = result.Session;
    TChartArray chart;
    chart.Array = session.Model;
    chart.ElevationDegrees = result.Field.ElevationDegrees;
    TReportArray& report = chart.Report;
    report.Series = ChartSeriesOf(result);
    for (int k = 1; k <= kEmitterCount; ++k) {
        report.Enabled[static_cast<unsigned>(k - 1)] = session.Model.Emitter(k).Enabled;
    }
    report.Grid = session.Grid;
    report.Wires = WireColumnsOf(result);
    report.Figures = ReportTable(result);
    report.Network = ReportNetworkOf(result);
    const auto conditions = [&result](TFieldModel model) {
        std::string caption =
            TrFormat("model %s, elevation %s deg, type %s",
                     {FieldModelCaption(model), FormatFixed(result.Field.ElevationDegrees, 18, 2),
                      EmitterTypeText(result)});
        if (result.Taper) caption += "; " + TrFormat("taper %s", {TaperName(*result.Taper)});
        if (model == TFieldModel::OverGround) {
            caption += "; " + GroundConditions(result.Field.Ground);
        }
        return caption + "; arraypattern-cli " ARRAYPATTERN_PACKAGE_VERSION;
    };
    chart.Caption = conditions(result.Field.Model);
    // The surface is sampled as the elevation cut is: in free space where the window's formula
    // is no field off the horizon.
    chart.View.Subject = {static_cast<double>(DisplayedBearing(session.Pattern.MaxGainAngle)),
                          conditions(result.CutField.Model)};
    return chart;
}
