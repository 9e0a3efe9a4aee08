#pragma once

#include <string>

#include "model/wirevalidity.h"

// The figure of a rule as the text output gives it: wavelengths to four decimals, ratios and
// percentages to two.
std::string ValidityFigureText(const TValidityRule& rule, double value);

// What the elements are and the sinusoidal modes on each, emitter by emitter, as the studio
// shows them beside its warnings.
std::string ValidityModesText(const TWireValidity& validity);

// One line for the text output: what the elements are, their modes, and the rules broken.
std::string ValidityTextLine(const TWireValidity& validity);

// The warning of one broken rule, naming its emitters.
std::string ValidityWarning(const TValidityRule& rule);
