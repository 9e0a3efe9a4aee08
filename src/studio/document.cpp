#include "studio/document.h"

#include <cerrno>

#include "app/wireanalysis.h"
#include "config/configfile.h"
#include "config/errors.h"
#include "config/filecontent.h"
#include "config/inifile.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/safefile.h"
#include "config/wirekeys.h"

bool TStudioDocument::operator==(const TStudioDocument& other) const {
    const auto sameGround = [](const TGround& a, const TGround& b) {
        return a.Kind == b.Kind && a.HeightWavelengths == b.HeightWavelengths &&
               a.FrequencyMhz == b.FrequencyMhz && a.Permittivity == b.Permittivity &&
               a.Conductivity == b.Conductivity;
    };
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& a = Array.Emitter(k);
        const TEmitter& b = other.Array.Emitter(k);
        if (a.X != b.X || a.Y != b.Y || a.Phase != b.Phase || a.Enabled != b.Enabled ||
            a.Amplitude != b.Amplitude) {
            return false;
        }
    }
    const TWireRequest& w = other.Wires;
    if (Wires.AllLengths != w.AllLengths || Wires.Lengths != w.Lengths ||
        Wires.Radius != w.Radius || Wires.Feed != w.Feed || Wires.Z0 != w.Z0) {
        return false;
    }
    return Array.EmitterType == other.Array.EmitterType && FreeSpaceModel == other.FreeSpaceModel &&
           sameGround(Ground, other.Ground) && Soil == other.Soil &&
           ElevationDegrees == other.ElevationDegrees &&
           ElevationAtTakeoff == other.ElevationAtTakeoff;
}

TStudioDocument InitialDocument() {
    TStudioDocument document;
    document.Array = MakeInitialArray();
    // A ground chosen later starts from the usual amateur set-up: average soil, 40 m band.
    document.Ground.HeightWavelengths = 0.25L;
    document.Ground.FrequencyMhz = 7.1L;
    document.Ground.Permittivity = kSoils[0].Permittivity;
    document.Ground.Conductivity = kSoils[0].Conductivity;
    return document;
}

bool NeedsPolarisedEmitters(const TStudioDocument& document) {
    const int type = document.Array.EmitterType;
    return document.Ground.Kind != TGroundKind::None && type != etVerticalDipole &&
           type != etHorizontalDipoleNS && type != etHorizontalDipoleWE;
}

TAnalysisRequest AnalysisRequestOf(const TStudioDocument& document, std::optional<int> cutBearing) {
    TAnalysisRequest request;
    std::vector<TEmitterSetting>& settings = request.Steps.Settings;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = document.Array.Emitter(k);
        settings.push_back({k, TEmitterField::X, e.X});
        settings.push_back({k, TEmitterField::Y, e.Y});
        settings.push_back({k, TEmitterField::Phase, e.Phase});
        settings.push_back({k, TEmitterField::Amplitude, e.Amplitude});
    }
    // Switched on before any is switched off: the last emitter on always stays on.
    for (const bool on : {true, false}) {
        for (int k = 1; k <= kEmitterCount; ++k) {
            if (document.Array.Emitter(k).Enabled == on) {
                settings.push_back({k, TEmitterField::On, on ? 1.0L : 0.0L});
            }
        }
    }
    request.Steps.EmitterType = document.Array.EmitterType;
    request.CutBearing = cutBearing;
    request.Wires = document.Wires;
    const TGround& g = document.Ground;
    if (g.Kind == TGroundKind::None) {
        // Wires have a field of their own; the window's formula is for ideal emitters.
        const bool wires = HasWires(document);
        request.Steps.Field = {wires ? TFieldModel::FreeSpace : document.FreeSpaceModel,
                               document.ElevationDegrees};
        request.ModelGiven = true;
        request.ElevationGiven = true;
        return request;
    }
    request.Steps.Field = {TFieldModel::Window, document.ElevationDegrees};
    request.ElevationGiven = !document.ElevationAtTakeoff;
    request.Ground.Kind = g.Kind;
    request.Ground.HeightWavelengths = g.HeightWavelengths;
    if (g.Kind == TGroundKind::Real) {
        request.Ground.FrequencyMhz = g.FrequencyMhz;
        request.Ground.Permittivity = g.Permittivity;
        request.Ground.Conductivity = g.Conductivity;
    }
    return request;
}

TAnalysisRequest SweepRequestOf(const TStudioDocument& document) {
    TAnalysisRequest request = AnalysisRequestOf(document, std::nullopt);
    request.Ground.FrequencyMhz = document.Ground.FrequencyMhz;
    return request;
}

bool HasWires(const TStudioDocument& document) {
    for (int k = 1; k <= kEmitterCount; ++k) {
        if (document.Array.Emitter(k).Enabled &&
            document.Wires.Lengths[static_cast<unsigned>(k - 1)])
            return true;
    }
    return false;
}

int SoilOf(const TGround& ground) {
    for (std::size_t i = 0; i < std::size(kSoils); ++i) {
        // A file holds its numbers at double precision.
        const auto same = [](long double a, long double b) {
            return static_cast<double>(a) == static_cast<double>(b);
        };
        if (same(kSoils[i].Permittivity, ground.Permittivity) &&
            same(kSoils[i].Conductivity, ground.Conductivity)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TOpenedDocument OpenDocument(const std::string& fileName, std::chrono::milliseconds wait) {
    // Read once, within the wait: a pipe gives its text only once, and a window cannot wait on a
    // writer that may never come.
    TFileContent content = ReadFileContent(fileName, TIniFile::kMaxFileSize, TFileKinds::Any, wait);
    if (content.Errno == ETIMEDOUT) {
        const unsigned long seconds = static_cast<unsigned long>((wait.count() + 999) / 1000);
        throw EUsageError(FormatMessage(
            TrPlural("cannot read %s: nothing was written to it within %s second",
                     "cannot read %s: nothing was written to it within %s seconds", seconds),
            {DisplayName(fileName), std::to_string(seconds)}));
    }
    if (content.Errno != 0) {
        throw EUsageError(
            TrFormat("cannot read --config %s: %s", {fileName, SystemErrorText(content.Errno)}));
    }
    TSessionSteps steps;
    steps.ConfigFile = fileName;
    steps.ConfigText = content.Text;
    const TArraySession session = BuildSession(steps);
    TOpenedDocument opened;
    opened.Document = InitialDocument();
    opened.Document.Array = session.Model;
    if (session.FileGround && session.FileGround->Kind != TGroundKind::None) {
        const TGround& g = *session.FileGround;
        TGround& ground = opened.Document.Ground;
        ground.Kind = g.Kind;
        ground.HeightWavelengths = g.HeightWavelengths;
        // A perfect ground's file has no soil: the presets stay ready for a change to real.
        if (g.Kind == TGroundKind::Real) {
            ground.FrequencyMhz = g.FrequencyMhz;
            ground.Permittivity = g.Permittivity;
            ground.Conductivity = g.Conductivity;
            opened.Document.Soil = SoilOf(ground);
        }
    }
    // The wires as the command line reads them; a bad key fails the open with its message.
    TAnalysisRequest request;
    request.Steps.ConfigFile = fileName;
    request.Steps.ConfigText = content.Text;
    const TWireKeys keys = ReadWireKeys(TIniFile::FromText(std::move(content.Text)));
    if (keys.Fault) WireKeysToSave(request, session.Model, {});
    TWireRequest& wires = opened.Document.Wires;
    wires.Lengths = keys.Settings.Lengths;
    if (keys.RadiusGiven) wires.Radius = keys.Settings.Radius;
    if (keys.FeedGiven) wires.Feed = keys.Settings.Feed;
    opened.Warnings = session.Warnings;
    opened.Warnings.insert(opened.Warnings.end(), session.Messages.begin(), session.Messages.end());
    return opened;
}

void SaveDocument(const TStudioDocument& document, const std::string& fileName) {
    const TAnalysisRequest request = AnalysisRequestOf(document, std::nullopt);
    const TWireKeys wires =
        WireKeysToSave(request, document.Array, ResolveGround(request.Ground, std::nullopt));
    const std::string path = FullPath(fileName);
    TIniFile file =
        ConfigurationUpdate(path, document.Array, document.Array.EmitterType, &document.Ground);
    WriteWireKeys(file, wires.Settings, wires.RadiusGiven, wires.FeedGiven);
    CommitConfiguration(file, path);
}
