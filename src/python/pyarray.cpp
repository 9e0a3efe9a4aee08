#include "python/pyarray.h"

#include <cmath>

#include "app/inputerror.h"
#include "app/session.h"
#include "app/wireanalysis.h"
#include "config/configfile.h"
#include "config/errors.h"
#include "config/filecontent.h"
#include "config/messages.h"
#include "config/netlist.h"
#include "config/numtext.h"
#include "config/wirekeys.h"
#include "python/reasons.h"

namespace {

// As Python writes the values that are no numbers.
std::string Number(long double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return FormatGeneral(v);
}

[[noreturn]] void EmitterFault(int k, const std::string& why) {
    throw EUsageError(TrFormat("emitter %s: %s", {std::to_string(k), why}));
}

}  // namespace

long double Checked(const std::string& keyword, double value, TQuantity quantity) {
    const TQuantityRange& range = RangeOf(quantity);
    if (!range.Contains(static_cast<long double>(value))) {
        throw EUsageError(
            TrFormat("%s=%s is out of range: %s",
                     {keyword, Number(static_cast<long double>(value)), RangeText(range)}));
    }
    return static_cast<long double>(value);
}

std::vector<TPyEmitter> TPyArray::Emitters() const {
    std::vector<TPyEmitter> emitters;
    for (int k = 1; k <= Count; ++k) {
        const TEmitter& e = Array.Emitter(k);
        emitters.push_back({static_cast<double>(e.X), static_cast<double>(e.Y),
                            static_cast<double>(e.Phase), static_cast<double>(e.Amplitude),
                            e.Enabled, Wires.Lengths[static_cast<unsigned>(k - 1)],
                            Wires.Radii[static_cast<unsigned>(k - 1)]});
    }
    return emitters;
}

void TPyArray::SetEmitters(const std::vector<TPyEmitter>& emitters) {
    if (emitters.size() > static_cast<std::size_t>(kEmitterCount)) {
        EmitterFault(kEmitterCount + 1, TrFormat("an array holds at most %s emitters",
                                                 {std::to_string(kEmitterCount)}));
    }
    TArray array = Array;
    TWireSettings wires = Wires;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const auto slot = static_cast<std::size_t>(k - 1);
        TEmitter& e = array.Emitter(k);
        if (slot >= emitters.size()) {
            e = TEmitter{};
            wires.Lengths[slot].reset();
            wires.Radii[slot].reset();
            continue;
        }
        const TPyEmitter& p = emitters[slot];
        try {
            e.X = Checked("x", p.X, TQuantity::Position);
            e.Y = Checked("y", p.Y, TQuantity::Position);
            e.Amplitude = Checked("amplitude", p.Amplitude, TQuantity::Amplitude);
            if (p.Length) Checked("length", *p.Length, TQuantity::WireLength);
            if (p.Radius) Checked("radius", *p.Radius, TQuantity::WireRadius);
        } catch (const EUsageError& error) {
            EmitterFault(k, error.what());
        }
        if (!std::isfinite(p.Phase)) {
            EmitterFault(k, TrFormat("phase=%s is no finite number of periods",
                                     {Number(static_cast<long double>(p.Phase))}));
        }
        e.Phase = static_cast<long double>(p.Phase);
        e.Enabled = p.On;
        wires.Lengths[slot] = p.Length;
        wires.Radii[slot] = p.Radius;
    }
    Array = array;
    Wires = wires;
    Count = static_cast<int>(emitters.size());
}

void SetNetwork(TPyArray& array, const std::optional<std::string>& path) {
    if (!path) {
        array.Network.reset();
        array.NetworkFile.clear();
        return;
    }
    const TFileContent content = ReadFileContent(*path, TIniFile::kMaxFileSize, TFileKinds::Any);
    if (content.Errno != 0) {
        throw EFileError(TrFormat("cannot read network=%s", {*path}), content.Errno);
    }
    try {
        array.Network = std::make_shared<const TNetwork>(ReadNetlist(content.Text));
    } catch (const ENetlistError& e) {
        throw EUsageError(TrFormat("network=%s:%s: %s", {*path, std::to_string(e.Line), e.what()}));
    }
    array.NetworkFile = *path;
}

TArrayCase CaseOf(const TPyArray& array, std::optional<int> cutBearing) {
    TArrayCase c;
    c.Array = array.Array;
    c.Wires = array.Wires;
    c.CutBearing = cutBearing;
    c.Field.ElevationDegrees = array.Elevation.value_or(0);
    const bool wires = HasWireLengths(c.Wires, c.Array);
    // A formula named explicitly outweighs the ground, as the command line's --model does.
    if (array.Model) {
        c.Field.Model = *array.Model;
    } else if (array.Ground.Kind != TGroundKind::None) {
        if (array.Ground.Kind == TGroundKind::Real && !array.SoilGiven) {
            // A soil left out would be read as vacuum, whose answer looks like one for a ground.
            throw EUsageError(SoilNeededText());
        }
        c.Field.Model = TFieldModel::OverGround;
        c.Field.Ground = array.Ground;
        c.Field.Ground.Model = array.GroundModel.value_or(TGroundModel::Sommerfeld);
        c.ElevationAtTakeoff = !array.Elevation;
    } else if (wires) {
        // Wires have a field of their own in free space; the window's formula is for ideal
        // emitters.
        c.Field.Model = TFieldModel::FreeSpace;
    }
    return c;
}

TPyArray LoadArray(const std::string& path, std::vector<std::string>& warnings) {
    TFileContent content = ReadFileContent(path, TIniFile::kMaxFileSize, TFileKinds::Any);
    if (content.Errno != 0) {
        throw EFileError(TrFormat("cannot read %s", {path}), content.Errno);
    }
    TLoadedArray loaded = LoadArrayText(path, std::move(content.Text));
    if (const auto& fault = loaded.Wires.Fault) throw EUsageError(WireKeyFaultText(*fault, path));
    TPyArray array;
    array.Array = loaded.Array;
    array.Count = kEmitterCount;
    array.Wires = loaded.Wires.Settings;
    array.RadiusGiven = loaded.Wires.RadiusGiven;
    array.FeedGiven = loaded.Wires.FeedGiven;
    array.Z0Given = loaded.Wires.Z0Given;
    array.GroundModel = loaded.Wires.GroundModel;
    if (loaded.Ground) {
        array.Ground = *loaded.Ground;
        array.SoilGiven = array.Ground.Kind == TGroundKind::Real;
    }
    if (const auto& elevation = loaded.Wires.ElevationDegrees)
        array.Elevation = static_cast<long double>(*elevation);
    // The file's formula is for free space, as the command line reads it: a ground outweighs it.
    if (array.Ground.Kind == TGroundKind::None) array.Model = loaded.Wires.Formula;
    if (loaded.Wires.FrequencyMhz && array.Ground.Kind != TGroundKind::Real)
        array.Ground.FrequencyMhz = static_cast<long double>(*loaded.Wires.FrequencyMhz);
    warnings = std::move(loaded.Warnings);
    warnings.insert(warnings.end(), loaded.Messages.begin(), loaded.Messages.end());
    return array;
}

void SaveArray(const TPyArray& array, const std::string& path) {
    const TGround& ground = array.Ground;
    if (ground.Kind == TGroundKind::Real && !array.SoilGiven) {
        throw EUsageError(SoilNeededText());
    }
    if (const auto fault = GroundFault(ground)) throw EUsageError(ModuleReasonText(*fault));
    if (const auto fault = CheckCoupling(array.Array, array.Wires, ground))
        throw EUsageError(ModuleCouplingText(*fault));
    const std::string full = FullPath(path);
    TIniFile file = ConfigurationUpdate(full, array.Array, array.Array.EmitterType, &ground);
    TWireKeys keys;
    keys.Settings = array.Wires;
    keys.RadiusGiven = array.RadiusGiven;
    keys.FeedGiven = array.FeedGiven;
    keys.GroundModel = array.GroundModel;
    keys.Z0Given = array.Z0Given;
    if (ground.FrequencyMhz > 0) keys.FrequencyMhz = static_cast<double>(ground.FrequencyMhz);
    if (array.Elevation) keys.ElevationDegrees = static_cast<double>(*array.Elevation);
    if (array.Model && *array.Model != TFieldModel::OverGround && ground.Kind == TGroundKind::None)
        keys.Formula = array.Model;
    WriteWireKeys(file, keys);
    CommitConfiguration(file, full);
}
