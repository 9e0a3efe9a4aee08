#include "cli/request.h"
#include "cli/runner.h"
#include "config/configfile.h"
#include "config/safefile.h"

// The array as the window would save it, with the ground of the options over the file's, and
// the wires' keys where the options or the file give them.
int RunSave(const TCliOptions& options, std::string&) {
    return Guarded("", [&] {
        const TAnalysisRequest request = RequestFor(options, Configs(options).front());
        const TArraySession session = BuildSession(request.Steps);
        PrintMessages(session, "");
        StrictCheck(options, session);
        const TGround ground = ResolveGround(request.Ground, session.FileGround);
        const TWireKeys wires = WireKeysToSave(request, session, session.Model, ground);
        const std::string path = FullPath(options.OutputFile);
        TIniFile file =
            ConfigurationUpdate(path, session.Model, session.Model.EmitterType, &ground);
        WriteWireKeys(file, wires);
        CommitConfiguration(file, path);
    });
}
