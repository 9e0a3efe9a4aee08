#include "python/reasons.h"

#include "config/messages.h"

std::string ModuleReasonText(const TCaseFault& f) {
    if (auto text = CaseFaultText(f)) return *text;
    switch (f.Kind) {
        case TCaseFault::Unpolarised:
            return TrFormat(
                "over ground the emitters need a polarisation: type %s has none (type=1, 2 or 3)",
                {std::to_string(f.Type)});
        case TCaseFault::NoFrequency:
            return Tr("a real ground needs frequency= in MHz, above 0");
        case TCaseFault::WindowWires:
            return Tr("model='window' has no field of wires: with lengths leave model unset");
        default:
            break;
    }
    return Tr("a length needs emitters along an axis: type=1, 2 or 3");
}

std::string ModuleCouplingText(const TCouplingFault& fault) {
    TCaseFault f;
    f.Kind = TCaseFault::Wires;
    f.Coupling = fault;
    return ModuleReasonText(f);
}

std::string SoilNeededText() {
    return Tr(
        "ground='real' needs its soil: soil='average' (or another soil's name) or "
        "soil=(permittivity, conductivity)");
}
