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
    for (const TEmitterFeed& e : solved->Coupling.Emitters) {
        const auto& z = e.Drive.Impedance;
        columns.Cells[static_cast<std::size_t>(e.Number - 1)] = {
            FormatGeneral(e.LengthWavelengths),
            FormatGeneral(result.Session.Model.Emitter(e.Number).Amplitude),
            z ? ImpedanceText(*z) : std::string(Tr("none")),
            e.Drive.Swr ? FigureText(*e.Drive.Swr, 2) : std::string(Tr("none"))};
    }
    return columns;
}

std::vector<std::array<std::string, 2>> WireFigureRows(const TPatternResult& result) {
    std::vector<std::array<std::string, 2>> rows;
    const auto& solved = result.Wires.Solved;
    if (!solved) return rows;
    if (result.Field.Model != TFieldModel::OverGround) {
        const TFigure& gain = FigureOf("gain_dbi");
        const auto value = gain.Value(result);
        rows.push_back(
            {Tr(gain.Caption), value ? FigureText(*value, gain.Decimals) : Tr(gain.CaptionNone)});
    }
    rows.push_back({Tr("Efficiency"), FigureText(solved->Coupling.Efficiency, 4)});
    return rows;
}
