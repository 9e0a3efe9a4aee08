#pragma once

#include <string>

#include "model/emitters.h"
#include "model/field.h"

// What the deck asks NEC for besides the array: the azimuth pattern at an elevation and an
// elevation cut at a bearing.
struct TNecRequest {
    long double DipoleLengthWavelengths = 0.02L;
    long double ElevationDegrees = 0;  // of the azimuth pattern
    int CutBearing = 0;                // compass degrees of the elevation cut
};

// A NEC-2 input deck of the array: a short centre-fed dipole along each enabled emitter's axis
// at its position and the ground's height, voltage sources whose phases make the currents
// follow this program's convention, the ground card, the frequency and the pattern cards.
// Lines end in CR LF; numbers are written with a full stop whatever the locale.
std::string NecDeck(const TArray& array, const TGround& ground, const TNecRequest& request);

// NEC's ground card for real ground: "2", its Sommerfeld-Norton ground, or "0", its
// reflection-coefficient approximation, as the ground's model.
std::string GroundCard(const TGround& ground);
