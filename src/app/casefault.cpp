#include "app/arraycase.h"

#include "app/figures.h"
#include "config/messages.h"
#include "config/numtext.h"

namespace {

std::string Emitter(int k) {
    return FormatInteger(k);
}

std::optional<std::string> CouplingText(const TCouplingFault& f) {
    switch (f.Kind) {
        case TCouplingFault::MixedLengths:
            return TrFormat(
                "emitter %s has a length and emitter %s none: every emitter switched on needs "
                "one, or none",
                {Emitter(f.First), Emitter(f.Second)});
        case TCouplingFault::NoWireType:
            return std::nullopt;
        case TCouplingFault::BadLength:
            return TrFormat(
                "emitter %s: a length of wavelengths, at least %s and at most %s",
                {Emitter(f.First), FormatGeneral(kMinWireLength), FormatGeneral(kMaxWireLength)});
        case TCouplingFault::ThinWire:
            return TrFormat("the radius must be at least %s wavelengths",
                            {FormatGeneral(kMinWireRadius)});
        case TCouplingFault::Spread:
            return TrFormat(
                "emitter %s: its wire lies more than %s wavelengths from the middle of the "
                "array, over ground its height counted",
                {Emitter(f.First), FormatGeneral(kMaxWireReach)});
        case TCouplingFault::ThickWire:
            return TrFormat("emitter %s: the radius must be under a tenth of its length",
                            {Emitter(f.First)});
        case TCouplingFault::ReachesGround:
            return TrFormat(
                "emitter %s: its wire reaches the ground (only over perfect ground at height 0 "
                "does an upright wire stand on it, as a monopole)",
                {Emitter(f.First)});
        case TCouplingFault::Touch:
            return TrFormat("emitters %s and %s: their wires touch",
                            {Emitter(f.First), Emitter(f.Second)});
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CaseFaultText(const TCaseFault& f) {
    switch (f.Kind) {
        case TCaseFault::Unpolarised:
        case TCaseFault::NoFrequency:
        case TCaseFault::WindowWires:
            return std::nullopt;
        case TCaseFault::BadHeight:
            return TrFormat("invalid height %s: a number of wavelengths of 0 or more",
                            {FormatGeneral(f.Value)});
        case TCaseFault::BadPermittivity:
            return TrFormat("invalid permittivity %s: a relative permittivity of 1 or more",
                            {FormatGeneral(f.Value)});
        case TCaseFault::BadConductivity:
            return TrFormat("invalid conductivity %s: S/m, 0 or more", {FormatGeneral(f.Value)});
        case TCaseFault::Wires:
            return CouplingText(f.Coupling);
        case TCaseFault::ThinWireModel:
            break;
    }
    return TrFormat(
        "the thin-wire model does not hold for these wires: the power they radiate is %s of the "
        "power fed to them (use a thinner radius)",
        {FigureText(f.Value, 4)});
}
