#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/arraycase.h"
#include "app/wireanalysis.h"
#include "config/wirekeys.h"
#include "model/emitters.h"
#include "model/field.h"
#include "model/ground.h"

// What the studio edits: the array with its currents, the formula in free space, the ground
// under it and the elevation of the azimuth cut. A value the user did not touch stays the
// exact value read, so that saving writes it back unchanged.
struct TStudioDocument {
    TArray Array;
    TFieldModel FreeSpaceModel = TFieldModel::Window;  // Window or FreeSpace; without a ground
    TGround Ground;                                    // Kind None: free space
    int Soil = 0;  // index into kSoils; -1 when the file's own values stand
    long double ElevationDegrees = 0;
    // Over ground the azimuth cut lies at the take-off angle until an elevation is chosen.
    bool ElevationAtTakeoff = true;
    // Real wires: each emitter's length, and the radius, feed and line impedance where set;
    // AllLengths stays unset (a length for every emitter is eight lengths).
    TWireRequest Wires;

    bool operator==(const TStudioDocument& other) const;
};

// The start state: the window's initial array (emitters 1-4 on a square a quarter wavelength
// from the centre, steered to bearing 45), in free space at the horizon.
TStudioDocument InitialDocument();

// The document as the engine takes it: the array, its formula (free space for wires: the
// window's formula is for ideal emitters) or its ground, the elevation, the wires and the cut.
TArrayCase CaseOf(const TStudioDocument& document, std::optional<int> cutBearing);

// The wires the document sets, over the defaults, the radius and the feed marked given.
TWireKeys WireKeysOf(const TStudioDocument& document);

// The frequency the document's distances in wavelengths are taken at (MHz): its ground's,
// which the studio keeps ready when the array is in free space.
long double DesignFrequencyMhz(const TStudioDocument& document);

// Whether an emitter switched on has a length: the wires are solved.
bool HasWires(const TStudioDocument& document);

// The soil preset whose values the ground has, or -1.
int SoilOf(const TGround& ground);

// A configuration file read as the command line reads it, with what the read passed over.
struct TOpenedDocument {
    TStudioDocument Document;
    std::vector<std::string> Warnings;
};
// How long opening waits for a pipe, fifo or device to give its text before it gives up.
inline constexpr std::chrono::milliseconds kOpenWait{3000};
// Throws EUsageError or EHandlerError with the reader's text when the file cannot be read, or
// has not come to its end within the wait.
TOpenedDocument OpenDocument(const std::string& fileName,
                             std::chrono::milliseconds wait = kOpenWait);

// Writes every key the command line knows into the file, the wires' as `save` writes them,
// keeping its other lines. Throws EHandlerError when it cannot be written (the earlier file is
// then unchanged), EUsageError for wires that cannot be.
void SaveDocument(const TStudioDocument& document, const std::string& fileName);
