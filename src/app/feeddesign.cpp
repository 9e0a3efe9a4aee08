#include "app/feeddesign.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "config/messages.h"

namespace {

constexpr double kPi = 3.141592653589793;
using TComplex = std::complex<double>;

// Parts and nodes of a network as they are laid out.
class TNetworkBuilder {
  public:
    TNetworkBuilder(const std::string& title, double hz) : Hz(hz) {
        Network.Title = title;
        Network.Nodes.push_back("0");
    }
    int Node(const std::string& name) {
        const auto found = std::find(Network.Nodes.begin(), Network.Nodes.end(), name);
        if (found != Network.Nodes.end()) return static_cast<int>(found - Network.Nodes.begin());
        Network.Nodes.push_back(name);
        return static_cast<int>(Network.Nodes.size()) - 1;
    }
    // An inductor for a positive reactance, a capacitor for a negative one.
    void Reactance(const std::string& name, int a, int b, double ohms) {
        TPart p;
        const double omega = 2 * kPi * Hz;
        p.Kind = ohms > 0 ? TPartKind::Inductor : TPartKind::Capacitor;
        p.Name = (ohms > 0 ? "L" : "C") + name;
        p.A = a;
        p.B = b;
        p.Value = ohms > 0 ? ohms / omega : -1 / (omega * ohms);
        Network.Parts.push_back(p);
    }
    void Line(int emitter, int from, double wavelengths, double z0, double vf) {
        TPart p;
        p.Kind = TPartKind::Line;
        p.Name = "TE" + std::to_string(emitter);
        p.A = from;
        p.B = Node("e" + std::to_string(emitter));
        p.Value = z0;
        p.AtHz = Hz;
        p.Wavelengths = wavelengths;
        p.VelocityFactor = vf;
        Network.Parts.push_back(p);
        Network.EmitterNode[static_cast<std::size_t>(emitter - 1)] = p.B;
    }
    // The transmitter's source and resistance on node tx.
    void Transmitter(int tx, double resistance) {
        TPart v;
        v.Kind = TPartKind::Source;
        v.Name = "VTX";
        v.A = Node("src");
        v.Volts = 1;
        TPart r;
        r.Name = "RTX";
        r.A = v.A;
        r.B = tx;
        r.Value = resistance;
        Network.Source = static_cast<int>(Network.Parts.size());
        Network.Parts.push_back(v);
        Network.SourceResistor = Network.Source + 1;
        Network.Parts.push_back(r);
        Network.TransmitterNode = tx;
    }

    TNetwork Network;
    double Hz;
};

// The L-network from node tx that shows the load on node a as the transmitter's resistance:
// the shunt arm on the side of the larger resistance.
std::optional<std::string> Match(TNetworkBuilder& b, int a, TComplex load, double rs) {
    const double rl = load.real();
    if (!(rl > 0)) {
        return TrFormat("the common node's resistance is %s ohm: nothing to match",
                        {std::to_string(rl)});
    }
    const int tx = b.Node("tx");
    if (rl < rs) {
        const double q = std::sqrt(rs / rl - 1);
        b.Reactance("MS", tx, a, q * rl - load.imag());
        b.Reactance("MP", tx, 0, -rs / q);
    } else {
        const TComplex y = 1.0 / load;
        const double g = y.real();
        const double wanted = std::sqrt(std::max(0.0, g / rs - g * g));
        const double shunt = wanted - y.imag();
        if (std::abs(shunt) > 1e-12 * g) b.Reactance("MP", a, 0, -1 / shunt);
        b.Reactance("MS", tx, a, wanted / (g * g + wanted * wanted));
    }
    b.Transmitter(tx, rs);
    return std::nullopt;
}

// Scales the source so that the reference emitter carries its wanted current's amplitude.
void ScaleSource(TNetwork& network, const TCoupling& coupling, const Eigen::VectorXcd& wanted,
                 double hz) {
    const TFeedFigures f = SolveFeed(network, coupling, hz, hz, wanted);
    Eigen::Index reference = 0;
    for (Eigen::Index k = 1; k < wanted.size(); ++k) {
        if (std::abs(wanted(k)) > std::abs(wanted(reference))) reference = k;
    }
    const double got = std::abs(f.Emitters[static_cast<std::size_t>(reference)].Current);
    if (got > 0)
        network.Parts[static_cast<std::size_t>(network.Source)].Volts *=
            std::abs(wanted(reference)) / got;
}

double Degrees(double radians) {
    double d = std::fmod(radians * 180 / kPi, 360);
    return d < 0 ? d + 360 : d;
}

TFeedDesign CurrentForcing(const TCoupling& coupling, const Eigen::VectorXcd& wanted,
                           const TFeedDesignRequest& request) {
    const double hz = request.FrequencyMhz * 1e6;
    const double z0 = request.LineZ0;
    const Eigen::Index n = wanted.size();
    const double magnitude = wanted.cwiseAbs().maxCoeff();
    for (Eigen::Index k = 0; k < n; ++k) {
        if (std::abs(std::abs(wanted(k)) - magnitude) > 1e-6 * magnitude) {
            return {{},
                    Tr("current forcing needs the wanted currents all of one magnitude: one line "
                       "impedance forces |I| = |V| / Z0")};
        }
    }
    const Eigen::VectorXcd v = coupling.ImpedanceMatrix * wanted;
    // Phase groups: a quarter-wave line makes its load's current lag the node's voltage by 90
    // degrees, a three-quarter-wave one lead it by 90, so currents 180 degrees apart share a
    // node. A group's node takes the phase that feeds its first element through a quarter wave.
    struct TGroup {
        double NodeDeg = 0;
        std::vector<Eigen::Index> Members;
    };
    std::map<long long, TGroup> byKey;
    for (Eigen::Index k = 0; k < n; ++k) {
        const double phase = Degrees(std::arg(wanted(k)));
        TGroup& g = byKey[std::llround(std::fmod(phase, 180) * 1e6) % 180000000];
        if (g.Members.empty()) g.NodeDeg = std::fmod(phase + 90, 360);
        g.Members.push_back(k);
    }
    std::vector<TGroup> groups;
    for (const auto& entry : byKey) groups.push_back(entry.second);
    std::sort(groups.begin(), groups.end(),
              [](const TGroup& x, const TGroup& y) { return x.NodeDeg > y.NodeDeg; });
    // The chain runs from the leading node down: it starts after the widest gap between
    // neighbouring phases, and every lag along it must be below 180 degrees.
    const std::size_t m = groups.size();
    std::size_t widest = m - 1;
    double widestGap = groups[m - 1].NodeDeg + 360 - groups[0].NodeDeg;
    for (std::size_t i = 0; i + 1 < m; ++i) {
        const double gap = groups[i].NodeDeg - groups[i + 1].NodeDeg;
        if (gap > widestGap) {
            widestGap = gap;
            widest = i;
        }
    }
    std::rotate(groups.begin(), groups.begin() + static_cast<long>((widest + 1) % m), groups.end());
    TNetworkBuilder b(request.Title, hz);
    std::vector<int> nodes;
    std::vector<double> phases;
    std::vector<TComplex> loads;  // admittance of each group's lines
    for (const TGroup& g : groups) {
        nodes.push_back(b.Node("n" + std::to_string(nodes.size() + 1)));
        phases.push_back(g.NodeDeg * kPi / 180);
        TComplex y = 0;
        for (const Eigen::Index k : g.Members) {
            const double lag = Degrees((g.NodeDeg - Degrees(std::arg(wanted(k)))) * kPi / 180);
            b.Line(coupling.Emitters[static_cast<std::size_t>(k)].Number, nodes.back(),
                   std::abs(lag - 90) < 1 ? 0.25 : 0.75, z0, request.VelocityFactor);
            // A quarter-wave line's input admittance is its load's impedance over Z0 squared.
            y += v(k) / wanted(k) / (z0 * z0);
        }
        loads.push_back(y);
    }
    // From the most lagging node back to the leading one: each L-network, a series arm from
    // the node before and a shunt arm here, lags this node behind the one before at an equal
    // voltage.
    TComplex total = loads.back();
    for (std::size_t i = nodes.size() - 1; i > 0; --i) {
        const double lag = std::fmod(phases[i - 1] - phases[i] + 4 * kPi, 2 * kPi);
        const double g = total.real();
        if (!(lag > 0 && lag < kPi)) {
            return {{},
                    Tr("the wanted phases spread over more than a half period: no chain of "
                       "L-networks reaches them")};
        }
        if (!(g > 0)) {
            return {{},
                    Tr("the elements of a lagging phase group return power: no L-network can "
                       "feed them")};
        }
        const double xs = std::sin(lag) / g;
        const double inverseXp = total.imag() - g * (1 - std::cos(lag)) / std::sin(lag);
        b.Reactance("S" + std::to_string(i), nodes[i - 1], nodes[i], xs);
        if (std::abs(inverseXp) > 1e-12 * g)
            b.Reactance("P" + std::to_string(i), nodes[i], 0, 1 / inverseXp);
        const TComplex branch = (1.0 - std::polar(1.0, -lag)) / TComplex(0, xs);
        total = loads[i - 1] + branch;
    }
    if (const auto refusal = Match(b, nodes.front(), 1.0 / total, request.TransmitterZ0))
        return {{}, refusal};
    ScaleSource(b.Network, coupling, wanted, hz);
    return {{b.Network}, std::nullopt};
}

// Christman's method: line lengths (radians) whose input voltages are equal, so that the lines
// can be joined at one node.
std::vector<std::pair<double, double>> EqualVoltageLengths(TComplex v1, TComplex i1, TComplex v2,
                                                           TComplex i2, double z0) {
    const TComplex j(0, 1);
    const auto in = [&](TComplex v, TComplex i, double t) {
        return v * std::cos(t) + j * z0 * i * std::sin(t);
    };
    const auto slope = [&](TComplex v, TComplex i, double t) {
        return -v * std::sin(t) + j * z0 * i * std::cos(t);
    };
    constexpr int kGrid = 360;
    const double step = 2 * kPi / kGrid;
    std::vector<double> residual(kGrid * kGrid);
    for (int a = 0; a < kGrid; ++a) {
        for (int c = 0; c < kGrid; ++c)
            residual[a * kGrid + c] = std::abs(in(v1, i1, a * step) - in(v2, i2, c * step));
    }
    std::vector<std::pair<double, double>> found;
    const double scale = std::abs(v1) + std::abs(v2) + z0 * (std::abs(i1) + std::abs(i2));
    for (int a = 0; a < kGrid; ++a) {
        for (int c = 0; c < kGrid; ++c) {
            const double r = residual[a * kGrid + c];
            bool minimum = true;
            for (int da = -1; da <= 1 && minimum; ++da) {
                for (int dc = -1; dc <= 1; ++dc) {
                    const int aa = (a + da + kGrid) % kGrid;
                    const int cc = (c + dc + kGrid) % kGrid;
                    if ((da || dc) && residual[aa * kGrid + cc] < r) minimum = false;
                }
            }
            if (!minimum || r > 0.2 * scale) continue;
            // Newton on the two real equations of one complex one.
            double t1 = a * step;
            double t2 = c * step;
            for (int it = 0; it < 50; ++it) {
                const TComplex f = in(v1, i1, t1) - in(v2, i2, t2);
                const TComplex d1 = slope(v1, i1, t1);
                const TComplex d2 = -slope(v2, i2, t2);
                const double det = d1.real() * d2.imag() - d2.real() * d1.imag();
                if (det == 0) break;
                t1 -= (f.real() * d2.imag() - d2.real() * f.imag()) / det;
                t2 -= (d1.real() * f.imag() - f.real() * d1.imag()) / det;
            }
            if (std::abs(in(v1, i1, t1) - in(v2, i2, t2)) > 1e-9 * scale) continue;
            t1 = std::fmod(std::fmod(t1, 2 * kPi) + 2 * kPi, 2 * kPi);
            t2 = std::fmod(std::fmod(t2, 2 * kPi) + 2 * kPi, 2 * kPi);
            if (t1 < 1e-6 || t2 < 1e-6) continue;
            const bool seen = std::any_of(found.begin(), found.end(), [&](const auto& s) {
                return std::abs(s.first - t1) < 1e-6 && std::abs(s.second - t2) < 1e-6;
            });
            if (!seen) found.emplace_back(t1, t2);
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto& x, const auto& y) { return x.first + x.second < y.first + y.second; });
    return found;
}

TFeedDesign Lines(const TCoupling& coupling, const Eigen::VectorXcd& wanted,
                  const TFeedDesignRequest& request) {
    if (wanted.size() != 2) {
        return {{}, Tr("the line-length method feeds exactly two elements")};
    }
    const double hz = request.FrequencyMhz * 1e6;
    const double z0 = request.LineZ0;
    const Eigen::VectorXcd v = coupling.ImpedanceMatrix * wanted;
    TFeedDesign design;
    for (const auto& [t1, t2] : EqualVoltageLengths(v(0), wanted(0), v(1), wanted(1), z0)) {
        TNetworkBuilder b(request.Title, hz);
        const int a = b.Node("n1");
        const double lengths[] = {t1, t2};
        TComplex current = 0;
        TComplex voltage = 0;
        for (int k = 0; k < 2; ++k) {
            const double t = lengths[k];
            b.Line(coupling.Emitters[static_cast<std::size_t>(k)].Number, a, t / (2 * kPi), z0,
                   request.VelocityFactor);
            voltage = v(k) * std::cos(t) + TComplex(0, z0) * wanted(k) * std::sin(t);
            current += wanted(k) * std::cos(t) + TComplex(0, 1 / z0) * v(k) * std::sin(t);
        }
        if (Match(b, a, voltage / current, request.TransmitterZ0)) continue;
        ScaleSource(b.Network, coupling, wanted, hz);
        design.Networks.push_back(b.Network);
    }
    if (design.Networks.empty()) {
        design.Refusal =
            Tr("no pair of line lengths gives both lines one input voltage that can "
               "be matched");
    }
    return design;
}

}  // namespace

TFeedDesign DesignFeed(const TCoupling& coupling, const Eigen::VectorXcd& wanted,
                       const TFeedDesignRequest& request) {
    return request.Layout == TFeedLayout::CurrentForcing ? CurrentForcing(coupling, wanted, request)
                                                         : Lines(coupling, wanted, request);
}

double PartReactance(const TPart& part, double hz) {
    const double omega = 2 * kPi * hz;
    switch (part.Kind) {
        case TPartKind::Inductor:
            return omega * part.Value;
        case TPartKind::Capacitor:
            return -1 / (omega * part.Value);
        default:
            return 0;
    }
}
