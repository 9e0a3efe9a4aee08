#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/emitters.h"
#include "model/msgid.h"
#include "model/named.h"

// Amplitude distributions of a line of evenly spaced emitters, for side-lobe control.
enum class TTaperKind {
    Uniform,
    Binomial,   // rows of Pascal's triangle: no side lobes at half-wave spacing
    Chebyshev,  // Dolph-Chebyshev: every side lobe at the level
    Taylor,     // n-bar: the first n-bar - 1 side lobes near the level, the rest falling
};

inline constexpr TNamed<TTaperKind> kTaperKindNames[] = {{"uniform", TTaperKind::Uniform},
                                                         {"binomial", TTaperKind::Binomial},
                                                         {"chebyshev", TTaperKind::Chebyshev},
                                                         {"taylor", TTaperKind::Taylor}};

struct TTaper {
    TTaperKind Kind = TTaperKind::Uniform;
    long double SidelobeDb = -30;  // negative
    int Nbar = 4;
};

// The weights of `count` elements in order along the line, the largest 1.
std::vector<long double> TaperWeights(const TTaper& taper, int count);

// Sets the amplitudes of the enabled emitters when they lie evenly spaced on one line in slot
// order; otherwise leaves the array as it is and says why.
std::optional<TRefusal> ApplyTaper(TArray& array, const TTaper& taper);
