#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "clirunner.h"
#include "jsonreader.h"

// Amplitudes from the file and from --set, and what the outputs say of them.

namespace {

TJson Json(const std::vector<std::string>& more) {
    std::vector<std::string> args = {"pattern", "--format", "json", "--decimal-mark", "."};
    args.insert(args.end(), more.begin(), more.end());
    const TCliRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return ParseJson(run.Out);
}

TEST(CliExcitation, SetChangesOneFieldAfterLoadingAndBeforeFocusing) {
    // A lag of 90 degrees is a quarter period; the cardioid beams towards the larger phase.
    const TJson pair = Json({"--type", "0", "--set", "3:on=0", "--set", "4:on=0", "--set",
                             "1:x=-0.125", "--set", "1:y=0", "--set", "1:phase=0", "--set",
                             "2:x=0.125", "--set", "2:y=0", "--set", "2:phase=90deg"});
    EXPECT_EQ(pair["emitters"][1]["phase"].Number(), 0.25L);
    EXPECT_EQ(pair["bearing"].Number(), 90);
    EXPECT_NEAR(static_cast<double>(pair["max_gain"].Number()), 2, 1e-15);
    // Switching off the last emitter on is refused as the window refuses it.
    const TCliRun refused =
        RunCli({"pattern", "--set", "1:on=0", "--set", "2:on=0", "--set", "3:on=0", "--set",
                "4:on=0"});
    EXPECT_EQ(refused.ExitCode, 0);
    EXPECT_NE(refused.Err.find("Один излучатель необходимо оставить включенным!"),
              std::string::npos);
    // Focusing comes after the settings and rewrites the phases of the emitters on.
    const TJson focused = Json({"--set", "1:amplitude=0.5", "--focus", "45"});
    EXPECT_EQ(focused["emitters"][0]["amplitude"].Number(), 0.5L);
    EXPECT_EQ(focused["bearing"].Number(), 45);
    EXPECT_NEAR(static_cast<double>(focused["max_gain"].Number()), 3.5, 1e-15);
    for (const char* bad : {"9:x=0", "1:z=0", "1:amplitude=-1", "1:on=2", "1:x", "1:phase=abc"}) {
        const TCliRun run = RunCli({"pattern", "--set", bad});
        EXPECT_EQ(run.ExitCode, 2) << bad;
        EXPECT_NE(run.Err.find("--set"), std::string::npos) << run.Err;
    }
}

TEST(CliExcitation, AmplitudesLoadSaveAndWarn) {
    TTempDir dir;
    const std::string file = dir.Path("a.txt");
    ASSERT_EQ(RunCli({"save", file, "--set", "2:amplitude=0.5"}).ExitCode, 0);
    const std::string saved = ReadBytes(file);
    // Written where it is not 1 only: once.
    const std::string key = "\xC0\xEC\xEF\xEB\xE8\xF2\xF3\xE4\xE0=";
    EXPECT_EQ(saved.find(key), saved.rfind(key));
    EXPECT_NE(saved.find(key + "0"), std::string::npos);
    const TJson loaded = Json({"--config", file});
    EXPECT_EQ(loaded["emitters"][1]["amplitude"].Number(), 0.5L);
    EXPECT_EQ(loaded["emitters"][0]["amplitude"].Number(), 1);

    std::string bad = saved;
    bad.replace(bad.find(key) + key.size(), 3, "abc");
    {
        std::ofstream(file, std::ios::binary) << bad;
    }
    const TCliRun run = RunCli({"pattern", "--config", file});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Err.find("warning"), std::string::npos);
    EXPECT_NE(run.Err.find("[Излучатель 2] Амплитуда"), std::string::npos) << run.Err;
    EXPECT_EQ(Json({"--config", file})["emitters"][1]["amplitude"].Number(), 0);
}

}  // namespace
