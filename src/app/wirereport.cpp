#include "app/wirereport.h"

#include "app/figures.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/msgid.h"

TWireColumns WireColumnsOf(const TPatternResult& result) {
    TWireColumns columns;
    const auto& solved = result.Wires.Solved;
    if (!solved) return columns;
    for (const char* head : {Msgid("L, λ"), Msgid("Ampl."), Msgid("Z in, ohms"), Msgid("SWR")}) {
        columns.Heads.push_back(Tr(head));
    }
    const TEmitterFigure& impedance = EmitterFigureOf("drive_r_ohm_");
    const TEmitterFigure& swr = EmitterFigureOf("swr_");
    for (const TEmitterFeed& e : solved->Coupling.Emitters) {
        columns.Cells[static_cast<std::size_t>(e.Number - 1)] = {
            FormatGeneral(e.LengthWavelengths),
            FormatGeneral(result.Session.Model.Emitter(e.Number).Amplitude),
            EmitterFigureText(impedance, e), EmitterFigureText(swr, e)};
    }
    return columns;
}
