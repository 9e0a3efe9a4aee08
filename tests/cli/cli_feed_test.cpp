#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <algorithm>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/feedanalysis.h"
#include "clirunner.h"
#include "config/netlist.h"
#include "jsonreader.h"

namespace {

const std::string kExamples = ARRAYPATTERN_EXAMPLES_DIR;
const std::string kFourSquare = kExamples + "/four-square-monopoles.txt";

// The matrices of a Touchstone 1.1 file of n ports, a frequency each, read back to impedances.
std::vector<Eigen::MatrixXcd> ReadTouchstone(const std::string& text, int n, double& z0) {
    std::vector<double> numbers;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '!') continue;
        if (line[0] == '#') {
            EXPECT_EQ(line.substr(0, 13), "# MHz S RI R ");
            z0 = std::stod(line.substr(13));
            continue;
        }
        std::istringstream words(line);
        for (double v; words >> v;) numbers.push_back(v);
    }
    const std::size_t per = 1 + 2 * static_cast<std::size_t>(n * n);
    EXPECT_EQ(numbers.size() % per, 0U);
    std::vector<Eigen::MatrixXcd> out;
    for (std::size_t at = 0; at + per <= numbers.size(); at += per) {
        Eigen::MatrixXcd s(n, n);
        for (int k = 0; k < n * n; ++k) {
            const std::complex<double> v(numbers[at + 1 + 2 * static_cast<std::size_t>(k)],
                                         numbers[at + 2 + 2 * static_cast<std::size_t>(k)]);
            // Two ports go column by column, more row by row.
            if (n <= 2) {
                s(k % n, k / n) = v;
            } else {
                s(k / n, k % n) = v;
            }
        }
        const Eigen::MatrixXcd unit = Eigen::MatrixXcd::Identity(n, n);
        out.push_back(z0 * (unit + s) * (unit - s).inverse());
    }
    return out;
}

Eigen::MatrixXcd JsonMatrix(const TJson& json) {
    const TJson& rows = json["coupling"]["impedance_matrix_ohm"];
    const auto n = static_cast<Eigen::Index>(rows.Items.size());
    Eigen::MatrixXcd z(n, n);
    for (Eigen::Index i = 0; i < n; ++i) {
        for (Eigen::Index j = 0; j < n; ++j) {
            const TJson& c = rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            z(i, j) = {static_cast<double>(c[0].Number()), static_cast<double>(c[1].Number())};
        }
    }
    return z;
}

TEST(CliTouchstone, TheFourSquaresFileReadsBackToThePatternsPortMatrix) {
    TTempDir dir;
    const std::string out = dir.Path("four.s4p");
    const TCliRun run = RunCli({"touchstone", "--frequency", "7", "--from", "6.8", "--to", "7.2",
                                "--steps", "2", "--z0", "75", "--config", kFourSquare, out});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::string text = ReadBytes(out);
    for (int port = 1; port <= 4; ++port)
        EXPECT_NE(text.find("! port " + std::to_string(port) + ": emitter "), std::string::npos);
    double z0 = 0;
    const std::vector<Eigen::MatrixXcd> read = ReadTouchstone(text, 4, z0);
    EXPECT_EQ(z0, 75);
    ASSERT_EQ(read.size(), 3U);
    // The middle frequency is the design frequency: the pattern's own matrix.
    const TCliRun json = RunCli({"pattern", "--format", "json", "--config", kFourSquare});
    const Eigen::MatrixXcd z = JsonMatrix(ParseJson(json.Out));
    EXPECT_LT((read[1] - z).cwiseAbs().maxCoeff(), 1e-6 * z.cwiseAbs().maxCoeff());
    EXPECT_GT((read[0] - z).cwiseAbs().maxCoeff(), 1.0);
}

TEST(CliTouchstone, ATwoPortsLineIsS11S21S12S22AndTheExtensionMustFit) {
    TTempDir dir;
    const std::vector<std::string> args = {
        "touchstone", "--frequency", "10",     "--from",   "10",           "--to",
        "10",         "--steps",     "1",      "--config", kFourSquare,    "--set",
        "3:on=0",     "--set",       "4:on=0", "--set",    "2:length=0.24"};
    std::vector<std::string> wrong = args;
    wrong.push_back(dir.Path("pair.s4p"));
    const TCliRun refused = RunCli(wrong);
    EXPECT_EQ(refused.ExitCode, 2);
    EXPECT_NE(refused.Err.find(".s2p"), std::string::npos) << refused.Err;
    EXPECT_FALSE(FileExists(dir.Path("pair.s4p")));
    std::vector<std::string> right = args;
    right.push_back(dir.Path("pair.s2p"));
    ASSERT_EQ(RunCli(right).ExitCode, 0);
    double z0 = 0;
    const std::vector<Eigen::MatrixXcd> read =
        ReadTouchstone(ReadBytes(dir.Path("pair.s2p")), 2, z0);
    ASSERT_EQ(read.size(), 2U);
    std::vector<std::string> pattern = {"pattern", "--format", "json"};
    pattern.insert(pattern.end(), args.begin() + 9, args.end());
    const Eigen::MatrixXcd z = JsonMatrix(ParseJson(RunCli(pattern).Out));
    // Unequal wires: S11 and S22 differ, so a reading in the wrong order fails.
    EXPECT_LT((read[0] - z).cwiseAbs().maxCoeff(), 1e-6 * z.cwiseAbs().maxCoeff());
}

// The current-forcing network of the four-square, written where the test asks.
std::string DesignFourSquare(const TTempDir& dir, const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {"design",   "--goal",          "feed",
                                     "--method", "current-forcing", "--frequency",
                                     "7.1",      "--config",        kFourSquare};
    args.insert(args.end(), more.begin(), more.end());
    args.push_back(dir.Path("feed.net"));
    const TCliRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return run.Out;
}

double TableReactance(const std::string& out, const std::string& part) {
    std::smatch m;
    EXPECT_TRUE(std::regex_search(out, m, std::regex("\n" + part + "\t[^\t]*\t[^\t]*\t(\\S+)")))
        << part;
    return m.empty() ? 0 : std::stod(m[1]);
}

TEST(CliFeedDesign, TheFourSquaresCurrentForcingNetworkDeliversTheWantedCurrents) {
    TTempDir dir;
    const std::string out = DesignFourSquare(dir);
    // The L-network's closed form for 75 ohm lines: X_s = Z0^2 / sum R, X_p = Z0^2 / (sum X - sum
    // R).
    EXPECT_NEAR(TableReactance(out, "LS1"), 62.47, 0.05 * 62.47);
    EXPECT_NEAR(TableReactance(out, "CP1"), -64.02, 0.05 * 64.02);
    const std::vector<std::string> through = {"pattern",  "--format",  "json",
                                              "--config", kFourSquare, "--frequency",
                                              "7.1",      "--network", dir.Path("feed.net")};
    const TCliRun run = RunCli(through);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const TJson fed = ParseJson(run.Out);
    const TJson& network = fed["network"];
    EXPECT_LE(network["transmitter"]["swr"].Number(), 1.2);
    ASSERT_EQ(network["emitters"].Items.size(), 4U);
    for (const TJson& e : network["emitters"].Items) {
        EXPECT_LT(std::abs(e["current_error_db"].Number()), 0.5);
        EXPECT_LT(std::abs(e["current_error_deg"].Number()), 5);
    }
    const TJson wanted =
        ParseJson(RunCli({"pattern", "--format", "json", "--config", kFourSquare}).Out);
    EXPECT_TRUE(wanted["network"].IsNull());
    EXPECT_NEAR(fed["metrics"]["front_to_back_db"].Number(),
                wanted["metrics"]["front_to_back_db"].Number(), 1);
}

// ngspice solves the test bench alone: its node voltages are the program's.
TEST(CliFeedDesign, NgspiceGivesTheTestBenchTheProgramsNodeVoltages) {
    TTempDir dir;
    const std::string out = DesignFourSquare(dir, {"--velocity-factor", "0.66"});
    std::map<std::string, std::complex<double>> program;
    const std::regex own("\n  (\\w+) (\\S+) (\\S+)(?=\n)");
    for (auto m = std::sregex_iterator(out.begin(), out.end(), own); m != std::sregex_iterator();
         ++m)
        program[(*m)[1]] = {std::stod((*m)[2]), std::stod((*m)[3])};
    ASSERT_GE(program.size(), 7U) << out;
    const std::string command = "cd '" + dir.Path("") + "' && ngspice -b feed.cir > spice.txt 2>&1";
    // ngspice's batch mode ends with status 1 after a control block; only a missing program fails.
    ASSERT_NE(std::system(command.c_str()), 127 << 8)
        << "ngspice is missing: install the package ngspice";
    const std::string spice = ReadBytes(dir.Path("spice.txt"));
    double largest = 0;
    for (const auto& [name, v] : program) largest = std::max(largest, std::abs(v));
    std::size_t compared = 0;
    const std::regex printed("v\\((\\w+)\\) = (\\S+),(\\S+)");
    for (auto m = std::sregex_iterator(spice.begin(), spice.end(), printed);
         m != std::sregex_iterator(); ++m, ++compared) {
        const std::complex<double> v(std::stod((*m)[2]), std::stod((*m)[3]));
        ASSERT_TRUE(program.count((*m)[1])) << (*m)[1];
        EXPECT_LT(std::abs(v - program[(*m)[1]]), 1e-6 * largest) << (*m)[1];
    }
    EXPECT_EQ(compared, program.size()) << spice;
}

// The port matrix of monopoles over perfect ground from nec2c: one deck a driven port, the
// others shorted, each a column of the admittance matrix. 299.8 MHz makes wavelengths metres.
Eigen::MatrixXcd NecImpedance(const std::vector<std::pair<double, double>>& places) {
    const auto n = static_cast<Eigen::Index>(places.size());
    Eigen::MatrixXcd y(n, n);
    TTempDir dir;
    for (Eigen::Index p = 0; p < n; ++p) {
        std::string deck = "CM port matrix\nCE\n";
        for (Eigen::Index w = 0; w < n; ++w) {
            const auto [x, yy] = places[static_cast<std::size_t>(w)];
            deck += "GW " + std::to_string(w + 1) + " 21 " + std::to_string(x) + " " +
                    std::to_string(yy) + " 0 " + std::to_string(x) + " " + std::to_string(yy) +
                    " 0.25 0.0005\n";
        }
        deck +=
            "GE 1\nGN 1\nFR 0 1 0 0 299.8 0\nEX 0 " + std::to_string(p + 1) + " 1 0 1 0\nXQ\nEN\n";
        WriteBytes(dir.Path("d.nec"), deck);
        const std::string command =
            "cd '" + dir.Path("") + "' && nec2c -i d.nec -o d.out > /dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0)
            << "nec2c failed: is the package nec2c installed?";
        std::ifstream in(dir.Path("d.out"));
        bool currents = false;
        for (std::string line; std::getline(in, line);) {
            if (line.find("CURRENTS AND LOCATION") != std::string::npos) currents = true;
            if (line.find("POWER BUDGET") != std::string::npos) currents = false;
            std::istringstream words(line);
            int segment = 0, tag = 0;
            double v[6] = {};
            if (currents &&
                words >> segment >> tag >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5] &&
                (segment - 1) % 21 == 0) {
                y(tag - 1, p) = {v[4], v[5]};
            }
        }
    }
    return y.inverse();
}

// The designed network solved with nec2c's port matrix in place of the program's: current
// forcing holds the currents whichever engine gives the loads.
TEST(CliFeedDesign, TheDesignedNetworksDeliverTheCurrentsWithNecsPortMatrix) {
    struct TRow {
        const char* Name;
        std::vector<std::string> Settings;
        std::vector<std::pair<double, double>> Places;
        std::vector<double> Phases;  // periods of lag
    };
    const TRow rows[] = {
        {"four-square",
         {},
         {{-0.125, -0.125}, {0.125, -0.125}, {-0.125, 0.125}, {0.125, 0.125}},
         {0, 0.25, 0.25, 0.5}},
        {"cardioid",
         {"--set", "3:on=0", "--set", "4:on=0"},
         {{-0.125, -0.125}, {0.125, -0.125}},
         {0, 0.25}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TTempDir dir;
        DesignFourSquare(dir, row.Settings);
        const TNetwork network = ReadNetlist(ReadBytes(dir.Path("feed.net")));
        TCoupling coupling;
        coupling.ImpedanceMatrix = NecImpedance(row.Places);
        Eigen::VectorXcd wanted(static_cast<Eigen::Index>(row.Phases.size()));
        for (std::size_t k = 0; k < row.Phases.size(); ++k) {
            coupling.Emitters.push_back({});
            coupling.Emitters.back().Number = static_cast<int>(k + 1);
            wanted(static_cast<Eigen::Index>(k)) =
                std::polar(1.0, -2 * 3.141592653589793 * row.Phases[k]);
        }
        const TFeedFigures f = SolveFeed(network, coupling, 7.1e6, 7.1e6, wanted);
        for (const TFeedEmitter& e : f.Emitters) {
            EXPECT_LT(std::abs(*e.ErrorDb), 0.5) << e.Number;
            EXPECT_LT(std::abs(*e.ErrorDeg), 5) << e.Number;
        }
    }
}

TEST(CliFeedNetwork, BadNetlistsExitTwoWithTheirLineAndReasonAndWriteNothing) {
    const std::string good = "* feed\nVTX src 0 AC 1\nRTX src tx 50\nT1 tx 0 e1 0 Z0=50 TD=1n\n";
    const struct {
        const char* Name;
        std::string Text;
        const char* Line;
        const char* Reason;
    } rows[] = {
        {"unknown element", good + "Q1 tx 0 0 npn\n", ":5:", "unknown element"},
        {"dangling node", good + "L1 tx nowhere 1u\n", ":5:", "connects nothing"},
        {"line of zero impedance", good + "T2 tx 0 e2 0 Z0=0 TD=1n\n", ":5:", "above 0"},
        {"port of an emitter switched off", good + "T2 tx 0 e2 0 Z0=50 TD=1n\n",
         ":5:", "switched off"},
        {"no source", "* feed\nT1 a 0 e1 0 Z0=50 TD=1n\nR1 a 0 50\n", ":3:", "no source"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TTempDir dir;
        WriteBytes(dir.Path("bad.net"), row.Text);
        const TCliRun run =
            RunCli({"plot", "--kind", "polar-db", "--config", kFourSquare, "--set", "2:on=0",
                    "--frequency", "7.1", "--network", dir.Path("bad.net"), dir.Path("out.png")});
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_NE(run.Err.find(row.Line), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find(row.Reason), std::string::npos) << run.Err;
        EXPECT_FALSE(FileExists(dir.Path("out.png")));
    }
}

TEST(CliFeedNetwork, AFrequencySweepThroughTheNetworkGivesTheTransmittersAndErrorsColumns) {
    TTempDir dir;
    DesignFourSquare(dir);
    const TCliRun run =
        RunCli({"sweep", "--vary", "frequency", "--from", "6.9", "--to", "7.3", "--steps", "3",
                "--frequency", "7.1", "--config", kFourSquare, "--network", dir.Path("feed.net")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 4U);
    for (const char* column :
         {",tx_swr,", ",tx_r_ohm,", ",tx_x_ohm,", ",current_error_db_4,", ",current_error_deg_4"}) {
        EXPECT_NE(lines[0].find(column), std::string::npos) << column;
    }
}

TEST(CliFeedNetwork, TheReportTablesTheTransmitterAndEachEmitterOnlyThroughANetwork) {
    TTempDir dir;
    DesignFourSquare(dir);
    const std::vector<std::string> args = {"plot",      "--kind",      "report", "--config",
                                           kFourSquare, "--frequency", "7.1"};
    std::vector<std::string> fed = args;
    fed.insert(fed.end(), {"--network", dir.Path("feed.net"), dir.Path("fed.html")});
    ASSERT_EQ(RunCli(fed).ExitCode, 0);
    std::vector<std::string> alone = args;
    alone.push_back(dir.Path("alone.html"));
    ASSERT_EQ(RunCli(alone).ExitCode, 0);
    EXPECT_EQ(ReadBytes(dir.Path("alone.html")).find("class=\"network"), std::string::npos);

    const std::string page = ReadBytes(dir.Path("fed.html"));
    const std::size_t at = page.find("<table class=\"network\">");
    ASSERT_NE(at, std::string::npos);
    const std::string section =
        page.substr(at, page.find("</table>", page.find("network-emitters")) - at);
    std::vector<std::string> cells;
    const std::regex cell("<td>([^<]*)</td>");
    for (std::sregex_iterator i(section.begin(), section.end(), cell), end; i != end; ++i)
        cells.push_back((*i)[1]);
    // Four rows of caption and value, then four emitters of seven cells.
    ASSERT_EQ(cells.size(), 8U + 4 * 7U);
    const TJson json = ParseJson(RunCli({"pattern", "--format", "json", "--config", kFourSquare,
                                         "--frequency", "7.1", "--network", dir.Path("feed.net")})
                                     .Out)["network"];
    const auto number = [](std::string text) {
        std::replace(text.begin(), text.end(), ',', '.');
        return std::stod(text);
    };
    EXPECT_NEAR(number(cells[3]), json["transmitter"]["swr"].Number(), 0.006);
    EXPECT_NEAR(number(cells[7]), json["loss_w"].Number(), 1e-4);
    for (std::size_t k = 0; k < 4; ++k) {
        const TJson& e = json["emitters"].Items[k];
        EXPECT_EQ(cells[8 + 7 * k], std::to_string(static_cast<int>(e["number"].Number())));
        EXPECT_NEAR(number(cells[8 + 7 * k + 3]), e["current_error_db"].Number(), 0.006);
        EXPECT_NEAR(number(cells[8 + 7 * k + 6]), e["power_w"].Number(), 1e-4);
    }
}

// The four-square with its design frequency (MHz) saved beside its perfect ground.
std::string FourSquareAt(const std::string& mhz) {
    std::string text = ReadBytes(kFourSquare);
    const std::size_t sectionEnd = text.find('\n') + 1;
    return text.insert(sectionEnd, "\xD7\xE0\xF1\xF2\xEE\xF2\xE0=" + mhz + "\r\n");  // "Частота"
}

// Each command that sizes something at the design frequency takes it from the file where
// --frequency is left out, exactly as if the option gave the file's value; the option wins over
// the file, and with neither the command is refused.
TEST(CliDesignFrequency, TheFilesFrequencyServesWhereTheOptionIsLeftOut) {
    TTempDir dir;
    DesignFourSquare(dir);
    const std::string config = dir.Path("array.txt");
    const struct {
        const char* Name;
        std::vector<std::string> Args;
        std::vector<std::string> Files;  // written by the command, compared with its output
        const char* Refusal;
    } rows[] = {
        {"pattern through a network",
         {"pattern", "--format", "json", "--network", dir.Path("feed.net")},
         {},
         "--network needs a design frequency"},
        {"frequency sweep",
         {"sweep", "--vary", "frequency", "--from", "6.9", "--to", "7.3", "--steps", "2"},
         {},
         "--vary frequency needs a design frequency"},
        {"feed design",
         {"design", "--goal", "feed", "--method", "current-forcing", dir.Path("out.net")},
         {dir.Path("out.net"), dir.Path("out.cir")},
         "--goal feed needs a design frequency"},
        {"touchstone",
         {"touchstone", "--from", "6.9", "--to", "7.3", "--steps", "2", dir.Path("out.s4p")},
         {dir.Path("out.s4p")},
         "touchstone needs a design frequency"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        // Standard output and every file written, from the same paths each time.
        const auto run = [&](const std::string& configText, std::vector<std::string> more) {
            WriteBytes(config, configText);
            for (const std::string& file : row.Files) std::remove(file.c_str());
            std::vector<std::string> args = row.Args;
            args.insert(args.end(), {"--config", config});
            args.insert(args.end(), more.begin(), more.end());
            TCliRun result = RunCli(args);
            for (const std::string& file : row.Files)
                if (FileExists(file)) result.Out += "\n--- " + file + "\n" + ReadBytes(file);
            return result;
        };
        const TCliRun given = run(ReadBytes(kFourSquare), {"--frequency", "7.1"});
        ASSERT_EQ(given.ExitCode, 0) << given.Err;
        const TCliRun saved = run(FourSquareAt("7,1"), {});
        EXPECT_EQ(saved.ExitCode, 0) << saved.Err;
        EXPECT_EQ(saved.Out, given.Out);
        const TCliRun outweighed = run(FourSquareAt("6,5"), {"--frequency", "7.1"});
        EXPECT_EQ(outweighed.Out, given.Out);
        const TCliRun neither = run(ReadBytes(kFourSquare), {});
        EXPECT_EQ(neither.ExitCode, 2);
        EXPECT_NE(neither.Err.find(row.Refusal), std::string::npos) << neither.Err;
        EXPECT_NE(neither.Err.find("save the file with its frequency"), std::string::npos);
        EXPECT_EQ(neither.Out, "");
    }
}

TEST(Netlist, ValuesAndContinuationsReadAsNgspiceReadsThem) {
    const std::pair<const char*, double> values[] = {
        {"4.7u", 4.7e-6}, {"1MEG", 1e6},  {"1m", 1e-3}, {"10pF", 1e-11},
        {"2.2k", 2200},   {"1e-9", 1e-9}, {"75ohm", 75}};
    for (const auto& [text, value] : values) EXPECT_DOUBLE_EQ(*SpiceValue(text), value) << text;
    EXPECT_FALSE(SpiceValue("u1"));
    const TNetwork n = ReadNetlist(
        "title\r\nVTX src 0 DC 0 AC 2 90\r\nRTX src tx 50\r\nT1 tx 0 E1 0\r\n+ Z0 = 75 F=7.1MEG\r\n"
        "*@ vf t1 0.66\r\n.end\r\nQ1 ignored after the end\r\n");
    ASSERT_EQ(n.Parts.size(), 3U);
    const TPart& line = n.Parts[2];
    EXPECT_EQ(line.Value, 75);
    EXPECT_EQ(line.Wavelengths, 0.25);  // ngspice's default
    EXPECT_EQ(line.VelocityFactor, 0.66);
    EXPECT_NEAR(std::arg(n.Parts[0].Volts), 3.141592653589793 / 2, 1e-15);
    EXPECT_NE(n.EmitterNode[0], 0);
}

// A matched line loses what its note says at the design frequency, and twice as many decibels
// at four times the frequency.
TEST(Netlist, AMatchedLossyLineLosesItsDecibelsGrowingWithTheRootOfFrequency) {
    const TNetwork n = ReadNetlist(
        "title\nVTX src 0 AC 1\nRTX src tx 50\nT1 tx 0 e1 0 Z0=50 TD=10n\n*@ loss T1 10\n");
    const Eigen::MatrixXcd matched = Eigen::MatrixXcd::Constant(1, 1, 1.0 / 50);
    for (const double scale : {1.0, 4.0}) {
        const TNetworkSolution s = SolveNetwork(n, 7e6 * scale, 7e6, matched, {n.EmitterNode[0]});
        const double in = 0.5 * (s.TransmitterVoltage * std::conj(s.TransmitterCurrent)).real();
        const double out = 0.5 * (s.PortVoltage(0) * std::conj(s.PortCurrent(0))).real();
        // 10 dB per 100 m over the 2.998 m that 10 ns make at the speed of light.
        EXPECT_NEAR(10 * std::log10(in / out), 0.299792458 * std::sqrt(scale), 1e-6) << scale;
    }
}

}  // namespace
