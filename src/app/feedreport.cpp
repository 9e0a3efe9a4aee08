#include "app/feedreport.h"

#include "app/feedanalysis.h"
#include "app/figures.h"
#include "config/messages.h"
#include "model/msgid.h"
#include "model/phaseangle.h"

TReportNetwork ReportNetworkOf(const TPatternResult& result) {
    TReportNetwork table;
    if (!result.Network) return table;
    const TFeedFigures& f = *result.Network;
    const auto none = [](const std::optional<double>& v, int decimals) {
        return v ? FigureText(*v, decimals) : std::string(Tr("none"));
    };
    table.Transmitter = {
        {Tr("Transmitter's impedance, ohm"), ImpedanceText(f.TransmitterImpedance)},
        {TrFormat("Transmitter's SWR against %s ohm", {FigureText(f.TransmitterResistance, 2)}),
         none(f.TransmitterSwr, 2)},
        {Tr("Transmitter's power, W"), FigureText(f.TransmitterPower, 4)},
        {Tr("Loss in lines and resistors, W"), FigureText(f.LossPower, 4)}};
    for (const char* head :
         {Msgid("No."), Msgid("Current, A"), Msgid("Phase, deg"), Msgid("Error, dB"),
          Msgid("Error, deg"), Msgid("Z in, ohms"), Msgid("Power, W")}) {
        table.Heads.push_back(Tr(head));
    }
    for (const TFeedEmitter& e : f.Emitters) {
        const auto [amplitude, phase] = AmplitudeAndPhase(e.Current);
        table.Emitters.push_back(
            {std::to_string(e.Number), FigureText(amplitude, 4), FigureText(PhaseDegrees(phase), 2),
             none(e.ErrorDb, 2), none(e.ErrorDeg, 2),
             e.Drive.Impedance ? ImpedanceText(*e.Drive.Impedance) : std::string(Tr("none")),
             FigureText(e.Drive.Power, 4)});
    }
    return table;
}
