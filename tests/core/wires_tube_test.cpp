// Tubing and short elements against NEC-2 (nec2c) with its extended thin-wire kernel, on decks
// written here: wavelengths are NEC metres at 299.8 MHz.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <locale>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "model/wires.h"

namespace {

using Complex = std::complex<double>;
namespace fs = std::filesystem;

struct TWireLine {
    double X = 0, Y = 0, Length = 0, Radius = 0;  // along NEC's x, or its z for a monopole
};

std::string Number(double v) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out.precision(9);
    out << v;
    return out.str();
}

// The currents at the centre (or base) of every wire with only `driven` fed by 1 V: a column of
// the port admittance matrix.
std::vector<Complex> NecColumn(const std::vector<TWireLine>& wires, int segments, bool monopole,
                               std::size_t driven) {
    std::string deck = "CM tube\nCE\n";
    for (std::size_t i = 0; i < wires.size(); ++i) {
        const TWireLine& w = wires[i];
        const std::string tag = std::to_string(i + 1) + " " + std::to_string(segments) + " ";
        if (monopole)
            deck += "GW " + tag + Number(w.X) + " " + Number(w.Y) + " 0 " + Number(w.X) + " " +
                    Number(w.Y) + " " + Number(w.Length) + " " + Number(w.Radius) + "\n";
        else
            deck += "GW " + tag + Number(-w.Length / 2) + " " + Number(w.Y) + " 0 " +
                    Number(w.Length / 2) + " " + Number(w.Y) + " 0 " + Number(w.Radius) + "\n";
    }
    deck += monopole ? "GE 1\nGN 1\n" : "GE 0\n";
    const int feed = monopole ? 1 : (segments + 1) / 2;
    deck += "EK\nEX 0 " + std::to_string(driven + 1) + " " + std::to_string(feed) +
            " 0 1 0\nFR 0 1 0 0 299.8 0\nXQ\nEN\n";
    static int run = 0;
    const fs::path dir = fs::temp_directory_path() /
                         ("tube-nec-" + std::to_string(::getpid()) + "-" + std::to_string(run++));
    fs::create_directories(dir);
    std::ofstream(dir / "d.nec") << deck;
    const std::string command =
        "cd '" + dir.string() + "' && nec2c -i d.nec -o d.out > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "nec2c failed: is the package nec2c installed?";
    std::ifstream out(dir / "d.out");
    std::vector<Complex> column(wires.size());
    bool currents = false;
    for (std::string line; std::getline(out, line);) {
        if (line.find("CURRENTS AND LOCATION") != std::string::npos) currents = true;
        std::istringstream in(line);
        in.imbue(std::locale::classic());
        int seg = 0, tag = 0;
        double v[6] = {};
        if (currents && in >> seg >> tag >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5] &&
            seg - (tag - 1) * segments == feed)
            column.at(static_cast<std::size_t>(tag - 1)) = {v[4], v[5]};
    }
    fs::remove_all(dir);
    return column;
}

Eigen::MatrixXcd NecPortImpedance(const std::vector<TWireLine>& wires, int segments,
                                  bool monopole) {
    const auto n = static_cast<Eigen::Index>(wires.size());
    Eigen::MatrixXcd y(n, n);
    for (Eigen::Index c = 0; c < n; ++c) {
        const std::vector<Complex> column =
            NecColumn(wires, segments, monopole, static_cast<std::size_t>(c));
        for (Eigen::Index r = 0; r < n; ++r) y(r, c) = column[static_cast<std::size_t>(r)];
    }
    return y.inverse();
}

Eigen::MatrixXcd MinePortImpedance(const std::vector<TWireLine>& wires, bool monopole) {
    TWireArray a;
    a.Axis = monopole ? TWireAxis::Up : TWireAxis::WestEast;
    if (monopole) a.Ground.Kind = TGroundKind::Perfect;
    for (const TWireLine& w : wires) a.Wires.push_back({w.X, w.Y, w.Length, w.Radius});
    return TWireSystem(a).PortImpedance();
}

// Every entry inside the span NEC's runs give, widened by 2 % of its size and 1 ohm, part by
// part.
void ExpectInsideNecSpan(const Eigen::MatrixXcd& mine, const std::vector<Eigen::MatrixXcd>& nec) {
    for (Eigen::Index r = 0; r < mine.rows(); ++r)
        for (Eigen::Index c = 0; c < mine.cols(); ++c) {
            double loR = 1e300, hiR = -1e300, loX = 1e300, hiX = -1e300;
            for (const Eigen::MatrixXcd& z : nec) {
                loR = std::min(loR, z(r, c).real()), hiR = std::max(hiR, z(r, c).real());
                loX = std::min(loX, z(r, c).imag()), hiX = std::max(hiX, z(r, c).imag());
            }
            const double slack = 0.02 * std::abs(nec.front()(r, c)) + 1;
            SCOPED_TRACE(testing::Message() << "entry " << r << c << ": " << mine(r, c));
            EXPECT_GE(mine(r, c).real(), loR - slack);
            EXPECT_LE(mine(r, c).real(), hiR + slack);
            EXPECT_GE(mine(r, c).imag(), loX - slack);
            EXPECT_LE(mine(r, c).imag(), hiX + slack);
        }
}

}  // namespace

TEST(TubingAgainstNec, DipolesAndPairsFromWireToTubingSitInsideTheExtendedKernelsSpan) {
    struct TRow {
        const char* Name;
        std::vector<TWireLine> Wires;
    };
    const std::vector<TRow> rows = {
        {"dipole, radius 1e-5", {{0, 0, 0.496, 1e-5}}},
        {"dipole, radius 0.0005", {{0, 0, 0.496, 0.0005}}},
        {"dipole, radius 0.002", {{0, 0, 0.496, 0.002}}},
        {"dipole, radius 0.005", {{0, 0, 0.496, 0.005}}},
        {"pair 0.1 apart, radius 0.002", {{0, 0, 0.496, 0.002}, {0, 0.1, 0.496, 0.002}}},
        {"pair 0.3 apart, radius 0.002", {{0, 0, 0.496, 0.002}, {0, 0.3, 0.496, 0.002}}},
        {"pair 0.5 apart, radius 0.002", {{0, 0, 0.496, 0.002}, {0, 0.5, 0.496, 0.002}}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        std::vector<Eigen::MatrixXcd> nec;
        // From 21 to 81 segments, each at least two radii long.
        for (const int segments : {21, 41, 81})
            if (row.Wires.front().Length / segments >= 2 * row.Wires.front().Radius)
                nec.push_back(NecPortImpedance(row.Wires, segments, false));
        ExpectInsideNecSpan(MinePortImpedance(row.Wires, false), nec);
    }
}

// Segments four radii long: NEC's figures for these elements still move with the segments, and
// four radii is as fine as its extended kernel goes without losing the tube.
TEST(TubingAgainstNec, ShortDipoleAndShortMonopoleAgreeWithNecWithinFivePercentAndAnOhm) {
    struct TRow {
        const char* Name;
        TWireLine Wire;
        bool Monopole;
        int Segments;
    };
    const std::vector<TRow> rows = {
        {"0.05 dipole", {0, 0, 0.05, 0.0005}, false, 25},
        {"0.10 monopole", {0, 0, 0.1, 0.0005}, true, 41},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        const Complex nec = NecPortImpedance({row.Wire}, row.Segments, row.Monopole)(0, 0);
        const Complex mine = MinePortImpedance({row.Wire}, row.Monopole)(0, 0);
        EXPECT_NEAR(mine.real(), nec.real(), 0.05 * std::fabs(nec.real()) + 1) << mine << nec;
        EXPECT_NEAR(mine.imag(), nec.imag(), 0.05 * std::fabs(nec.imag()) + 1) << mine << nec;
    }
}

// The four-square of quarter-wave monopoles designed at 7.1 MHz, swept down to 1 MHz: 0.035
// wavelength tall and as far apart, where the back pair's drive resistance is the mutual
// reactance of their neighbours. NEC's source segment is a 56th of each monopole.
TEST(TubingAgainstNec, FourSquareSweptFarBelowItsDesignFrequencyKeepsNecsDriveImpedances) {
    const double scale = 1 / 7.1, q = 0.125 * scale;
    std::vector<TWireLine> wires;
    const double places[4][2] = {{-q, -q}, {q, -q}, {-q, q}, {q, q}};
    for (const auto& p : places) wires.push_back({p[0], p[1], 0.25 * scale, 0.0005 * scale});
    const Eigen::MatrixXcd nec = NecPortImpedance(wires, 56, true);
    const Eigen::MatrixXcd mine = MinePortImpedance(wires, true);
    Eigen::VectorXcd currents(4);
    const double lags[] = {0, 0.25, 0.25, 0.5};  // periods
    for (Eigen::Index i = 0; i < 4; ++i)
        currents(i) = std::polar(1.0, -2 * std::numbers::pi * lags[i]);
    const Eigen::VectorXcd vNec = nec * currents, vMine = mine * currents;
    for (Eigen::Index i = 0; i < 4; ++i) {
        const Complex zNec = vNec(i) / currents(i), zMine = vMine(i) / currents(i);
        SCOPED_TRACE(testing::Message() << "emitter " << i + 1 << ": " << zMine << zNec);
        EXPECT_NEAR(zMine.real(), zNec.real(), 0.05 * std::fabs(zNec.real()) + 1);
        EXPECT_NEAR(zMine.imag(), zNec.imag(), 0.05 * std::fabs(zNec.imag()) + 1);
    }
}
