#include "cli/refusals.h"

#include "config/messages.h"

std::string CaseRefusalText(const TCaseFault& f) {
    if (auto text = CaseFaultText(f)) return *text;
    switch (f.Kind) {
        case TCaseFault::Unpolarised:
            return TrFormat(
                "over ground the emitters need a polarisation: type %s has none (use --type 1, "
                "2 or 3)",
                {std::to_string(f.Type)});
        case TCaseFault::NoFrequency:
            return Tr("--ground real needs --frequency in MHz");
        case TCaseFault::WindowWires:
            return Tr("--model window has no field of wires: with lengths leave it out");
        default:
            break;
    }
    return Tr("a length needs emitters along an axis: --type 1, 2 or 3");
}

std::string CouplingRefusalText(const TCouplingFault& fault) {
    TCaseFault f;
    f.Kind = TCaseFault::Wires;
    f.Coupling = fault;
    return CaseRefusalText(f);
}
