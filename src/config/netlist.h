#pragma once

#include <stdexcept>
#include <string>

#include "model/network.h"

// A netlist line the program does not take, with its number (from 1) and why.
class ENetlistError : public std::runtime_error {
  public:
    ENetlistError(int line, const std::string& reason) : std::runtime_error(reason), Line(line) {}
    int Line;
};

// The feed network of a netlist in the subset of SPICE that a feed needs, read as ngspice
// reads it: the first line is the title, "+" continues a line, "*" starts a comment, values
// take SPICE's suffixes (M milli, MEG mega). R, L and C parts; lossless lines T with Z0= and
// TD= or F= [NL=] over ground; one V source with an AC magnitude and phase, in series with a
// resistor RTX, the transmitter. Nodes E1..E8 are the emitters' ports. Comment lines
// "*@ loss T1 1.2" (dB per 100 m at the design frequency) and "*@ vf T1 0.66" give what
// ngspice does not know of a line. Throws ENetlistError.
TNetwork ReadNetlist(const std::string& text);

// The network as a netlist ReadNetlist and ngspice both read, values to 12 digits.
std::string NetlistText(const TNetwork& network);

// A value in SPICE's form, "4.7u" read as 4.7e-6; none for anything else.
std::optional<double> SpiceValue(std::string_view text);
