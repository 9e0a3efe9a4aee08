#include "app/analysis.h"

#include <cmath>
#include <filesystem>
#include <optional>

#include "app/figures.h"
#include "app/version.h"
#include "app/wirereport.h"
#include "config/configfile.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/numtext.h"
#include "plot/diagram.h"

namespace {

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
        std::string lobes;
        for (const long double b : m->MainLobeBearings) {
            lobes += (lobes.empty() ? "" : " ") + FigureText(b, 2);
        }
        rows.push_back({Tr("Main lobes, deg"), lobes});
        std::string nulls;
        for (const long double b : m->NullBearings) {
            nulls += (nulls.empty() ? "" : " ") + FigureText(b, 2);
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

TGround ResolveGround(const TGroundRequest& request, const std::optional<TGround>& fileGround) {
    TGround ground = fileGround.value_or(TGround{});
    if (request.Kind) ground.Kind = *request.Kind;
    if (request.HeightWavelengths) ground.HeightWavelengths = *request.HeightWavelengths;
    if (request.FrequencyMhz) ground.FrequencyMhz = *request.FrequencyMhz;
    if (request.Permittivity) ground.Permittivity = *request.Permittivity;
    if (request.Conductivity) ground.Conductivity = *request.Conductivity;
    if (ground.Kind == TGroundKind::None) {
        if (request.HeightWavelengths) {
            throw EUsageError(
                Tr("the height needs a ground: --ground perfect or real, or a configuration "
                   "that sets one"));
        }
        return ground;
    }
    if (!(ground.HeightWavelengths >= 0 && std::isfinite(ground.HeightWavelengths))) {
        throw EUsageError(TrFormat("invalid height %s: a number of wavelengths of 0 or more",
                                   {Number(ground.HeightWavelengths)}));
    }
    if (ground.Kind == TGroundKind::Real) {
        if (!(ground.FrequencyMhz > 0 && std::isfinite(ground.FrequencyMhz))) {
            throw EUsageError(Tr("--ground real needs --frequency in MHz"));
        }
        // A soil left out would be read as vacuum, whose answer looks like one for a ground.
        const bool fileSoil = fileGround && fileGround->Kind == TGroundKind::Real;
        if (!fileSoil && (!request.Permittivity || !request.Conductivity)) {
            throw EUsageError(TrFormat(
                "--ground real needs its soil: --soil, or --permittivity and --conductivity "
                "(missing: %s)",
                {!request.Permittivity && !request.Conductivity ? "--permittivity, --conductivity"
                 : !request.Permittivity                        ? "--permittivity"
                                                                : "--conductivity"}));
        }
        if (!(ground.Permittivity >= 1 && std::isfinite(ground.Permittivity))) {
            throw EUsageError(
                TrFormat("invalid permittivity %s: a relative permittivity of 1 or more",
                         {Number(ground.Permittivity)}));
        }
        if (!(ground.Conductivity >= 0 && std::isfinite(ground.Conductivity))) {
            throw EUsageError(
                TrFormat("invalid conductivity %s: S/m, 0 or more", {Number(ground.Conductivity)}));
        }
    }
    return ground;
}

TPatternResult Analyse(const TAnalysisRequest& request) {
    TPatternResult result;
    result.Config = request.Steps.ConfigFile;
    result.Taper = request.Steps.Taper;
    // The formula, the ground and the elevation are settled once the array is, then the
    // pattern is computed once in them.
    TSessionSteps steps = request.Steps;
    bool unpolarisedFileGround = false;
    // The wires' keys are read once, when first asked for: after the file has loaded.
    std::optional<TWireSettings> wires;
    const auto wireSettings = [&]() -> const TWireSettings& {
        if (!wires) wires = WireSettingsOf(request);
        return *wires;
    };
    steps.ResolveField = [&](const TArray& array, const std::optional<TGround>& fileGround) {
        TFieldSpec field = request.Steps.Field;
        // A formula named explicitly outweighs the file's ground; the options' ground cannot
        // come with one.
        if (request.ModelGiven) return field;
        const TGround ground = ResolveGround(request.Ground, fileGround);
        if (ground.Kind == TGroundKind::None) return field;
        const int type = array.EmitterType;
        if (type != etVerticalDipole && type != etHorizontalDipoleNS &&
            type != etHorizontalDipoleWE) {
            // A file may keep its ground beside a type the window set later: it loads as the
            // window shows it, in free space, and says so.
            if (!request.Ground.Kind) {
                unpolarisedFileGround = true;
                return field;
            }
            throw EUsageError(
                TrFormat("over ground the emitters need a polarisation: type %s has none (use "
                         "--type 1, 2 or 3)",
                         {std::to_string(type)}));
        }
        field = {TFieldModel::OverGround, field.ElevationDegrees, ground};
        // Wires give their own ground figures: the ideal emitters' would be thrown away.
        if (HasWireLengths(wireSettings(), array)) return field;
        result.GroundFigures = ComputeGroundFigures(array, ground);
        // By default the azimuth pattern, its read-outs and figures lie at the take-off angle.
        if (!request.ElevationGiven && result.GroundFigures) {
            field.ElevationDegrees = result.GroundFigures->TakeoffElevationDegrees;
        }
        return field;
    };
    steps.PatternElsewhere = [&](const TArray& array) {
        return HasWireLengths(wireSettings(), array);
    };
    result.Session = BuildSession(steps);
    result.Field = result.Session.Field;
    if (unpolarisedFileGround) {
        result.Session.Warnings.push_back(TrFormat(
            "%s: its ground needs polarised emitters (type 1, 2 or 3), not type %s: the array "
            "is taken in free space",
            {DisplayName(*request.Steps.ConfigFile),
             std::to_string(result.Session.Model.EmitterType)}));
        ++result.Session.WarningCount;
    }
    if (request.WireOptionsGiven && !HasWireLengths(wireSettings(), result.Session.Model)) {
        result.Session.Warnings.push_back(
            Tr("--radius, --feed and --z0 apply to wires, and no emitter has a length (--length, "
               "--set N:length or the file's): they are passed over"));
        ++result.Session.WarningCount;
    }
    if (AnalyseWires(request, wireSettings(), result)) return result;
    const TArray& array = result.Session.Model;
    const TPattern& pattern = result.Session.Pattern;
    if (!IsZeroPattern(pattern, array)) {
        result.Metrics = ComputeMetrics(
            pattern, [&](long double az) { return FieldValue(array, result.Field, az * kDegree); },
            [&](long double az) {
                return static_cast<long double>(
                    FastFieldValue(array, result.Field, static_cast<double>(az * kDegree)));
            });
    }
    // The window's and the free-space formula agree at the horizon, so the pattern there
    // serves the free-space directivity.
    const bool horizon =
        result.Field.Model != TFieldModel::OverGround && result.Field.ElevationDegrees == 0;
    result.Directivity = ComputeDirectivity(array, horizon ? &pattern : nullptr);
    result.CutBearing = request.CutBearing.value_or(DisplayedBearing(pattern.MaxGainAngle));
    // Above the horizon the window's formula is no physical field: its cut is the free space's.
    result.CutField = result.Field.Model == TFieldModel::Window ? TFieldSpec{TFieldModel::FreeSpace}
                                                                : result.Field;
    result.Cut = ElevationCut(array, result.CutField, result.CutBearing);
    return result;
}

TChartArray ChartArrayOf(const TPatternResult& result) {
    const TArraySession& session = result.Session;
    TChartArray chart;
    chart.Array = session.Model;
    chart.ElevationDegrees = result.Field.ElevationDegrees;
    TReportArray& report = chart.Report;
    report.Series.Name =
        result.Config ? DisplayName(std::filesystem::path(*result.Config).filename().string())
                      : "—";
    report.Series.Pattern = session.Pattern;
    report.Series.Zero = !result.Metrics;
    if (result.Metrics) report.Series.HalfPower = result.Metrics->HalfPower;
    report.Series.Cut = result.Cut;
    report.Series.CutBearing = result.CutBearing;
    report.Series.MeanPowerDb = MeanPowerDb(result);
    report.Series.Gain = result.Wires.Solved != nullptr;
    if (result.Field.Model == TFieldModel::OverGround) {
        if (const auto& g = result.GroundFigures) {
            report.Series.Takeoff = {g->TakeoffElevationDegrees, g->TakeoffLowDegrees,
                                     g->TakeoffHighDegrees};
        }
    }
    for (int k = 1; k <= kEmitterCount; ++k) {
        report.Enabled[static_cast<unsigned>(k - 1)] = session.Model.Emitter(k).Enabled;
    }
    report.Grid = session.Grid;
    report.Wires = WireColumnsOf(result);
    report.Figures = ReportTable(result);
    const auto conditions = [&result](TFieldModel model) {
        std::string caption =
            TrFormat("model %s, elevation %s deg, type %s",
                     {FieldModelName(model), FormatFixed(result.Field.ElevationDegrees, 18, 2),
                      std::to_string(result.Session.Model.EmitterType)});
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
