#include "cli/runner.h"
#include "config/errors.h"
#include "config/messages.h"
#include "config/necdeck.h"
#include "config/safefile.h"
#include "config/wiredeck.h"

// The deck of the array as the analysis sees it, its patterns at the elevation used and along
// the cut's bearing.
int RunNec(const TCliOptions& options, std::string&) {
    return Guarded("", [&] {
        const TPatternResult result = Analyse(RequestFor(options, Configs(options).front()));
        PrintMessages(result.Session, "");
        StrictCheck(options, result.Session);
        TNecRequest request;
        request.DipoleLengthWavelengths = options.DipoleLength;
        request.ElevationDegrees = result.Field.ElevationDegrees;
        request.CutBearing = result.CutBearing;
        std::string deck;
        if (const auto& wires = result.Wires.Solved) {
            // The wires as they are, driven with the solved voltages: NEC then reproduces the
            // currents, the designed ones under a current feed.
            std::vector<std::complex<double>> voltages;
            for (const TEmitterFeed& e : wires->Coupling.Emitters) voltages.push_back(e.Voltage);
            deck = WireNecDeck(result.Session.Model, result.Wires.Settings,
                               wires->System.Array().Ground, voltages,
                               {static_cast<double>(request.ElevationDegrees),
                                static_cast<double>(request.CutBearing), 1});
        } else {
            deck = NecDeck(result.Session.Model, result.Field.Ground, request);
        }
        const TFileWriteResult written = ReplaceFileContents(options.OutputFile, deck);
        if (!written.Ok()) {
            throw EFileError(TrFormat("Unable to write to %s", {options.OutputFile}),
                             written.Errno);
        }
    });
}
