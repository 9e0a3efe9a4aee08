#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "clirunner.h"

// A sweep's pictures take their files' places all together or not at all.

namespace {

std::vector<std::string> SweepWriting(const std::string& plot, const std::string& frames) {
    return {"sweep",   "--vary", "1:phase", "--from", "0",        "--to", "1",
            "--steps", "10",     "--plot",  plot,     "--frames", frames};
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_ino;
}

TEST(CliSweepFiles, AWriteThatFailsLeavesEveryFileAsItWasAndNamesIt) {
    TTempDir scratch;
    ASSERT_EQ(RunCli(SweepWriting(scratch.Path("p.png"), scratch.Path("f.gif"))).ExitCode, 0);
    const std::size_t chart = ReadBytes(scratch.Path("p.png")).size();
    const std::size_t animation = ReadBytes(scratch.Path("f.gif")).size();
    ASSERT_LT(chart * 2, animation);
    struct TCase {
        const char* Name;
        std::size_t FileSizeLimit;
        const char* Stdout;
        bool Existing;
        const char* Failing;  // the file named; standard output where none
        const char* Reason;
    };
    const std::vector<TCase> cases = {
        {"the animation overflows", (chart + animation) / 2, "", true, "f.gif", "File too large"},
        {"the chart overflows", chart / 2, "", false, "p.png", "File too large"},
        {"the rows overflow", 0, "/dev/full", true, nullptr, "No space left on device"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempDir dir;
        if (c.Existing) {
            WriteBytes(dir.Path("p.png"), "the earlier chart");
            WriteBytes(dir.Path("f.gif"), "the earlier animation");
        }
        const TCliRun run = RunCli(SweepWriting(dir.Path("p.png"), dir.Path("f.gif")), {}, c.Stdout,
                                   TCliUser::Same, c.FileSizeLimit);
        EXPECT_EQ(run.ExitCode, 1);
        const std::string what = c.Failing ? "Unable to write to " + dir.Path(c.Failing)
                                           : std::string("Stream write error");
        EXPECT_EQ(run.Err, what + ": " + c.Reason + ".\n");
        EXPECT_EQ(run.Out, "");
        if (c.Existing) {
            EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"f.gif", "p.png"}));
            // Compared whole, without printing a new picture's bytes.
            EXPECT_TRUE(ReadBytes(dir.Path("p.png")) == "the earlier chart");
            EXPECT_TRUE(ReadBytes(dir.Path("f.gif")) == "the earlier animation");
        } else {
            EXPECT_TRUE(dir.Entries().empty());
        }
    }
}

// A device is written before any file is renamed: where it fails, the other files are as they
// were (the rows, written before either, are out).
TEST(CliSweepFiles, AFullDeviceAmongTheFilesLeavesTheOthersAsTheyWere) {
    TTempDir dir;
    WriteBytes(dir.Path("p.png"), "the earlier chart");
    ASSERT_EQ(::symlink("/dev/full", dir.Path("f.gif").c_str()), 0);
    const TCliRun run = RunCli(SweepWriting(dir.Path("p.png"), dir.Path("f.gif")));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "Unable to write to " + dir.Path("f.gif") + ": No space left on device.\n");
    EXPECT_TRUE(ReadBytes(dir.Path("p.png")) == "the earlier chart");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"f.gif", "p.png"}));
}

// A second name of the animation keeps the earlier file: nothing is written over it in place,
// so no failure or kill can leave new frames over its head.
TEST(CliSweepFiles, AHardLinkedAnimationIsReplacedNotWrittenOver) {
    TTempDir dir;
    WriteBytes(dir.Path("h.gif"), "the earlier animation");
    ASSERT_EQ(::link(dir.Path("h.gif").c_str(), dir.Path("second.gif").c_str()), 0);
    const ino_t earlier = InodeOf(dir.Path("h.gif"));
    const TCliRun run = RunCli(SweepWriting(dir.Path("p.png"), dir.Path("h.gif")));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(ReadBytes(dir.Path("h.gif")).substr(0, 6), "GIF89a");
    EXPECT_NE(InodeOf(dir.Path("h.gif")), earlier);
    EXPECT_EQ(ReadBytes(dir.Path("second.gif")), "the earlier animation");
}

}  // namespace
