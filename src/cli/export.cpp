#include "cli/runner.h"
#include "plot/exportpicture.h"

// The window's own export: its formula at the elevation, whatever the file's ground.
int RunExport(const TCliOptions& options, std::string&) {
    return Guarded("", [&] {
        const TArraySession session =
            BuildSession(RequestFor(options, Configs(options).front()).Steps);
        PrintMessages(session, "");
        StrictCheck(options, session);
        TExportPicture picture;
        picture.Draw(session.Model, session.Pattern, options.Field.ElevationDegrees);
        picture.Save(options.OutputFile);
    });
}
