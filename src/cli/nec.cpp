#include "cli/runner.h"
#include "config/errors.h"
#include "config/messages.h"
#include "config/necdeck.h"
#include "config/safefile.h"

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
        const std::string deck = NecDeck(result.Session.Model, result.Field.Ground, request);
        const TFileWriteResult written = ReplaceFileContents(options.OutputFile, deck);
        if (!written.Ok()) {
            throw EFileError(TrFormat("Unable to write to %s", {options.OutputFile}),
                             written.Errno);
        }
    });
}
