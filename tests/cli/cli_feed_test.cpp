#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <complex>
#include <sstream>
#include <string>
#include <vector>

#include "clirunner.h"
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
        "touchstone", "--frequency", "10", "--from", "10", "--to", "10", "--steps", "1",
        "--config", kFourSquare, "--set", "3:on=0", "--set", "4:on=0", "--set", "2:length=0.24"};
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
    const std::vector<Eigen::MatrixXcd> read = ReadTouchstone(ReadBytes(dir.Path("pair.s2p")), 2, z0);
    ASSERT_EQ(read.size(), 2U);
    std::vector<std::string> pattern = {"pattern", "--format", "json"};
    pattern.insert(pattern.end(), args.begin() + 9, args.end());
    const Eigen::MatrixXcd z = JsonMatrix(ParseJson(RunCli(pattern).Out));
    // Unequal wires: S11 and S22 differ, so a reading in the wrong order fails.
    EXPECT_LT((read[0] - z).cwiseAbs().maxCoeff(), 1e-6 * z.cwiseAbs().maxCoeff());
}

}  // namespace
