#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/arraycase.h"
#include "app/bounds.h"
#include "model/coupling.h"
#include "model/emitters.h"
#include "model/field.h"
#include "model/network.h"

// One emitter as a script writes it. Positions and lengths in wavelengths, the phase in
// periods of lag, the amplitude a relative current.
struct TPyEmitter {
    double X = 0;
    double Y = 0;
    double Phase = 0;
    double Amplitude = 1;
    bool On = true;
    std::optional<double> Length;
    std::optional<double> Radius;  // its wire's own, wavelengths; none: the array's
};

// An array as the module holds it: the engine's values kept in extended precision, so that a
// loaded file is analysed exactly as the command line analyses it.
struct TPyArray {
    TArray Array;
    int Count = 0;  // the emitters a script sees, slots 1..Count
    TWireSettings Wires;
    bool RadiusGiven = false;
    bool FeedGiven = false;
    bool Z0Given = false;              // saved only where set or loaded, as the command line's save
    std::optional<TFieldModel> Model;  // none: the window's, free space for wires, over a ground
    TGround Ground;
    bool SoilGiven = false;                // a real ground's permittivity and conductivity were set
    std::optional<long double> Elevation;  // degrees; none: 0, over ground the take-off angle
    std::optional<TGroundModel> GroundModel;  // how wires see real ground; none: Sommerfeld's
    // The feed network the wires are driven through, and the netlist it was read from.
    std::shared_ptr<const TNetwork> Network;
    std::string NetworkFile;

    std::vector<TPyEmitter> Emitters() const;
    // Throws EUsageError for more than eight emitters or a value out of its range.
    void SetEmitters(const std::vector<TPyEmitter>& emitters);
};

// The case the engine analyses, resolved as the command line resolves its options and file.
// Throws EUsageError with the module's reason where the array cannot be analysed as given.
TArrayCase CaseOf(const TPyArray& array, std::optional<int> cutBearing);

// The configuration file's array, its ground and wire keys; the load's warnings are appended.
// Throws EUsageError or EFileError.
TPyArray LoadArray(const std::string& path, std::vector<std::string>& warnings);

// Writes the array as the command line's save writes it: over an earlier file its other keys
// stay. Throws EUsageError for wires that cannot be, EHandlerError when it cannot write.
void SaveArray(const TPyArray& array, const std::string& path);

// Reads the netlist the wires are fed through. Throws EFileError or EUsageError with its line.
void SetNetwork(TPyArray& array, const std::optional<std::string>& path);

// A quantity's value from Python checked against the range the faces share. Throws EUsageError
// naming the keyword.
long double Checked(const std::string& keyword, double value, TQuantity quantity);
