#include "cli/runner.h"
#include "config/configfile.h"
#include "config/safefile.h"

// The array as the window would save it, with the ground of the options over the file's.
int RunSave(const TCliOptions& options, std::string&) {
    return Guarded("", [&] {
        const TAnalysisRequest request = RequestFor(options, Configs(options).front());
        const TArraySession session = BuildSession(request.Steps);
        PrintMessages(session, "");
        StrictCheck(options, session);
        const TGround ground = ResolveGround(request.Ground, session.FileGround);
        SaveConfiguration(FullPath(options.OutputFile), session.Model, session.Model.EmitterType,
                          {}, &ground);
    });
}
