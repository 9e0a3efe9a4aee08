#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "app/version.h"
#include "clirunner.h"
#include "config/cp1251.h"
#include "config/inifile.h"

namespace {

struct TUsageCase {
    std::vector<std::string> Args;
    std::string Named;  // what the one-line message must name
};

// Every bad option or value: exit 2, one line on standard error naming it, nothing on
// standard output, and no file written.
TEST(CliErrors, BadOptionsAndValuesExitTwoAndWriteNothing) {
    TTempDir dir;
    const std::string out = dir.Path("out.txt");
    std::vector<TUsageCase> cases = {
        {{}, "missing command"},
        {{"draw"}, "draw"},
        {{"pattern", "--bogus"}, "--bogus"},
        {{"pattern", "-x"}, "-x"},
        {{"pattern", "--type"}, "--type"},
        {{"save", out, "--type", "two"}, "--type"},
        {{"save", out, "--type", "99999999999"}, "--type"},
        {{"export", dir.Path("p.bmp"), "--focus", "360"}, "--focus"},
        {{"save", out, "--focus", "-1"}, "--focus"},
        {{"save", out, "--focus", "4.5"}, "--focus"},
        {{"save", out, "--focus", "+45"}, "--focus"},
        {{"save", out, "--elevation", "85.5"}, "--elevation"},
        {{"save", out, "--elevation", "-1"}, "--elevation"},
        {{"save", out, "--elevation", "abc"}, "--elevation"},
        {{"save", out, "--elevation", "1E400"}, "--elevation"},
        {{"save", out, "--elevation", "5,0", "--decimal-mark", ";"}, "--elevation"},
        {{"save", out, "--decimal-mark", ""}, "--decimal-mark"},
        {{"save", out, "--decimal-mark", ",,"}, "--decimal-mark"},
        {{"save", out, "--decimal-mark", "5"}, "--decimal-mark"},
        {{"save", out, "--decimal-mark", "E"}, "--decimal-mark"},
        {{"pattern", "--format", "xml"}, "--format"},
        {{"save", out, "--format", "json"}, "--format"},
        {{"export"}, "missing output file"},
        {{"save"}, "missing output file"},
        {{"pattern", "extra"}, "extra"},
        {{"save", out, "second.txt"}, "second.txt"},
        {{"save", out, "--config", dir.Path("missing.txt")}, "--config"},
        {{"save", out, "--config", dir.Path("")}, "--config"},
        {{"pattern", "--ground", "marsh"}, "--ground"},
        {{"pattern", "--ground", "perfect", "--model", "window"}, "--model"},
        {{"pattern", "--ground", "real", "--type", "1", "--height", "0.2"}, "--frequency"},
        {{"pattern", "--ground", "real", "--frequency", "0"}, "--frequency"},
        {{"pattern", "--ground", "real", "--frequency", "7", "--soil", "clay"}, "--soil"},
        {{"save", out, "--ground", "perfect", "--height", "-1"}, "--height"},
        {{"save", out, "--height", "0.3"}, "--ground"},
        {{"pattern", "--ground", "perfect", "--type", "0"}, "type 0"},
        {{"nec", dir.Path("d.nec"), "--ground", "perfect", "--type", "-1"}, "type -1"},
        {{"plot", "--kind", "elevation-heights", dir.Path("h.png")}, "--ground"},
        {{"export", dir.Path("p.bmp"), "--ground", "perfect"}, "--ground"},
        {{"pattern", "--taper", "hann"}, "--taper"},
        {{"pattern", "--taper", "chebyshev:30"}, "--taper"},
        {{"pattern", "--taper", "taylor:-30:1"}, "--taper"},
        {{"pattern", "--taper", "binomial"}, "--taper"},
        {{"pattern", "--help=1"}, "--help takes no value"},
        {{"plot", "--kind",   "report", "--config", "1", "--config",       "2", "--config",
          "3",    "--config", "4",      "--config", "5", "--config",       "6", "--config",
          "7",    "--config", "8",      "--config", "9", dir.Path("r.png")},
         "at most 8 files"},
        {{"pattern", "--version="}, "--version takes no value"},
        {{"pattern", "--set", "1:amplitude=1e101"}, "--set"},
        {{"pattern", "--set", "2:x=1e7"}, "--set"},
        {{"pattern", "--type", "1", "--ground", "real", "--height", "0.5", "--frequency", "14"},
         "--permittivity, --conductivity"},
        {{"pattern", "--type", "1", "--ground", "real", "--height", "0.5", "--frequency", "14",
          "--permittivity", "1"},
         "missing: --conductivity"},
        {{"save", out, "--ground", "none", "--height", "0.5"}, "ground"},
        {{"sweep", "--vary", "elevation", "--from", "0", "--to", "1", "--steps", "2001", "--frames",
          dir.Path("f.gif")},
         "at most 2000"},
        {{"pattern", "--type", "1\n2"}, "'1\\n2'"},
        {{"save", out, "--config", dir.Path("a\r\nb")}, "a\\r\\nb"},
    };
    std::vector<TUsageCase> repeated = {
        {{"plot", "--kind", "polar-db", dir.Path("p.png")}, "plot draws at most 64 files"},
        {{"plot", "--kind", "elevation-heights", "--type", "1", "--ground", "perfect",
          dir.Path("h.png")},
         "at most 32 heights"}};
    for (int k = 0; k < 65; ++k) repeated[0].Args.insert(repeated[0].Args.end(), {"--config", "x"});
    for (int k = 0; k < 33; ++k) repeated[1].Args.insert(repeated[1].Args.end(), {"--height", "1"});
    for (const auto& c : repeated) cases.push_back(c);
    for (const auto& c : cases) {
        const TCliRun run = RunCli(c.Args);
        const std::string what = c.Args.empty() ? "(none)" : c.Args.back();
        EXPECT_EQ(run.ExitCode, 2) << what;
        EXPECT_EQ(run.Out, "") << what;
        EXPECT_NE(run.Err.find(c.Named), std::string::npos) << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        EXPECT_TRUE(dir.Entries().empty()) << what;
    }
}

// A huge value is quoted only so far: the message stays a line a person reads.
TEST(CliErrors, UsageErrorsQuoteAtMostEightyCharactersOfAValue) {
    const std::string value = "\u00e9" + std::string(300, 'x');
    const TCliRun run = RunCli({"pattern", "--format", value});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find("\u00e9" + std::string(79, 'x') + "\u2026'"), std::string::npos)
        << run.Err;
    EXPECT_LT(run.Err.size(), 200U);
}

// The window reads a configuration it cannot read as empty and goes on with the defaults; a
// script is told instead, and nothing is written.
TEST(CliErrors, UnreadableConfigurationIsRefusedNotTakenAsDefaults) {
    TTempDir dir;
    const std::string huge = dir.Path("huge.txt");
    WriteBytes(huge, "");
    std::filesystem::resize_file(huge, TIniFile::kMaxFileSize + 1);
    const std::string locked = dir.Path("locked.txt");
    WriteBytes(locked, ConfigText(MakeInitialArray(), 1));
    ::chmod(locked.c_str(), 0);
    // Open to the unprivileged user, so that only the file's own bits refuse the read.
    ::chmod(dir.Path("").c_str(), 0777);
    for (const auto& config : {huge, locked}) {
        const TCliRun run = RunCli({"save", dir.Path("out.txt"), "--config", config}, {}, "",
                                   TCliUser::Unprivileged);
        EXPECT_EQ(run.ExitCode, 2) << config;
        EXPECT_NE(run.Err.find("--config " + config), std::string::npos) << run.Err;
        EXPECT_FALSE(FileExists(dir.Path("out.txt"))) << config;
    }
}

TEST(CliErrors, HelpAndVersionGoToStandardOutput) {
    const TCliRun version = RunCli({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "arraypattern-cli " ARRAYPATTERN_PACKAGE_VERSION "\n");
    for (const char* flag : {"-h", "--help"}) {
        const TCliRun help = RunCli({"pattern", flag});
        EXPECT_EQ(help.ExitCode, 0);
        EXPECT_EQ(help.Err, "");
        for (const char* term : {"--config FILE", "--decimal-mark C", "beamwidth_deg",
                                 "front_to_back_db", "side_lobe_db", "nulls", "-40 dB"}) {
            EXPECT_NE(help.Out.find(term), std::string::npos) << term;
        }
    }
}

struct TWriteFailureCase {
    std::string Command;
    std::string Target;  // relative to the test folder
    std::string Error;   // the window's error text, with the full path in place of %s
};

// A file that cannot be written: the window's error text with the system's reason after it,
// exit 1, the folder unchanged.
TEST(CliErrors, UnwritableFilesGiveTheWindowsErrorTextAndTheCause) {
    TTempDir dir;
    ::mkdir(dir.Path("folder").c_str(), 0700);
    const std::string locked = dir.Path("locked.txt");
    WriteBytes(locked, "earlier\r\n");
    ::chmod(locked.c_str(), 0444);
    // Open to the unprivileged user, so that only the file's own bits refuse the save, and the
    // folder readable, so that it is refused as a folder.
    ::chmod(dir.Path("").c_str(), 0777);
    ::chmod(dir.Path("folder").c_str(), 0755);
    const std::vector<TWriteFailureCase> cases = {
        {"save", "missing/out.txt",
         "Unable to write to " + dir.Path("missing/out.txt") + ": No such file or directory."},
        {"export", "missing/out.bmp",
         "Cannot create file \"" + dir.Path("missing/out.bmp") + "\". No such file or directory."},
        {"save", "folder", "Unable to write to " + dir.Path("folder") + ": Is a directory."},
        {"save", "locked.txt", "Unable to write to " + locked + ": Permission denied."},
        {"nec", "missing/out.nec",
         "Unable to write to " + dir.Path("missing/out.nec") + ": No such file or directory."},
    };
    for (const auto& c : cases) {
        const TCliRun run = RunCli({c.Command, dir.Path(c.Target)}, {}, "", TCliUser::Unprivileged);
        EXPECT_EQ(run.ExitCode, 1) << c.Target;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, c.Error + "\n");
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder", "locked.txt"}));
        EXPECT_TRUE(std::filesystem::is_empty(dir.Path("folder")));
        EXPECT_EQ(ReadBytes(locked), "earlier\r\n");
    }
}

// A value beyond the double range stops the load with the window's error; nothing is
// printed or written.
TEST(CliErrors, OverflowingConfigurationStopsEveryCommand) {
    TTempDir dir;
    WriteBytes(dir.Path("huge.txt"),
               "[" + std::string(kEmitterSectionPrefix) + "1]\r\nX=1E400\r\n");
    for (const std::string command : {"pattern", "save", "export", "nec"}) {
        std::vector<std::string> args = {command};
        if (command != "pattern") args.push_back(dir.Path("out"));
        args.insert(args.end(), {"--config", dir.Path("huge.txt"), "--decimal-mark", ","});
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 1) << command;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "Floating point overflow.\n");
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"huge.txt"});
    }
}

TEST(CliErrors, FailedWriteToStandardOutputIsReported) {
    const TCliRun run = RunCli({"pattern", "--format", "json"}, {}, "/dev/full");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "Stream write error: No space left on device.\n");
}

}  // namespace
