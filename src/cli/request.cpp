#include "cli/request.h"

#include <cmath>

#include "app/arraywarnings.h"
#include "app/inputerror.h"
#include "cli/refusals.h"
#include "config/configfile.h"
#include "config/cp1251.h"
#include "config/inifile.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/numtext.h"

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
    const auto fault = GroundFault(ground);
    if (fault && (fault->Kind == TCaseFault::BadHeight || fault->Kind == TCaseFault::NoFrequency))
        throw EUsageError(CaseRefusalText(*fault));
    if (ground.Kind == TGroundKind::Real) {
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
    }
    if (fault) throw EUsageError(CaseRefusalText(*fault));
    return ground;
}

std::optional<long double> FileDesignFrequency(const std::string& config, const std::string& text) {
    const TIniFile file = TIniFile::FromText(text);
    // A real ground keeps the frequency with its soil; the wires' keys skip it there.
    if (const auto ground = ReadGround(file); ground && ground->Kind == TGroundKind::Real) {
        if (!(ground->FrequencyMhz > 0)) return std::nullopt;
    } else {
        const TWireKeys keys = ReadWireKeys(file);
        if (keys.Fault) throw EUsageError(WireKeyFaultText(*keys.Fault, config));
        if (!keys.FrequencyMhz) return std::nullopt;
    }
    // Read as --frequency reads its value, not rounded to the double the file's reals load as:
    // the same text gives the same design frequency, to the last bit, from either.
    return ParseStoredFloat(file.ReadString(kAllEmittersSection, kFrequencyKey));
}

TWireKeys WireKeysOf(const TAnalysisRequest& request, const TArraySession& session) {
    if (const auto& f = session.FileWires.Fault)
        throw EUsageError(WireKeyFaultText(*f, *request.Steps.ConfigFile));
    return WireKeysOver(session.FileWires, request.Wires);
}

TWireKeys WireKeysToSave(const TAnalysisRequest& request, const TArraySession& session,
                         const TArray& array, const TGround& ground) {
    TWireKeys keys = WireKeysOf(request, session);
    if (const auto fault = CheckCoupling(array, keys.Settings, ground))
        throw EUsageError(CouplingRefusalText(*fault));
    // The design frequency stays with the array whatever its ground: the option's, a ground's
    // the options dropped, or the file's own.
    if (request.Ground.FrequencyMhz)
        keys.FrequencyMhz = static_cast<double>(*request.Ground.FrequencyMhz);
    else if (ground.FrequencyMhz > 0)
        keys.FrequencyMhz = static_cast<double>(ground.FrequencyMhz);
    return keys;
}

TPatternResult Analyse(const TAnalysisRequest& request) {
    TSessionSteps steps = request.Steps;
    steps.DrawPattern = false;
    TArraySession session = BuildSession(steps);
    TArrayCase arrayCase;
    arrayCase.Array = session.Model;
    arrayCase.Field = request.Steps.Field;
    arrayCase.CutBearing = request.CutBearing;
    arrayCase.WindowDrawings = std::move(session.Drawings);
    // A formula named explicitly outweighs the file's ground; the options' ground cannot come
    // with one.
    bool unpolarisedFileGround = false;
    if (!request.ModelGiven) {
        const TGround ground = ResolveGround(request.Ground, session.FileGround);
        if (ground.Kind != TGroundKind::None) {
            const int type = session.Model.EmitterType;
            if (IsDipoleType(type)) {
                arrayCase.Field.Model = TFieldModel::OverGround;
                arrayCase.Field.Ground = ground;
                arrayCase.ElevationAtTakeoff = !request.ElevationGiven;
            } else if (!request.Ground.Kind) {
                // A file may keep its ground beside a type the window set later: it loads as
                // the window shows it, in free space, and says so.
                unpolarisedFileGround = true;
            } else {
                TCaseFault fault;
                fault.Type = type;
                throw EUsageError(CaseRefusalText(fault));
            }
        }
    }
    const TWireKeys wireKeys = WireKeysOf(request, session);
    // The file's own view of the array, where the options leave it: the studio saves it.
    if (!request.ElevationGiven && wireKeys.ElevationDegrees) {
        arrayCase.Field.ElevationDegrees = static_cast<long double>(*wireKeys.ElevationDegrees);
        arrayCase.ElevationAtTakeoff = false;
    }
    if (!request.ModelGiven && wireKeys.Formula && arrayCase.Field.Model == TFieldModel::Window)
        arrayCase.Field.Model = *wireKeys.Formula;
    arrayCase.Wires = wireKeys.Settings;
    arrayCase.Field.Ground.Model = wireKeys.GroundModel.value_or(TGroundModel::Sommerfeld);
    const bool wires = HasWireLengths(arrayCase.Wires, arrayCase.Array);
    // Wires have a field of their own in free space; the window's formula is for ideal
    // emitters, and only named explicitly is it a mistake.
    if (wires && !request.ModelGiven && arrayCase.Field.Model == TFieldModel::Window) {
        arrayCase.Field.Model = TFieldModel::FreeSpace;
    }
    TAnalysisOutcome outcome = Analyse(arrayCase);
    if (outcome.Fault) throw EUsageError(CaseRefusalText(*outcome.Fault));
    TPatternResult result = std::move(*outcome.Result);
    result.Config = request.Steps.ConfigFile;
    result.Taper = request.Steps.Taper;
    // The window's own: its grid's texts, its check boxes and messages, the load's warnings.
    TArraySession& out = result.Session;
    out.Grid = session.Grid;
    out.Checked = session.Checked;
    out.Messages = std::move(session.Messages);
    // The engine's own warnings, of the wires' model, follow the load's.
    std::vector<std::string> engine = std::move(out.Warnings);
    out.Warnings = std::move(session.Warnings);
    out.WarningCount = session.WarningCount + engine.size();
    out.Warnings.insert(out.Warnings.end(), engine.begin(), engine.end());
    out.FileGround = session.FileGround;
    out.FileWires = std::move(session.FileWires);
    if (unpolarisedFileGround) {
        out.Warnings.push_back(TrFormat(
            "%s: its ground needs polarised emitters (type 1, 2 or 3), not type %s: the array "
            "is taken in free space",
            {DisplayName(*request.Steps.ConfigFile), std::to_string(out.Model.EmitterType)}));
        ++out.WarningCount;
    }
    if (const auto low = GroundModelWarning(arrayCase.Array, arrayCase.Wires, result.Field)) {
        out.Warnings.push_back(*low);
        ++out.WarningCount;
    }
    if (request.WireOptionsGiven && !wires) {
        out.Warnings.push_back(
            Tr("--radius, --feed and --z0 apply to wires, and no emitter has a length (--length, "
               "--set N:length or the file's): they are passed over"));
        ++out.WarningCount;
    }
    return result;
}

TDesignFrequencyArray ArrayAtDesign(const TAnalysisRequest& request) {
    TSessionSteps steps = request.Steps;
    steps.DrawPattern = false;
    const TArraySession session = BuildSession(steps);
    TDesignFrequencyArray d{session.Model, {}, ResolveGround(request.Ground, session.FileGround)};
    d.Wires = WireKeysToSave(request, session, d.Array, d.Ground);
    d.Ground.Model = d.Wires.GroundModel.value_or(TGroundModel::Sommerfeld);
    return d;
}

TAnalysisRequest FrequencyStep(const TAnalysisRequest& request, const TDesignFrequencyArray& design,
                               long double mhz) {
    const long double scale = mhz / *request.Ground.FrequencyMhz;
    TAnalysisRequest step = request;
    step.Steps.FocusBearing.reset();
    step.Steps.Taper.reset();
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = design.Array.Emitter(k);
        if (!e.Enabled) continue;
        step.Steps.Settings.push_back({k, TEmitterField::X, e.X * scale});
        step.Steps.Settings.push_back({k, TEmitterField::Y, e.Y * scale});
        step.Steps.Settings.push_back({k, TEmitterField::Phase, e.Phase});
        step.Steps.Settings.push_back({k, TEmitterField::Amplitude, e.Amplitude});
    }
    TWireRequest& wires = step.Wires;
    wires.AllLengths.reset();
    for (std::size_t i = 0; i < wires.Lengths.size(); ++i) {
        const auto& length = design.Wires.Settings.Lengths[i];
        wires.Lengths[i] = length ? std::optional(*length * static_cast<double>(scale)) : length;
    }
    wires.Radius = design.Wires.Settings.Radius * static_cast<double>(scale);
    for (std::size_t i = 0; i < wires.Radii.size(); ++i) {
        const std::optional<double> radius = design.Wires.Settings.Radii[i];
        wires.Radii[i] = radius ? std::optional(*radius * static_cast<double>(scale)) : radius;
    }
    wires.Feed = design.Wires.Settings.Feed;
    if (design.Ground.Kind != TGroundKind::None) {
        step.Ground.Kind = design.Ground.Kind;
        step.Ground.HeightWavelengths = design.Ground.HeightWavelengths * scale;
        if (design.Ground.Kind == TGroundKind::Real) {
            step.Ground.Permittivity = design.Ground.Permittivity;
            step.Ground.Conductivity = design.Ground.Conductivity;
        }
    }
    step.Ground.FrequencyMhz = mhz;
    return step;
}
