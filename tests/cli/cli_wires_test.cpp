#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <locale>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "clirunner.h"
#include "config/cp1251.h"
#include "config/inifile.h"
#include "config/wirekeys.h"
#include "jsonreader.h"

namespace {

// The four-square of quarter-wave monopoles on a quarter-wave square, current-fed in the
// textbook phases towards bearing 45.
const std::vector<std::string> kFourSquare = {"pattern",
                                              "--format",
                                              "json",
                                              "--type",
                                              "1",
                                              "--ground",
                                              "perfect",
                                              "--height",
                                              "0",
                                              "--length",
                                              "0.25",
                                              "--set",
                                              "1:x=-0.125",
                                              "--set",
                                              "1:y=-0.125",
                                              "--set",
                                              "1:phase=0",
                                              "--set",
                                              "2:x=0.125",
                                              "--set",
                                              "2:y=-0.125",
                                              "--set",
                                              "2:phase=0.25",
                                              "--set",
                                              "3:x=-0.125",
                                              "--set",
                                              "3:y=0.125",
                                              "--set",
                                              "3:phase=0.25",
                                              "--set",
                                              "4:x=0.125",
                                              "--set",
                                              "4:y=0.125",
                                              "--set",
                                              "4:phase=0.5"};

TEST(CliWires, FourSquareReportsTheDriveImpedancesAndGainFromTheSolvedWires) {
    const TCliRun run = RunCli(kFourSquare);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const TJson json = ParseJson(run.Out);
    const TJson& coupling = json["coupling"];
    EXPECT_EQ(coupling["feed"].Text, "current");
    const std::vector<std::complex<double>> expected = {
        {-1.3, 5.8}, {44.9, 1.7}, {44.9, 1.7}, {68.0, 86.2}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const TJson& e = coupling["emitters"][i];
        const std::complex<double> z(static_cast<double>(e["drive_impedance_ohm"][0].Number()),
                                     static_cast<double>(e["drive_impedance_ohm"][1].Number()));
        EXPECT_LE(std::abs(z - expected[i]), 0.05 * std::abs(expected[i]) + 2);
        EXPECT_NEAR(static_cast<double>(e["current"]["amplitude"].Number()), 1, 1e-9);
    }
    EXPECT_TRUE(coupling["emitters"][0]["swr"].IsNull());  // it returns power to its feed
    EXPECT_NEAR(coupling["impedance_matrix_ohm"][3][3][0].Number(),
                coupling["impedance_matrix_ohm"][0][0][0].Number(), 1e-9);
    EXPECT_NEAR(static_cast<double>(json["bearing"].Number()), 45, 1);
    EXPECT_GT(json["gain_dbi"].Number(), 10);
    EXPECT_GT(json["metrics"]["front_to_back_db"].Number(), 25);
}

// The feeds' phases in degrees are the phasors' angles, a lag negative, as the studio shows
// them; the JSON keeps the file's periods beside them.
TEST(CliWires, FeedPhasesReadInDegreesAsTheCurrentsAngle) {
    const TJson json = ParseJson(RunCli(kFourSquare).Out);
    const double degrees[] = {0, -90, -90, 180};
    for (std::size_t i = 0; i < std::size(degrees); ++i) {
        const TJson& current = json["coupling"]["emitters"][i]["current"];
        const double angle = static_cast<double>(current["phase_deg"].Number());
        EXPECT_NEAR(std::remainder(angle - degrees[i], 360.0), 0, 1e-9) << i;
        EXPECT_TRUE(angle > -180 && angle <= 180) << angle;
        EXPECT_NEAR(static_cast<double>(current["phase"].Number()),
                    static_cast<double>(json["emitters"][i]["phase"].Number()), 1e-12)
            << i;
    }
    std::vector<std::string> text = kFourSquare;
    text[2] = "text";
    const std::string out = RunCli(text).Out;
    EXPECT_NE(out.find("emitter 2: current 1.0000 A, phase -90.00 deg; voltage "),
              std::string::npos)
        << out;
}

// Horizontal wires over ground send nothing along the horizon: the directivity there has a
// reason in the text, null in the JSON and in a sweep's rows, never -inf as a number.
TEST(CliWires, NoRadiationAlongTheHorizonGivesAReasonNotMinusInfinity) {
    const std::string pair =
        std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/dipole-pair-over-ground.txt";
    const TCliRun text = RunCli({"pattern", "--config", pair, "--length", "0.48"});
    EXPECT_NE(text.Out.find("directivity: none (the array radiates nothing along the horizon)"),
              std::string::npos)
        << text.Out;
    EXPECT_EQ(text.Out.find("inf dBi"), std::string::npos) << text.Out;
    const TJson json = ParseJson(
        RunCli({"pattern", "--format", "json", "--config", pair, "--length", "0.48"}).Out);
    EXPECT_TRUE(json["directivity_dbi"].IsNull());
    EXPECT_GT(json["peak_directivity_dbi"].Number(), 7);
    const TCliRun sweep =
        RunCli({"sweep", "--format", "json", "--config", pair, "--length", "0.48", "--vary",
                "height", "--from", "0.25", "--to", "0.5", "--steps", "2"});
    ASSERT_EQ(sweep.ExitCode, 0) << sweep.Err;
    for (const std::string& line : Lines(sweep.Out))
        EXPECT_TRUE(ParseJson(line)["directivity_dbi"].IsNull()) << line;
}

// nec2c, driven by the deck's voltages, carries the designed currents.
TEST(CliWires, NecDeckOfTheFourSquareMakesNecCarryTheDesignedCurrents) {
    TTempDir dir;
    std::vector<std::string> args = kFourSquare;
    args.erase(args.begin(), args.begin() + 3);
    args.insert(args.begin(), {"nec", dir.Path("d.nec")});
    const TCliRun run = RunCli(args);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    // nec2c refuses long input paths: it runs in the deck's folder with a short name.
    const std::string command =
        "cd '" + dir.Path("") + "' && nec2c -i d.nec -o d.out > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "nec2c failed: is the package nec2c installed?";
    const std::vector<std::string> lines = Lines(ReadBytes(dir.Path("d.out")));
    const auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("ANTENNA INPUT PARAMETERS") != std::string::npos;
    });
    ASSERT_NE(at, lines.end());
    const double lags[] = {0, 90, 90, 180};  // degrees, as the phases set them
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k + 1);
        std::istringstream in(*(at + 3 + k));
        in.imbue(std::locale::classic());
        int tag = 0, segment = 0;
        double vr = 0, vi = 0, ir = 0, ii = 0;
        ASSERT_TRUE(in >> tag >> segment >> vr >> vi >> ir >> ii);
        const std::complex<double> current(ir, ii);
        EXPECT_NEAR(std::abs(current), 1, 0.03);
        EXPECT_NEAR(std::remainder(std::arg(current) * 180 / std::acos(-1.0) + lags[k], 360), 0, 3);
    }
}

TEST(CliWires, WireExamplesLoadCleanlyAndShowWhatCouplingDoes) {
    struct Row {
        std::string Name;
        std::string Figure;
        double Low, High;
    };
    const std::vector<Row> rows = {
        {"four-square-monopoles", "gain_dbi", 10, 12},
        {"yagi-2", "front_to_back_db", 8, 14},
        // Fed with the voltages of ideal currents the pair is far from a cardioid.
        {"cardioid-verticals-voltage", "front_to_back_db", 2, 8},
        {"dipole-pair-over-average-ground", "efficiency", 0.4, 0.8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const TCliRun run =
            RunCli({"pattern", "--strict", "--format", "json", "--config",
                    std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + row.Name + ".txt"});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const TJson json = ParseJson(run.Out);
        const long double value = row.Figure == "efficiency"
                                      ? json["coupling"]["efficiency"].Number()
                                  : row.Figure == "gain_dbi" ? json["gain_dbi"].Number()
                                                             : json["metrics"][row.Figure].Number();
        EXPECT_GE(value, row.Low);
        EXPECT_LE(value, row.High);
    }
}

TEST(CliWires, IdealEmittersHaveNoCoupling) {
    const TCliRun run = RunCli({"pattern", "--format", "json"});
    ASSERT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(ParseJson(run.Out)["coupling"].IsNull());
}

TEST(CliWires, FileKeysGiveLengthsAndAVoltageFeed) {
    TTempDir dir;
    TIniFile file = TIniFile::FromText(ConfigText(ModelOf({{0, 0, 0}, {-0.15L, 0, 0}}), 1));
    for (int k : {1, 2}) {
        file.WriteString(std::string(kEmitterSectionPrefix) + std::to_string(k), kLengthKey,
                         k == 1 ? "0,47" : "0,5");
    }
    file.WriteString(kAllEmittersSection, kFeedKey, "1");
    const std::string text = file.Text();
    WriteBytes(dir.Path("yagi.txt"), text);
    const TCliRun run = RunCli({"pattern", "--format", "json", "--config", dir.Path("yagi.txt"),
                                "--set", "2:amplitude=0"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const TJson coupling = ParseJson(run.Out)["coupling"];
    EXPECT_EQ(coupling["feed"].Text, "voltage");
    EXPECT_EQ(coupling["emitters"][1]["length_wl"].Text, "0.5");
    EXPECT_EQ(coupling["emitters"][1]["voltage"]["amplitude"].Text, "0");
    EXPECT_GT(coupling["emitters"][1]["current"]["amplitude"].Number(), 0.003);
}

// What save writes loads back as the same wires; wire keys it does not write do not stay.
TEST(CliWires, SaveWritesTheWireKeysOnlyWhereSet) {
    TTempDir dir;
    const std::string wires = dir.Path("wires.txt"), copy = dir.Path("copy.txt");
    ASSERT_EQ(RunCli({"save", wires, "--type", "1", "--length", "0.25", "--set", "2:length=0.3",
                      "--radius", "0.001", "--feed", "voltage"})
                  .ExitCode,
              0);
    const TWireKeys keys = ReadWireKeys(TIniFile(wires));
    ASSERT_FALSE(keys.Fault);
    EXPECT_EQ(keys.Settings.Lengths[0], 0.25);
    EXPECT_EQ(keys.Settings.Lengths[1], 0.3);
    EXPECT_EQ(keys.Settings.Radius, 0.001);
    EXPECT_EQ(keys.Settings.Feed, TFeed::Voltage);
    EXPECT_TRUE(keys.RadiusGiven && keys.FeedGiven);

    ASSERT_EQ(RunCli({"save", copy, "--config", wires, "--set", "3:length=0.2"}).ExitCode, 0);
    const TCliRun again = RunCli({"pattern", "--format", "json", "--config", copy});
    ASSERT_EQ(again.ExitCode, 0) << again.Err;
    const TJson coupling = ParseJson(again.Out)["coupling"];
    EXPECT_EQ(coupling["feed"].Text, "voltage");
    EXPECT_DOUBLE_EQ(coupling["emitters"][2]["length_wl"].Number(), 0.2);

    ASSERT_EQ(RunCli({"save", copy, "--type", "2"}).ExitCode, 0);
    const std::string text = ReadBytes(copy);
    for (std::string_view key : {kLengthKey, kRadiusKey, kFeedKey})
        EXPECT_EQ(text.find(key), std::string::npos);
    EXPECT_EQ(RunCli({"save", copy, "--type", "1", "--set", "1:length=0.5"}).ExitCode, 2);
}

// The rows of a CSV sweep by column name.
std::vector<std::vector<std::string>> CsvCells(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Lines(csv)) {
        std::vector<std::string> cells(1);
        for (const char c : line) {
            if (c == ',') {
                cells.emplace_back();
            } else {
                cells.back() += c;
            }
        }
        rows.push_back(cells);
    }
    return rows;
}

// At the design frequency the sweep's row is the pattern's; above it every wire is longer in
// wavelengths, so its reactance rises.
TEST(CliWires, FrequencySweepScalesTheDesignAndGivesEachEmittersDrive) {
    std::vector<std::string> args = kFourSquare;
    args[0] = "sweep";
    args[2] = "csv";
    for (const char* a : {"--vary", "frequency", "--from", "6.5", "--to", "7.5", "--steps", "3",
                          "--frequency", "7"})
        args.push_back(a);
    const TCliRun run = RunCli(args);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto rows = CsvCells(run.Out);
    ASSERT_EQ(rows.size(), 4U);
    const auto column = [&](const std::string& name) {
        const auto at = std::find(rows[0].begin(), rows[0].end(), name);
        EXPECT_NE(at, rows[0].end()) << name;
        return static_cast<std::size_t>(at - rows[0].begin());
    };
    const TJson pattern = ParseJson(RunCli(kFourSquare).Out)["coupling"]["emitters"];
    for (std::size_t k = 0; k < 4; ++k) {
        const std::string n = std::to_string(k + 1);
        const TJson z = pattern[k]["drive_impedance_ohm"];
        EXPECT_NEAR(std::stod(rows[2][column("drive_r_ohm_" + n)]), z[0].Number(), 1e-9);
        EXPECT_NEAR(std::stod(rows[2][column("drive_x_ohm_" + n)]), z[1].Number(), 1e-9);
        EXPECT_EQ(rows[2][column("current_amplitude_" + n)], "1");
        EXPECT_GT(std::stod(rows[3][column("drive_x_ohm_" + n)]),
                  std::stod(rows[1][column("drive_x_ohm_" + n)]) + 10);
    }
    EXPECT_EQ(rows[2][column("swr_1")], "");  // the corner that returns power
    EXPECT_FALSE(rows[2][column("gain_dbi")].empty());

    args.erase(args.end() - 2, args.end());
    const TCliRun unscaled = RunCli(args);
    EXPECT_EQ(unscaled.ExitCode, 2);
    EXPECT_NE(unscaled.Err.find("--frequency"), std::string::npos) << unscaled.Err;
}

// A voltage feed writes the design's drive voltages: the file, solved, carries the currents
// the current feed writes.
TEST(CliWires, DesignWithAVoltageFeedWritesTheVoltagesThatGiveTheDesignedCurrents) {
    TTempDir dir;
    const std::vector<std::string> pair = {"--type", "1",        "--set",    "3:on=0",
                                           "--set",  "4:on=0",   "--set",    "1:x=0",
                                           "--set",  "2:x=0.25", "--length", "0.48"};
    std::vector<TJson> feeds;
    std::vector<std::string> tables;
    for (const char* feed : {"current", "voltage"}) {
        const std::string out = dir.Path(std::string(feed) + ".txt");
        std::vector<std::string> args = {"design", "--goal", "max-directivity",
                                         "--feed", feed,     out};
        args.insert(args.end(), pair.begin(), pair.end());
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const auto table = run.Out.find("emitter 2: current");
        ASSERT_NE(table, std::string::npos) << run.Out;  // what to apply, as the file solves
        tables.push_back(run.Out.substr(table, run.Out.find('\n', table) - table));
        const TCliRun solved = RunCli({"pattern", "--format", "json", "--config", out});
        ASSERT_EQ(solved.ExitCode, 0) << solved.Err;
        feeds.push_back(ParseJson(solved.Out)["coupling"]);
    }
    EXPECT_EQ(feeds[1]["feed"].Text, "voltage");
    EXPECT_EQ(tables[0], tables[1]);
    for (std::size_t k = 0; k < 2; ++k) {
        for (const char* side : {"current", "voltage"}) {
            for (const char* part : {"amplitude", "phase"}) {
                EXPECT_NEAR(feeds[0]["emitters"][k][side][part].Number(),
                            feeds[1]["emitters"][k][side][part].Number(), 1e-6)
                    << side << " " << part;
            }
        }
    }
}

// Exit 2, one line naming the option, the emitters or the file's line, nothing written.
TEST(CliWires, WiresThatCannotBeExitTwoNamingWhy) {
    TTempDir dir;
    TIniFile badFile = TIniFile::FromText(ConfigText(ModelOf({{0, 0, 0}}), 1));
    badFile.WriteString(std::string(kEmitterSectionPrefix) + "1", kLengthKey, "0");
    const std::string bad = badFile.Text();
    WriteBytes(dir.Path("bad.txt"), bad);
    const auto lengthLine = bad.find(std::string(kLengthKey));
    const std::string badLine =
        "bad.txt:" +
        std::to_string(1 +
                       std::count(bad.begin(), bad.begin() + static_cast<long>(lengthLine), '\n'));
    struct Row {
        std::vector<std::string> Args;
        std::string Named;
    };
    const std::vector<Row> rows = {
        {{"--type", "1", "--length", "0"}, "--length"},
        {{"--type", "1", "--length", "-0.5"}, "--length"},
        {{"--type", "1", "--length", "nan"}, "--length"},
        {{"--type", "1", "--length", "2.5"}, "--length"},
        {{"--type", "1", "--set", "3:length=0"}, "--set"},
        {{"--type", "1", "--length", "0.5", "--radius", "0.05"}, "emitter 1"},
        {{"--type", "1", "--length", "0.5", "--set", "2:x=-0.25", "--set", "2:y=-0.25"},
         "emitters 2 and 4"},
        {{"--type", "1", "--set", "1:length=0.5"}, "emitter 4"},
        {{"--type", "0", "--length", "0.5"}, "--type"},
        {{"--type", "1", "--length", "0.5", "--model", "window"}, "--model"},
        {{"--type", "1", "--length", "0.5", "--ground", "real", "--frequency", "7", "--soil",
          "average"},
         "emitter 1"},
        {{"--type", "2", "--length", "0.5", "--ground", "perfect", "--height", "0.0001"},
         "emitter 1"},
        {{"--config", dir.Path("bad.txt")}, badLine},
        {{"--type", "1", "--length", "0.5", "--feed", "dc"}, "--feed"},
        // Beyond what a double holds, or what the thin-wire model does: a reason, never NaN.
        {{"--type", "1", "--length", "0.5", "--radius", "1e-300"}, "--radius"},
        {{"--type", "1", "--length", "1e-100", "--radius", "1e-102"}, "--length"},
        {{"--type", "1", "--set", "1:length=0.004"}, "--set"},
        {{"--type", "1", "--length", "0.5", "--radius", "0.0499999", "--set", "2:on=0", "--set",
          "3:on=0", "--set", "4:on=0"},
         "thin-wire model"},
        {{"--type", "1", "--length", "0.5", "--set", "1:x=500"}, "emitter 1"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"pattern", "--format", "json"};
        args.insert(args.end(), row.Args.begin(), row.Args.end());
        SCOPED_TRACE(row.Named);
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_TRUE(run.Out.empty());
        EXPECT_NE(run.Err.find(row.Named), std::string::npos) << run.Err;
        EXPECT_EQ(Lines(run.Err).size(), 1U) << run.Err;
    }
}

// Each example overlaid with the next on one dBi axis: each legend gives the file's own figure
// as `pattern` gives it alone, the gain of wires and the directivity of ideal emitters, and
// says which where both are drawn.
TEST(CliWires, OverlaidLegendsGiveEachFilesOwnGainOrDirectivity) {
    const std::vector<std::string> names = {"yagi-2",
                                            "four-square",
                                            "four-square-monopoles",
                                            "dipole-pair-over-average-ground",
                                            "cardioid-verticals-voltage",
                                            "broadside-pair"};
    const auto file = [](const std::string& name) {
        return std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + name + ".txt";
    };
    // The figure of the file alone, and whether it is a gain.
    const auto alone = [&](const std::string& name) -> std::pair<double, bool> {
        const TCliRun run = RunCli({"pattern", "--format", "json", "--config", file(name)});
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        const TJson json = ParseJson(run.Out);
        if (!json["coupling"].IsNull())
            return {static_cast<double>(json["gain_dbi"].Number()), true};
        const TJson& space = json["space_wave_directivity_dbi"];
        return {
            static_cast<double>(space.IsNull() ? json["directivity_dbi"].Number() : space.Number()),
            false};
    };
    TTempDir dir;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& a = names[i];
        const std::string& b = names[(i + 1) % names.size()];
        SCOPED_TRACE(a + " over " + b);
        // The HTML report's charts keep their texts as text.
        const std::string html = dir.Path("o.html");
        const TCliRun run =
            RunCli({"plot", "--kind", "report", "--config", file(a), "--config", file(b), html});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const std::string text = ReadBytes(html);
        const auto [figureA, gainA] = alone(a);
        const auto [figureB, gainB] = alone(b);
        for (const auto& [name, figure, gain] :
             {std::tuple{a, figureA, gainA}, std::tuple{b, figureB, gainB}}) {
            const std::string kind = gain ? "gain " : gainA || gainB ? "directivity " : "";
            const std::string head = name + ".txt, " + kind;
            const auto at = text.find(head);
            ASSERT_NE(at, std::string::npos) << head;
            std::istringstream in(text.substr(at + head.size()));
            in.imbue(std::locale::classic());
            double legend = 0;
            ASSERT_TRUE(in >> legend) << text.substr(at, 60);
            EXPECT_NEAR(legend, figure, 0.011) << name;
        }
    }
}

// A pattern and a power do not change when the array moves: a pair of wires a million
// wavelengths out gives the figures it gives at the origin, as soon.
TEST(CliWires, WiresFarFromTheOriginGiveTheFiguresOfTheSamePairAtIt) {
    const auto run = [](const std::string& x1, const std::string& x2) {
        const TCliRun r = RunCli(
            {"pattern", "--format",   "json",  "--type",    "1",      "--length",  "0.5",
             "--model", "free-space", "--set", "1:x=" + x1, "--set",  "2:x=" + x2, "--set",
             "1:y=0",   "--set",      "2:y=0", "--set",     "3:on=0", "--set",     "4:on=0"});
        EXPECT_EQ(r.ExitCode, 0) << r.Err;
        return ParseJson(r.Out);
    };
    const auto start = std::chrono::steady_clock::now();
    const TJson far = run("999999", "999999.5");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    const TJson near = run("-0.25", "0.25");
    for (const char* key : {"directivity_dbi", "peak_directivity_dbi", "gain_dbi"})
        EXPECT_NEAR(far[key].Number(), near[key].Number(), 1e-9) << key;
    for (const char* key : {"beamwidth_deg", "front_to_back_db", "side_lobe_db"})
        EXPECT_NEAR(far["metrics"][key].Number(), near["metrics"][key].Number(), 1e-9) << key;
    // Every command on such an array answers as soon.
    TTempDir dir;
    const std::vector<std::string> farPair = {
        "--type", "1",     "--length", "0.5",   "--set", "1:x=999999", "--set", "2:x=999999.5",
        "--set",  "1:y=0", "--set",    "2:y=0", "--set", "3:on=0",     "--set", "4:on=0"};
    // A design takes the model its file gives, free space here; the others are told it.
    const std::vector<std::vector<std::string>> commands = {
        {"nec", dir.Path("far.nec"), "--model", "free-space"},
        {"sweep", "--vary", "2:phase", "--from", "0", "--to", "1", "--steps", "10", "--model",
         "free-space"},
        {"design", "--goal", "max-directivity", dir.Path("far.txt")}};
    for (std::vector<std::string> args : commands) {
        args.insert(args.end(), farPair.begin(), farPair.end());
        const auto begin = std::chrono::steady_clock::now();
        const TCliRun r = RunCli(args);
        EXPECT_EQ(r.ExitCode, 0) << args[0] << ": " << r.Err;
        EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1)) << args[0];
    }
    for (std::size_t i = 0; i < 2; ++i) {
        const TJson& a = far["coupling"]["emitters"][i]["drive_impedance_ohm"];
        const TJson& b = near["coupling"]["emitters"][i]["drive_impedance_ohm"];
        EXPECT_NEAR(a[0].Number(), b[0].Number(), 1e-9);
        EXPECT_NEAR(a[1].Number(), b[1].Number(), 1e-9);
    }
}

// Feeds that carry nothing read as ideal emitters that radiate nothing: no figure invented.
TEST(CliWires, WiresFedNothingRadiateNothingAndSaySo) {
    for (const std::string ground : {"none", "perfect"}) {
        SCOPED_TRACE(ground);
        std::vector<std::string> args = {"pattern", "--type", "1", "--length", "0.25"};
        if (ground == "perfect") args.insert(args.end(), {"--ground", "perfect", "--height", "0"});
        for (int k = 1; k <= 4; ++k)
            args.insert(args.end(), {"--set", std::to_string(k) + ":amplitude=0"});
        const TCliRun text = RunCli(args);
        EXPECT_EQ(text.ExitCode, 0) << text.Err;
        EXPECT_NE(text.Out.find("directivity: none (the array radiates nothing)"),
                  std::string::npos)
            << text.Out;
        for (const char* bad : {"nan", "NAN", "inf dBi", "take-off: 0"})
            EXPECT_EQ(text.Out.find(bad), std::string::npos) << bad << "\n" << text.Out;
        args.insert(args.end(), {"--format", "json"});
        const TJson json = ParseJson(RunCli(args).Out);
        EXPECT_TRUE(json["gain_dbi"].IsNull());
        EXPECT_TRUE(json["directivity_dbi"].IsNull());
    }
}

}  // namespace

// Eight half-wave wires a wavelength apart at 7.1 MHz pass 2 wavelengths at about 28.4 MHz:
// the sweep is refused before its first step, naming the frequency that cannot be.
TEST(CliWires, ASweepWhoseWiresGrowPastTwoWavelengthsIsRefusedBeforeItsFirstStep) {
    TTempDir dir;
    std::vector<TEmitter> line;
    for (int k = 0; k < 8; ++k) line.push_back({static_cast<long double>(k), 0, 0, true});
    WriteBytes(dir.Path("line.txt"), ConfigText(ModelOf(line), 1));
    // The processor time the program takes, which the other work of a busy machine leaves as
    // it is where the wall clock's would not.
    const auto childSeconds = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    };
    const double before = childSeconds();
    const TCliRun run = RunCli({"sweep", "--config", dir.Path("line.txt"), "--vary", "frequency",
                                "--from", "1", "--to", "30", "--steps", "1000", "--frequency",
                                "7.1", "--type", "1", "--length", "0.5"});
    EXPECT_LT(childSeconds() - before, 0.1);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Out.empty());
    EXPECT_NE(run.Err.find("at frequency 28.4"), std::string::npos) << run.Err;
    // A height sweep that takes the wires into perfect ground stops where they touch it.
    const TCliRun height =
        RunCli({"sweep", "--config", dir.Path("line.txt"), "--vary", "height", "--from", "1",
                "--to", "0.1", "--steps", "10", "--ground", "perfect", "--length", "0.5"});
    EXPECT_EQ(height.ExitCode, 2);
    EXPECT_NE(height.Err.find("at height 0.2: "), std::string::npos) << height.Err;
}

struct TUprightCase {
    const char* Height;
    const char* Kind;  // the text output's line
};

// Upright wires on perfect ground at height 0 are monopoles, lifted off it dipoles; the text
// and the pictures' captions say which.
TEST(CliWires, UprightWiresOnPerfectGroundAreNamedMonopolesAndLiftedOffItDipoles) {
    const std::string monopoles =
        std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/four-square-monopoles.txt";
    for (const TUprightCase& c : {TUprightCase{"0", "emitters: vertical monopoles\n"},
                                  TUprightCase{"0.3", "emitters: vertical dipoles\n"}}) {
        const TCliRun run = RunCli({"pattern", "--config", monopoles, "--height", c.Height});
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_NE(run.Out.find(c.Kind), std::string::npos) << run.Out;
    }
    const TCliRun russian = RunCli({"pattern", "--config", monopoles, "--lang", "ru"});
    EXPECT_NE(russian.Out.find("вертикальные монополи"), std::string::npos) << russian.Out;
    // The report's caption, which the 3-D footer shares, and its table.
    TTempDir dir;
    const TCliRun report =
        RunCli({"plot", "--config", monopoles, "--kind", "report", dir.Path("report.html")});
    ASSERT_EQ(report.ExitCode, 0) << report.Err;
    const std::string page = ReadBytes(dir.Path("report.html"));
    EXPECT_NE(page.find("type 1 (vertical monopoles);"), std::string::npos);
    EXPECT_NE(page.find("<td>Emitters</td><td>vertical monopoles</td>"), std::string::npos);
}
