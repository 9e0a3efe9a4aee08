#pragma once

#include <array>

// One emitter slot. Coordinates and phase in wavelengths; east and north positive.
struct TEmitter {
    long double X = 0;
    long double Y = 0;
    long double Phase = 0;  // 1.0 is one full period
    bool Enabled = false;
};

// The kind of emitter, held as the item index of the type radio group; -1 means no item.
enum TEmitterType : int {
    etOmni = 0,
    etVerticalDipole = 1,
    etHorizontalDipoleNS = 2,
    etHorizontalDipoleWE = 3,
};

inline constexpr int kEmitterTypeCount = 4;  // the radio group's items
inline constexpr int kEmitterCount = 8;
inline constexpr int kInitialEnabledCount = 4;  // emitters 1..4 start switched on
inline constexpr int kSampleCount = 361;        // one per degree, sample 360 repeats sample 0

// The result of one pattern computation. MaxGain is reset by each computation; MaxGainAngle
// keeps its previous index when no sample exceeds 0.
struct TPattern {
    std::array<long double, kSampleCount> Samples{};
    long double MaxGain = 0;
    int MaxGainAngle = 0;  // sample index 0..360
};

// The one array model that every subsystem sees.
struct TArrayModel {
    std::array<TEmitter, kEmitterCount> Emitters{};  // Emitters[k - 1] is emitter k
    int SelectedRow = 1;                             // grid row 1..8 the spins edit
    int EnabledCount = 0;
    int EmitterType = etOmni;  // -1 .. kEmitterTypeCount - 1
    TPattern Pattern;

    TEmitter& Emitter(int k) { return Emitters[static_cast<unsigned>(k - 1)]; }
    const TEmitter& Emitter(int k) const { return Emitters[static_cast<unsigned>(k - 1)]; }
};

// X, Y and Phase of all eight emitters as start-up sets them (the 2 x 2 square steered to
// bearing 45); Enabled flags are left alone, start-up copies them from the check boxes.
void FillInitialTable(TArrayModel& model);
// The whole start state: FillInitialTable, emitters 1-4 enabled, EnabledCount 4,
// SelectedRow 1, type omni.
TArrayModel MakeInitialModel();

// Spin position (-64..64) to wavelengths: position / 64.
long double SpinToValue(int position);
// Wavelengths to a spin position: value x 64 rounded half to even; values beyond +-1
// wavelength give the nearer end of -64..64, never an error.
int ValueToSpin(long double value);

// The number of emitters switched on.
int CountEnabled(const TArrayModel& model);
