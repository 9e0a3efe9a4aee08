// The wire solution against NEC-2 (nec2c) on decks written here, at radius 0.0005 wavelength
// and 21 segments per half wavelength.
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

#include "model/wirefield.h"
#include "model/wires.h"

namespace {

using Complex = std::complex<double>;
namespace fs = std::filesystem;

struct TNecResult {
    std::vector<Complex> Voltage, Current;  // per source, in the order of the wires driven
    std::vector<Complex> CentreCurrent;     // per wire, of its middle segment
    struct TSample {
        double Bearing, Elevation, GainDb;
    };
    std::vector<TSample> Samples;
};

int SegmentsOf(double length) {
    const int n = static_cast<int>(std::lround(42 * length));
    return n % 2 ? n : n + 1;
}

// The deck of the array driven with `voltages` (0 leaves a wire without a source), with an
// azimuth cut at `elevation` and an elevation cut at `bearing`, each in 0.1 degree steps.
std::string Deck(const TWireArray& a, const std::vector<Complex>& voltages, bool sommerfeld,
                 double bearing, double elevation) {
    std::ostringstream d;
    d.imbue(std::locale::classic());
    d << "CM wires\nCE\n";
    const bool monopoles = IsMonopoleArray(a);
    const double h = static_cast<double>(a.Ground.HeightWavelengths);
    std::vector<int> feeds;
    for (std::size_t i = 0; i < a.Wires.size(); ++i) {
        const TWire& w = a.Wires[i];
        const int n = monopoles ? std::max(3, SegmentsOf(w.Length)) : SegmentsOf(w.Length);
        feeds.push_back(monopoles ? 1 : (n + 1) / 2);
        double x1 = w.X, y1 = w.Y, z1 = h, x2 = w.X, y2 = w.Y, z2 = h;
        switch (a.Axis) {
            case TWireAxis::Up:
                z1 = monopoles ? 0 : h - w.Length / 2;
                z2 = monopoles ? w.Length : h + w.Length / 2;
                break;
            case TWireAxis::WestEast:
                x1 -= w.Length / 2;
                x2 += w.Length / 2;
                break;
            case TWireAxis::SouthNorth:
                y1 -= w.Length / 2;
                y2 += w.Length / 2;
                break;
        }
        d << "GW " << i + 1 << ' ' << n << ' ' << x1 << ' ' << y1 << ' ' << z1 << ' ' << x2 << ' '
          << y2 << ' ' << z2 << ' ' << a.Radius << '\n';
    }
    const bool ground = a.Ground.Kind != TGroundKind::None;
    d << "GE " << (ground ? 1 : 0) << '\n';
    if (a.Ground.Kind == TGroundKind::Perfect) d << "GN 1\n";
    if (a.Ground.Kind == TGroundKind::Real)
        d << "GN " << (sommerfeld ? 2 : 0) << " 0 0 0 "
          << static_cast<double>(a.Ground.Permittivity) << ' '
          << static_cast<double>(a.Ground.Conductivity) << '\n';
    d << "FR 0 1 0 0 299.8 0\n";
    for (std::size_t i = 0; i < voltages.size(); ++i)
        if (voltages[i] != Complex(0))
            d << "EX 0 " << i + 1 << ' ' << feeds[i] << " 0 " << voltages[i].real() << ' '
              << voltages[i].imag() << '\n';
    d << "RP 0 1 3600 1000 " << 90 - elevation << " 0 0 0.1\n";
    d << "RP 0 " << (ground ? 901 : 1801) << " 1 1000 0 " << 90 - bearing << " 0.1 0\n";
    d << "EN\n";
    return d.str();
}

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TNecResult RunNec(const std::string& deck, std::size_t wires) {
    static int run = 0;
    const fs::path dir = fs::temp_directory_path() /
                         ("wires-nec-" + std::to_string(::getpid()) + "-" + std::to_string(run++));
    fs::create_directories(dir);
    std::ofstream(dir / "d.nec") << deck;
    // nec2c refuses long input paths: it runs in the deck's folder with a short name.
    const std::string command =
        "cd '" + dir.string() + "' && nec2c -i d.nec -o d.out > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "nec2c failed: is the package nec2c installed?";
    const std::vector<std::string> lines = Lines((dir / "d.out").string());
    fs::remove_all(dir);
    TNecResult r;
    r.CentreCurrent.resize(wires);
    std::vector<int> counts(wires), centres(wires);
    enum { None, Inputs, Currents, Pattern } section = None;
    for (const std::string& line : lines) {
        if (line.find("ANTENNA INPUT PARAMETERS") != std::string::npos) section = Inputs;
        if (line.find("CURRENTS AND LOCATION") != std::string::npos) section = Currents;
        if (line.find("RADIATION PATTERNS") != std::string::npos) section = Pattern;
        if (line.find("POWER BUDGET") != std::string::npos) section = None;
        std::istringstream in(line);
        in.imbue(std::locale::classic());
        if (section == Inputs) {
            int tag, seg;
            double vr, vi, ir, ii;
            if (in >> tag >> seg >> vr >> vi >> ir >> ii) {
                r.Voltage.push_back({vr, vi});
                r.Current.push_back({ir, ii});
            }
        } else if (section == Currents) {
            int seg, tag;
            double x, y, z, len, re, im;
            if (in >> seg >> tag >> x >> y >> z >> len >> re >> im) {
                const auto w = static_cast<std::size_t>(tag - 1);
                counts[w]++;
                r.CentreCurrent[w] = {re, im};  // replaced below by the middle one
                centres[w] = seg;
            }
        } else if (section == Pattern) {
            double theta, phi, vert, hor, total;
            if (in >> theta >> phi >> vert >> hor >> total)
                r.Samples.push_back({90 - phi, 90 - theta, total});
        }
    }
    // The middle segment's current, read again now that every wire's count is known.
    section = None;
    int seen = 0;
    for (const std::string& line : lines) {
        if (line.find("CURRENTS AND LOCATION") != std::string::npos) section = Currents;
        if (line.find("POWER BUDGET") != std::string::npos) section = None;
        if (section != Currents) continue;
        std::istringstream in(line);
        in.imbue(std::locale::classic());
        int seg, tag;
        double x, y, z, len, re, im;
        if (!(in >> seg >> tag >> x >> y >> z >> len >> re >> im)) continue;
        const auto w = static_cast<std::size_t>(tag - 1);
        const int first = centres[w] - counts[w] + 1;
        if (seg - first == counts[w] / 2) r.CentreCurrent[w] = {re, im};
        ++seen;
    }
    EXPECT_GT(seen, 0);
    return r;
}

struct TCase {
    std::string Name;
    TWireArray Array;
    std::vector<Complex> Drive;
    TFeed Feed = TFeed::Voltage;
    double Bearing = 0;    // of the front, degrees
    double Elevation = 0;  // of the azimuth cut, degrees
    int Parasitic = -1;    // a wire without source whose current to wire 0's is compared
};

double MaxGain(const std::vector<TNecResult::TSample>& samples, bool ground) {
    double best = -999;
    for (const auto& s : samples)
        if (!ground || s.Elevation >= 0) best = std::max(best, s.GainDb);
    return best;
}

// The elevation of the lobe's vertex: a parabola fitted to the samples within 1 dB of the
// largest, since NEC's gains come to 0.01 dB and a lobe's top is flat to that over a degree.
double Takeoff(const std::vector<TNecResult::TSample>& cut) {
    const double best = MaxGain(cut, true);
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0, t0 = 0, t1 = 0, t2 = 0;
    double top = 0;
    for (const auto& s : cut) {
        if (s.GainDb == best) top = s.Elevation;
        if (s.GainDb < best - 1 || s.Elevation < 0) continue;
        const double x = s.Elevation, y = s.GainDb;
        s0 += 1, s1 += x, s2 += x * x, s3 += x * x * x, s4 += x * x * x * x;
        t0 += y, t1 += x * y, t2 += x * x * y;
    }
    Eigen::Matrix3d m;
    m << s4, s3, s2, s3, s2, s1, s2, s1, s0;
    const Eigen::Vector3d k = m.lu().solve(Eigen::Vector3d(t2, t1, t0));
    if (!(k(0) < 0)) return top;
    return std::clamp(-k(1) / (2 * k(0)), 0.0, 90.0);
}

void Compare(const TCase& c, bool sommerfeld) {
    const TWireArray& a = c.Array;
    const bool ground = a.Ground.Kind != TGroundKind::None;
    const TWireSystem system(a);
    Eigen::VectorXcd drive(static_cast<Eigen::Index>(c.Drive.size()));
    for (std::size_t i = 0; i < c.Drive.size(); ++i) drive(Eigen::Index(i)) = c.Drive[i];
    const TWireCurrents mine = system.Solve(c.Feed, drive);
    std::vector<Complex> voltages(c.Drive.size());
    for (std::size_t i = 0; i < voltages.size(); ++i)
        voltages[i] = mine.PortVoltage(Eigen::Index(i));
    const TNecResult nec =
        RunNec(Deck(a, voltages, sommerfeld, c.Bearing, c.Elevation), a.Wires.size());
    // Drive impedances, source by source.
    std::size_t source = 0;
    for (std::size_t i = 0; i < voltages.size(); ++i) {
        if (voltages[i] == Complex(0)) continue;
        ASSERT_LT(source, nec.Voltage.size());
        const Complex zNec = nec.Voltage[source] / nec.Current[source];
        const Complex zMine = mine.PortVoltage(Eigen::Index(i)) / mine.PortCurrent(Eigen::Index(i));
        EXPECT_LE(std::abs(zMine - zNec), 0.05 * std::abs(zNec) + 2)
            << "wire " << i + 1 << ": " << zMine << " against NEC's " << zNec;
        ++source;
    }
    // Gain, F/B and take-off over the same two cuts.
    std::vector<TNecResult::TSample> minePattern;
    for (const auto& s : nec.Samples)
        minePattern.push_back(
            {s.Bearing, s.Elevation, WireGainDbi(system, mine, s.Bearing, s.Elevation)});
    const double tolerance = a.Ground.Kind == TGroundKind::Real ? 0.2 : 0.1;
    EXPECT_NEAR(MaxGain(minePattern, ground), MaxGain(nec.Samples, ground), tolerance);
    const auto at = [&](const std::vector<TNecResult::TSample>& p, double bearing,
                        double elevation) {
        for (const auto& s : p)
            if (std::fabs(std::remainder(s.Bearing - bearing, 360)) < 1e-6 &&
                std::fabs(s.Elevation - elevation) < 1e-6)
                return s.GainDb;
        ADD_FAILURE() << "no sample at " << bearing << ", " << elevation;
        return 0.0;
    };
    const double fbNec =
        at(nec.Samples, c.Bearing, c.Elevation) - at(nec.Samples, c.Bearing + 180, c.Elevation);
    if (std::fabs(fbNec) < 20) {
        EXPECT_NEAR(
            at(minePattern, c.Bearing, c.Elevation) - at(minePattern, c.Bearing + 180, c.Elevation),
            fbNec, 0.5);
    }
    if (ground) {
        const auto takeoff = [&](const std::vector<TNecResult::TSample>& p) {
            std::vector<TNecResult::TSample> cut;
            for (const auto& s : p)
                if (std::fabs(std::remainder(s.Bearing - c.Bearing, 360)) < 1e-6) cut.push_back(s);
            return Takeoff(cut);
        };
        EXPECT_NEAR(takeoff(minePattern), takeoff(nec.Samples), 0.3);
    }
    if (c.Parasitic >= 0) {
        const auto p = static_cast<std::size_t>(c.Parasitic);
        const Complex ratioNec = nec.CentreCurrent[p] / nec.CentreCurrent[0];
        const Complex ratioMine = mine.PortCurrent(Eigen::Index(p)) / mine.PortCurrent(0);
        EXPECT_NEAR(std::abs(ratioMine) / std::abs(ratioNec), 1, 0.03);
        EXPECT_NEAR(std::remainder(std::arg(ratioMine / ratioNec) * 180 / std::numbers::pi, 360), 0,
                    3);
    }
}

TWireArray Array(TWireAxis axis, TGround ground, std::vector<TWire> wires) {
    TWireArray a;
    a.Axis = axis;
    a.Ground = ground;
    a.Wires = std::move(wires);
    return a;
}

const Complex kLag90{0, -1};  // a quarter period later

TEST(WiresAgainstNec, DipolesPairsYagiAndFourSquareAgreeInImpedanceGainAndPattern) {
    const TGround perfect0{TGroundKind::Perfect, 0};
    const double q = 0.125;  // half the four-square's side
    const std::vector<TCase> cases = {
        {"dipole 0.47", Array(TWireAxis::Up, {}, {{0, 0, 0.47}}), {1}},
        {"dipole 0.5", Array(TWireAxis::Up, {}, {{0, 0, 0.5}}), {1}},
        {"side-by-side cardioid",
         Array(TWireAxis::Up, {}, {{0, 0, 0.48}, {0, -0.25, 0.48}}),
         {1, kLag90},
         TFeed::Voltage,
         180},
        {"collinear pair",
         Array(TWireAxis::WestEast, {}, {{-0.3, 0, 0.5}, {0.3, 0, 0.5}}),
         {1, 1},
         TFeed::Voltage,
         0},
        {"yagi",
         Array(TWireAxis::Up, {}, {{0, 0, 0.47}, {-0.15, 0, 0.5}}),
         {1, 0},
         TFeed::Voltage,
         90,
         0,
         1},
        {"four-square",
         Array(TWireAxis::Up, perfect0,
               {{-q, -q, 0.25}, {q, -q, 0.25}, {-q, q, 0.25}, {q, q, 0.25}}),
         {1, kLag90, kLag90, -1.0},
         TFeed::Current,
         45,
         0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Compare(c, false);
    }
}

TEST(WiresAgainstNec, HorizontalDipoleOverPerfectAndAverageGroundAgreesInGainAndTakeoff) {
    for (const double height : {0.25, 0.5, 1.0}) {
        for (const bool real : {false, true}) {
            const TGround ground = real
                                       ? TGround{TGroundKind::Real, height, 299.792458L, 13, 0.005L}
                                       : TGround{TGroundKind::Perfect, height};
            SCOPED_TRACE(std::to_string(height) +
                         (real ? " over average ground" : " over perfect ground"));
            Compare(
                {"", Array(TWireAxis::WestEast, ground, {{0, 0, 0.5}}), {1}, TFeed::Voltage, 0, 10},
                true);
        }
    }
}

}  // namespace
