#include "studio/reasons.h"

#include "config/messages.h"

std::string StudioReasonText(const TCaseFault& f) {
    if (auto text = CaseFaultText(f)) return *text;
    switch (f.Kind) {
        case TCaseFault::Unpolarised:
            return Tr(
                "Over ground the emitters need a polarisation: choose vertical or "
                "horizontal dipoles.");
        case TCaseFault::NoFrequency:
            return Tr("A real ground needs a frequency above 0: set Frequency, MHz.");
        case TCaseFault::WindowWires:
            return Tr("The window's formula has no field of wires: choose free space as the Model.");
        default:
            break;
    }
    return Tr("A length needs emitters along an axis: choose vertical or horizontal dipoles.");
}
