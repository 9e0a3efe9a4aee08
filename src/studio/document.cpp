#include "studio/document.h"

#include <cerrno>

#include "app/inputerror.h"
#include "app/session.h"
#include "app/wireanalysis.h"
#include "studio/reasons.h"
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
        Wires.Radius != w.Radius || Wires.Feed != w.Feed || Wires.Z0 != w.Z0 ||
        Wires.GroundModel != w.GroundModel) {
        return false;
    }
    return Array.EmitterType == other.Array.EmitterType && FreeSpaceModel == other.FreeSpaceModel &&
           sameGround(Ground, other.Ground) && Soil == other.Soil &&
           ElevationDegrees == other.ElevationDegrees &&
           ElevationAtTakeoff == other.ElevationAtTakeoff;
}

namespace {

// At a file's double precision, so that a new document saved reads back bit for bit.
constexpr long double kDefaultFrequencyMhz = 7.1;

}  // namespace

TStudioDocument InitialDocument() {
    TStudioDocument document;
    document.Array = MakeInitialArray();
    // A ground chosen later starts from the usual amateur set-up: average soil, 40 m band.
    document.Ground.HeightWavelengths = 0.25L;
    document.Ground.FrequencyMhz = kDefaultFrequencyMhz;
    document.Ground.Permittivity = kSoils[0].Permittivity;
    document.Ground.Conductivity = kSoils[0].Conductivity;
    return document;
}

TArrayCase CaseOf(const TStudioDocument& document, std::optional<int> cutBearing) {
    TArrayCase c;
    c.Array = document.Array;
    c.CutBearing = cutBearing;
    const TWireKeys keys = WireKeysOf(document);
    c.Wires = keys.Settings;
    const TGround& g = document.Ground;
    if (g.Kind == TGroundKind::None) {
        // Wires have a field of their own; the window's formula is for ideal emitters.
        c.Field = {HasWires(document) ? TFieldModel::FreeSpace : document.FreeSpaceModel,
                   document.ElevationDegrees};
        return c;
    }
    TGround ground;
    ground.Kind = g.Kind;
    ground.HeightWavelengths = g.HeightWavelengths;
    if (g.Kind == TGroundKind::Real) {
        ground.FrequencyMhz = g.FrequencyMhz;
        ground.Permittivity = g.Permittivity;
        ground.Conductivity = g.Conductivity;
        ground.Model = keys.GroundModel.value_or(TGroundModel::Sommerfeld);
    }
    c.Field = {TFieldModel::OverGround, document.ElevationDegrees, ground};
    c.ElevationAtTakeoff = document.ElevationAtTakeoff;
    return c;
}

TWireKeys WireKeysOf(const TStudioDocument& document) {
    return WireKeysOver({}, document.Wires);
}

long double DesignFrequencyMhz(const TStudioDocument& document) {
    return document.Ground.FrequencyMhz;
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
            TrFormat("cannot read %s: %s",
                     {DisplayName(fileName), SystemErrorText(content.Errno)}));
    }
    TLoadedArray loaded = LoadArrayText(fileName, std::move(content.Text));
    TOpenedDocument opened;
    opened.Document = InitialDocument();
    opened.Document.Array = loaded.Array;
    if (loaded.Ground && loaded.Ground->Kind != TGroundKind::None) {
        const TGround& g = *loaded.Ground;
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
    if (const auto& fault = loaded.Wires.Fault)
        throw EUsageError(WireKeyFaultText(*fault, fileName));
    TWireRequest& wires = opened.Document.Wires;
    wires.Lengths = loaded.Wires.Settings.Lengths;
    if (loaded.Wires.RadiusGiven) wires.Radius = loaded.Wires.Settings.Radius;
    if (loaded.Wires.FeedGiven) wires.Feed = loaded.Wires.Settings.Feed;
    wires.GroundModel = loaded.Wires.GroundModel;
    if (loaded.Wires.Z0Given) wires.Z0 = loaded.Wires.Settings.Z0;
    if (const auto& elevation = loaded.Wires.ElevationDegrees) {
        opened.Document.ElevationDegrees = static_cast<long double>(*elevation);
        opened.Document.ElevationAtTakeoff = false;
    }
    if (loaded.Wires.Formula) opened.Document.FreeSpaceModel = *loaded.Wires.Formula;
    if (const auto& mhz = loaded.Wires.FrequencyMhz)
        if (opened.Document.Ground.Kind != TGroundKind::Real)
            opened.Document.Ground.FrequencyMhz = static_cast<long double>(*mhz);
    opened.Warnings = std::move(loaded.Warnings);
    opened.Warnings.insert(opened.Warnings.end(), loaded.Messages.begin(), loaded.Messages.end());
    return opened;
}

void SaveDocument(const TStudioDocument& document, const std::string& fileName) {
    TWireKeys wires = WireKeysOf(document);
    // The frequency the studio shows is saved whatever the ground, a real ground's with it;
    // the default, which a file without one opens at, is left out as the command line does.
    if (document.Ground.FrequencyMhz != kDefaultFrequencyMhz)
        wires.FrequencyMhz = static_cast<double>(document.Ground.FrequencyMhz);
    // The elevation once chosen, and a formula other than the window's.
    if (!document.ElevationAtTakeoff)
        wires.ElevationDegrees = static_cast<double>(document.ElevationDegrees);
    if (document.FreeSpaceModel != TFieldModel::Window) wires.Formula = document.FreeSpaceModel;
    const TGround none;
    const TGround& ground = document.Ground.Kind == TGroundKind::None ? none : document.Ground;
    if (const auto fault = CheckCoupling(document.Array, wires.Settings, ground)) {
        TCaseFault why;
        why.Kind = TCaseFault::Wires;
        why.Coupling = *fault;
        throw EUsageError(StudioReasonText(why));
    }
    const std::string path = FullPath(fileName);
    TIniFile file =
        ConfigurationUpdate(path, document.Array, document.Array.EmitterType, &document.Ground);
    WriteWireKeys(file, wires);
    CommitConfiguration(file, path);
}
