#pragma once

#include <array>

// One emitter slot. Coordinates and phase in wavelengths; east and north positive.
struct TEmitter {
    long double X = 0;
    long double Y = 0;
    long double Phase = 0;  // 1.0 is one full period
    bool Enabled = false;
    long double Amplitude = 1;  // relative current; scales the emitter's phasor
};

// The kind of emitter, held as the item index of the type radio group; -1 means no item.
enum TEmitterType : int {
    etOmni = 0,
    etVerticalDipole = 1,
    etHorizontalDipoleNS = 2,
    etHorizontalDipoleWE = 3,
};

// A dipole along an axis: the types with a polarisation, which a ground reflects and a wire
// can be.
inline constexpr bool IsDipoleType(int type) {
    return type == etVerticalDipole || type == etHorizontalDipoleNS || type == etHorizontalDipoleWE;
}

inline constexpr int kEmitterTypeCount = 4;  // the radio group's items
inline constexpr int kEmitterCount = 8;
inline constexpr int kInitialEnabledCount = 4;  // emitters 1..4 start switched on

// What the user designs: the eight emitters and their kind. No form state, no results.
struct TArray {
    std::array<TEmitter, kEmitterCount> Emitters{};  // Emitters[k - 1] is emitter k
    int EmitterType = etOmni;                        // -1 .. kEmitterTypeCount - 1

    TEmitter& Emitter(int k) { return Emitters[static_cast<unsigned>(k - 1)]; }
    const TEmitter& Emitter(int k) const { return Emitters[static_cast<unsigned>(k - 1)]; }
    // The number of emitters switched on.
    int EnabledCount() const;
};

// X, Y and Phase of all eight emitters as start-up sets them (the 2 x 2 square steered to
// bearing 45); Enabled flags are left alone, start-up copies them from the check boxes.
void FillInitialTable(TArray& array);
// The start array: FillInitialTable, emitters 1-4 enabled, type omni.
TArray MakeInitialArray();

// Full scale of a pattern, the outer ring of the diagram and the 0 dB of every chart: all
// enabled emitters in phase, the sum of their amplitudes.
long double FullScale(const TArray& array);

// Spin position (-64..64) to wavelengths: position / 64.
long double SpinToValue(int position);
// Wavelengths to a spin position: value x 64 rounded half to even; values beyond +-1
// wavelength give the nearer end of -64..64, never an error.
int ValueToSpin(long double value);
