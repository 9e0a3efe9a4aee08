// Wires at the edges of every range the options and the files allow: whatever the program
// answers, it never prints or writes a number that is not one.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "clirunner.h"
#include "config/cp1251.h"
#include "config/inifile.h"
#include "config/numtext.h"
#include "config/wirekeys.h"

namespace {

constexpr int kBatches = 160;
constexpr int kFilesPerBatch = 64;  // files a run, as a user with a folder of designs gives them

// A value from the edges of a range, now and then from inside it.
template <typename T>
T Pick(std::mt19937& random, const std::vector<T>& edges, T low, T high) {
    std::uniform_int_distribution<std::size_t> which(0, edges.size());
    const std::size_t k = which(random);
    if (k < edges.size()) return edges[k];
    return std::uniform_real_distribution<T>(low, high)(random);
}

std::string Text(long double v) {
    const char mark = DecimalMark();
    SetDecimalMark(',');
    std::string text = FormatGeneral(v);
    SetDecimalMark(mark);
    return text;
}

// One array of wires: up to eight emitters on a random spot of the plane, lengths, radius,
// amplitudes and phases at their edges, either feed.
std::string RandomWires(std::mt19937& random) {
    const int count = std::uniform_int_distribution<int>(1, kEmitterCount)(random);
    const long double x0 = Pick<long double>(random, {0, 999999, -1e6L, 1e6L, 100}, -5, 5);
    TArray model;
    for (int k = 0; k < count; ++k) {
        TEmitter& e = model.Emitters[static_cast<std::size_t>(k)];
        e.Enabled = true;
        e.X = x0 + Pick<long double>(random, {0, 0.001L, 0.5L, -0.25L, 109.9L}, -2, 2);
        e.Y = Pick<long double>(random, {0, 1e-9L, 0.25L, -0.5L}, -2, 2);
        e.Phase = Pick<long double>(random, {0, 0.5L, -0.25L, 1e6L}, -1, 1);
    }
    TIniFile file =
        TIniFile::FromText(ConfigText(model, std::uniform_int_distribution<int>(1, 3)(random)));
    TWireKeys keys;
    keys.RadiusGiven = keys.FeedGiven = true;
    TWireSettings& wires = keys.Settings;
    const double common = Pick<double>(random, {0.005, 0.0049, 2, 0.5, 0.02}, 0.005, 2);
    for (int k = 0; k < count; ++k) {
        const auto i = static_cast<std::size_t>(k);
        wires.Lengths[i] = random() % 2 ? common : Pick<double>(random, {0.005, 2}, 0.01, 1);
        const std::string section = std::string(kEmitterSectionPrefix) + FormatInteger(k + 1);
        const long double amplitude = Pick<long double>(random, {0, 0, 1e100L, 1e-300L, 1}, 0, 1);
        file.WriteString(section, kAmplitudeKey, Text(amplitude));
    }
    wires.Radius =
        Pick<double>(random, {1e-10, 9e-11, 1e-300, 0.0499999, 0.0005, 0.0001999}, 1e-6, 0.01);
    wires.Feed = random() % 2 ? TFeed::Voltage : TFeed::Current;
    WriteWireKeys(file, keys);
    return file.Text();
}

// The batch's options: the format, a ground at the edges of its heights, and a line.
std::vector<std::string> RandomOptions(std::mt19937& random, int batch) {
    static const char* const kFormats[] = {"text", "json", "csv"};
    std::vector<std::string> options = {"pattern", "--format", kFormats[batch % 3]};
    // The highest ground, whose power integral is the largest, in one batch of sixteen.
    const long double height =
        batch % 16 == 0 ? 100 : Pick<long double>(random, {0, 1e-9L, 0.05L, 0.25L}, 0, 2);
    switch (random() % 3) {
        case 0:
            break;
        case 1:
            options.insert(options.end(), {"--ground", "perfect", "--height", Text(height)});
            break;
        default:
            options.insert(options.end(), {"--ground", "real", "--frequency", "7.1", "--soil",
                                           "average", "--height", Text(height)});
            break;
    }
    options.insert(options.end(), {"--z0", random() % 2 ? "50" : "1e-3"});
    return options;
}

// A number that is none, as the text output would spell it; "inf dB" stays a ratio or a null
// depth, which are infinite for a perfect null. JSON and CSV have no spelling for it at all.
const std::regex kNotANumber(
    R"((^|[^A-Za-z])(nan|NAN|NaN)([^A-Za-z]|$)|inf (dBi|W|V|A|ohms)|SWR inf)");
const std::regex kNotANumberValue(R"(([:\[,;\n]|^) *-?(inf|nan)\b)");

TEST(WireEdges, NoOutputOfWiresAtTheEdgesOfTheirRangesHoldsANumberThatIsNone) {
    std::mt19937 random(20261210);
    TTempDir dir;
    int answered = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        std::vector<std::string> args = RandomOptions(random, batch);
        for (int f = 0; f < kFilesPerBatch; ++f) {
            const std::string name = dir.Path(std::to_string(f) + ".txt");
            WriteBytes(name, RandomWires(random));
            args.insert(args.end(), {"--config", name});
        }
        const TCliRun run = RunCli(args);
        SCOPED_TRACE("batch " + std::to_string(batch) + ": " + args[2]);
        ASSERT_GE(run.ExitCode, 0) << run.Err;
        ASSERT_LE(run.ExitCode, 2) << run.Err;
        std::smatch m;
        EXPECT_FALSE(std::regex_search(run.Out, m, kNotANumber))
            << m.str() << " in\n"
            << run.Out.substr(static_cast<std::size_t>(std::max<long>(0, m.position() - 300)), 600);
        EXPECT_FALSE(std::regex_search(run.Err, m, kNotANumber)) << m.str() << "\n" << run.Err;
        if (args[2] != "text") {
            EXPECT_FALSE(std::regex_search(run.Out, m, kNotANumberValue)) << m.str();
        }
        answered += kFilesPerBatch - static_cast<int>(Lines(run.Err).size());
    }
    // Most arrays are answered, not refused: the edges are probed, not merely fenced off.
    EXPECT_GT(answered, kBatches * kFilesPerBatch / 4);
}

// The deck and the report of such arrays, fewer of them: a run each.
TEST(WireEdges, NecDecksAndReportsOfWiresAtTheEdgesHoldNoNumberThatIsNone) {
    std::mt19937 random(1210);
    TTempDir dir;
    for (int n = 0; n < 60; ++n) {
        const std::string name = dir.Path("a.txt");
        WriteBytes(name, RandomWires(random));
        SCOPED_TRACE(ReadBytes(name));
        const TCliRun nec = RunCli({"nec", "--config", name, dir.Path("a.nec")});
        if (nec.ExitCode == 0) {
            const std::string deck = ReadBytes(dir.Path("a.nec"));
            EXPECT_EQ(deck.find("nan"), std::string::npos) << deck;
            EXPECT_EQ(deck.find("inf"), std::string::npos) << deck;
        }
        const TCliRun report =
            RunCli({"plot", "--kind", "report", "--config", name, dir.Path("a.html")});
        if (report.ExitCode == 0) {
            const std::string html = ReadBytes(dir.Path("a.html"));
            for (const char* bad : {">NAN<", ">nan<", ">inf<", ">-inf<", "NAN "})
                EXPECT_EQ(html.find(bad), std::string::npos) << bad;
        }
    }
}

}  // namespace
