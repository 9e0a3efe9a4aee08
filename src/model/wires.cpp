#include "model/wires.h"

#include <cmath>
#include <numbers>

#include "model/matrixroom.h"
#include "model/sommerfeld.h"
#include "model/symmetricsolve.h"
#include "model/wirekernel.h"

namespace {

constexpr double kWave = 2 * std::numbers::pi;                // per wavelength
constexpr double kImpedanceOfSpace = 120 * std::numbers::pi;  // ohms

// A wire as the kernel sees it: its two coordinates across the axis and its nodes along it.
// Every node lies on a fine grid, the regular ones every 2^Graded steps of it and the graded
// ones toward either end at 1, 2, 4 ... steps from it.
struct TLine {
    double Radius = 0;
    double AcrossA = 0;
    double AcrossB = 0;
    double Start = 0;  // axial position of node 0
    double Length = 0;
    double Step = 0;   // of the fine grid
    int Graded = 0;    // graded nodes toward each end
    int Segments = 0;  // graded ones included
    int FirstMode = 0;
    std::vector<int> Grid;         // each node's index on the fine grid
    std::vector<double> Sin, Cos;  // of k times each segment's length
    double Node(int i) const { return Start + Grid[std::size_t(i)] * Step; }
    // Segment i runs from node i to node i + 1.
    double SegmentLength(int i) const {
        return (Grid[std::size_t(i + 1)] - Grid[std::size_t(i)]) * Step;
    }
    double Left(int m) const { return SegmentLength(m - 1); }
    double Right(int m) const { return SegmentLength(m); }
    // Its three nodes on the regular spacing.
    bool RegularMode(int m) const {
        return Graded == 0 || (m > Graded + 1 && m < Segments - Graded - 1);
    }
};

double Height(const TWireArray& a) {
    return static_cast<double>(a.Ground.HeightWavelengths);
}

// Monopoles stand for the dipoles of twice their length they form with their images.
double SolvedLength(const TWire& w, bool monopoles) {
    return monopoles ? 2 * w.Length : w.Length;
}

}  // namespace

double RadiusOf(const TWireArray& a, const TWire& w) {
    return w.Radius > 0 ? w.Radius : a.Radius;
}

// The drive impedance of tubing settles more slowly with the segments than that of wire: at
// 0.002 wavelength the reactance still moves 2 ohms a doubling at the density that settles a
// 0.0005 wavelength wire. The density grows as the root of the radius, so that tubing up to
// 0.005 wavelength sits where NEC's own refinements do, but a segment stays at least two radii
// long, below which the reduced kernel no longer describes the tube.
int SegmentsOn(const TWireArray& a, const TWire& w, double length) {
    constexpr double kSettledRadius = 0.0005;  // wavelengths
    const double radius = RadiusOf(a, w);
    const double density = a.SegmentsPerWavelength;
    const double thick = density * std::sqrt(std::max(1.0, radius / kSettledRadius));
    const double perWavelength = std::min(thick, std::max(density, 0.5 / radius));
    const int half = static_cast<int>(std::ceil(length * perWavelength / 2 - 1e-9));
    return 2 * std::max({1, half, a.MinSegments / 2});
}

namespace {

// The graded nodes toward each end of a wire cut into `segments`.
int GradedNodes(double length, int segments, double radius) {
    for (int g = kEndGrades; g > 0; --g) {
        const int regular = segments - 2 * g;
        if (regular >= kMinRegularSegments &&
            std::ldexp(length / regular, -g) >= kMinEndSegmentRadii * radius)
            return g;
    }
    return 0;
}

void LayNodes(TLine& line) {
    const int graded = GradedNodes(line.Length, line.Segments, line.Radius);
    const int regular = line.Segments - 2 * graded;
    const int spacing = 1 << graded;
    line.Graded = graded;
    line.Step = std::ldexp(line.Length / regular, -graded);
    for (int i = 0; i <= line.Segments; ++i) {
        const int fromEnd = std::min(i, line.Segments - i);
        const int grid = fromEnd > graded ? (fromEnd - graded) * spacing
                         : fromEnd > 0    ? 1 << (fromEnd - 1)
                                          : 0;
        line.Grid.push_back(i == fromEnd ? grid : regular * spacing - grid);
    }
    for (int i = 0; i < line.Segments; ++i) {
        line.Sin.push_back(std::sin(kWave * line.SegmentLength(i)));
        line.Cos.push_back(std::cos(kWave * line.SegmentLength(i)));
    }
}

TLine LineOf(const TWireArray& a, int w, bool monopoles) {
    const TWire& wire = a.Wires[static_cast<std::size_t>(w)];
    const double length = SolvedLength(wire, monopoles);
    TLine line;
    line.Radius = RadiusOf(a, wire);
    line.Length = length;
    line.Segments = SegmentsOn(a, wire, length);
    double centre = 0;
    switch (a.Axis) {
        case TWireAxis::Up:
            line.AcrossA = wire.X;
            line.AcrossB = wire.Y;
            centre = monopoles ? 0 : Height(a);
            break;
        case TWireAxis::WestEast:
            line.AcrossA = wire.Y;
            line.AcrossB = Height(a);
            centre = wire.X;
            break;
        case TWireAxis::SouthNorth:
            line.AcrossA = wire.X;
            line.AcrossB = Height(a);
            centre = wire.Y;
            break;
    }
    line.Start = centre - length / 2;
    LayNodes(line);
    return line;
}

std::vector<TLine> LinesOf(const TWireArray& a, bool monopoles) {
    std::vector<TLine> lines;
    int first = 0;
    for (int w = 0; w < static_cast<int>(a.Wires.size()); ++w) {
        lines.push_back(LineOf(a, w, monopoles));
        lines.back().FirstMode = first;
        first += lines.back().Segments - 1;
    }
    return lines;
}

// Over real ground the image's share is weighted by the Fresnel coefficients at the specular
// angle between the two modes' centres. An upright current's field there is polarised in the
// plane of incidence; a horizontal one's splits between that plane and across it by the
// direction of the path.
std::complex<double> ImageWeight(const TWireArray& a, const TLine& test, double testAxial,
                                 const TLine& source, double sourceAxial) {
    if (a.Ground.Kind != TGroundKind::Real) return 1;
    if (a.Axis == TWireAxis::Up) {
        const double across =
            std::hypot(test.AcrossA - source.AcrossA, test.AcrossB - source.AcrossB);
        const double up = testAxial + sourceAxial;
        return Reflection<double>(a.Ground, up / std::hypot(across, up)).Vertical;
    }
    const double along = testAxial - sourceAxial;
    const double across = test.AcrossA - source.AcrossA;
    const double up = test.AcrossB + source.AcrossB;
    const double horizontal2 = along * along + across * across;
    const double distance2 = horizontal2 + up * up;
    const TReflection<double> r = Reflection<double>(a.Ground, up / std::sqrt(distance2));
    if (horizontal2 < 1e-18) return r.Vertical;
    const double share = across * across / horizontal2 * distance2 / (across * across + up * up);
    return r.Vertical + (-r.Horizontal - r.Vertical) * share;
}

// The Sommerfeld ground's tables for the array's layout; none where its field is not added: a
// soil beyond the tables' range is a perfect ground to the currents.
std::shared_ptr<const TSommerfeldGround> SommerfeldOf(const TWireArray& a) {
    const TGround& g = a.Ground;
    if (g.Kind != TGroundKind::Real || g.Model != TGroundModel::Sommerfeld) return nullptr;
    if (g.Conductivity > kMaxSommerfeldConductivity || g.Permittivity > kMaxSommerfeldPermittivity)
        return nullptr;
    const bool upright = a.Axis == TWireAxis::Up;
    TSommerfeldLayout layout{ComplexPermittivity<double>(g), upright};
    double west = 1e300, east = -1e300, south = 1e300, north = -1e300;
    layout.LowestSum = 2 * Height(a);
    layout.HighestSum = layout.LowestSum;
    for (const TWire& w : a.Wires) {
        const double along = upright ? 0 : w.Length / 2;
        const double x = a.Axis == TWireAxis::SouthNorth ? w.Y : w.X;
        const double y = a.Axis == TWireAxis::SouthNorth ? w.X : w.Y;
        west = std::min(west, x - along), east = std::max(east, x + along);
        south = std::min(south, y), north = std::max(north, y);
        if (upright) {
            layout.LowestSum = std::min(layout.LowestSum, 2 * Height(a) - w.Length);
            layout.HighestSum = std::max(layout.HighestSum, 2 * Height(a) + w.Length);
        }
    }
    // Reaches in sixteenths of a wavelength, so that a wire moved a little keeps its tables.
    layout.Reach = std::ceil(16 * (std::hypot(east - west, north - south) + a.Radius)) / 16;
    return TSommerfeldGround::For(layout);
}

// The distance across the axis at which the earth's tables are read between two lines: on the
// surface, as the image's own reaction is (TNodeTable).
double SommerfeldAcross(const TWireArray& a, const TLine& test, const TLine& source) {
    const double radius = (test.Radius + source.Radius) / 2;
    return a.Axis == TWireAxis::Up ? std::hypot(std::hypot(test.AcrossA - source.AcrossA,
                                                           test.AcrossB - source.AcrossB),
                                                radius)
                                   : std::hypot(test.AcrossA - source.AcrossA, radius);
}

// The reaction of a source mode's image with a test mode, given the free-space image's: under
// the Sommerfeld model the image carries the quasi-static weight and the tables add the rest
// of the earth's field.
std::complex<double> SommerfeldReaction(const TSommerfeldGround& ground, const TLine& test, int m,
                                        const TLine& source, int n, double across,
                                        std::complex<double> image) {
    return image * ground.ImageWeight() +
           ground.Reaction({test.Node(m), test.Left(m), test.Right(m)},
                           {source.Node(n), source.Left(n), source.Right(n)}, across);
}

bool SameGrid(const TLine& test, const TLine& source) {
    return std::fabs(test.Step - source.Step) < 1e-12 * test.Step;
}

// Values computed once each, by slot, for one block of the fill after another: a slot holds a
// value of the present block only, so that no block clears the slots, which cost a twentieth
// of the fill.
template <typename TValue>
class TMemo {
  public:
    // Forgets every value and makes room for `size` slots.
    void Begin(std::size_t size) {
        if (Values.size() < size) {
            Values.resize(size);
            Stamps.resize(size, 0);
        }
        if (++Stamp == 0) {
            std::fill(Stamps.begin(), Stamps.end(), 0);
            Stamp = 1;
        }
    }
    template <typename TCompute>
    const TValue& Get(std::size_t slot, TCompute compute) {
        if (Stamps[slot] != Stamp) {
            Values[slot] = compute();
            Stamps[slot] = Stamp;
        }
        return Values[slot];
    }

  private:
    std::vector<TValue> Values;
    std::vector<unsigned> Stamps;
    unsigned Stamp = 0;
};

// The memos of a fill, kept from block to block.
struct TFillMemos {
    TMemo<TNodePair> Pairs;
    TMemo<std::complex<double>> Points, Entries, Translated, Weights;
};

// The node pairs of every node on `test` against every node on `source`, or on its image in
// the ground. On grids of one step a pair depends on the difference of the nodes' grid indices
// only (or, for an upright image, their sum), and is computed once, when first asked for.
class TNodeTable {
  public:
    TNodeTable(const TWireArray& a, const TLine& test, const TLine& source, bool image,
               TMemo<TNodePair>& pairs)
        : Test(test),
          Source(source),
          Mirror(image && a.Axis == TWireAxis::Up ? -1 : 1),
          Pairs(pairs) {
        const double sourceB = image && a.Axis != TWireAxis::Up ? -source.AcrossB : source.AcrossB;
        // A wire's own current is read on its surface; between wires of different radii any
        // symmetric choice will do, the distance dwarfing both.
        const double radius = (test.Radius + source.Radius) / 2;
        Rho = std::hypot(std::hypot(test.AcrossA - source.AcrossA, test.AcrossB - sourceB), radius);
        Shared = SameGrid(test, source);
        const int nt = test.Segments + 1, ns = source.Segments + 1;
        if (Shared) {
            Low = Mirror > 0 ? -source.Grid.back() : 0;
            High = test.Grid.back() + (Mirror > 0 ? 0 : source.Grid.back());
            Pairs.Begin(std::size_t(High - Low + 1));
        } else {
            Pairs.Begin(std::size_t(nt * ns));
        }
        // Lines that start level see each offset and its negative: one pair is the other's
        // with its two halves exchanged.
        Level = Shared && Mirror > 0 && test.Start == source.Start;
    }
    // The pair of test node t and source node b.
    const TNodePair& At(int t, int b) {
        if (!Shared)
            return Pairs.Get(std::size_t(t * (Source.Segments + 1) + b),
                             [&] { return NodePair(Test.Node(t) - Mirror * Source.Node(b), Rho); });
        return ByKey(Test.Grid[std::size_t(t)] - Mirror * Source.Grid[std::size_t(b)]);
    }
    // The same pair seen from the other wire: the axial offset changes sign, save between an
    // upright wire and an image, where it is the sum of two heights.
    TNodePair Reversed(const TNodePair& pair) const {
        TNodePair p = pair;
        if (Mirror > 0) {
            std::swap(p.Behind, p.Ahead);
            p.Phase = std::conj(p.Phase);
        }
        return p;
    }

  private:
    const TNodePair& ByKey(int key) {
        return Pairs.Get(std::size_t(key - Low), [&] {
            if (Level && key < 0 && -key <= High) return Reversed(ByKey(-key));
            // The offset from one canonical pair of grid points, whichever nodes ask.
            const int t0 = Mirror > 0 ? std::max(0, key) : std::min(key, Test.Grid.back());
            const int b0 = Mirror * (t0 - key);
            return NodePair(
                Test.Start + t0 * Test.Step - Mirror * (Source.Start + b0 * Source.Step), Rho);
        });
    }

    const TLine& Test;
    const TLine& Source;
    int Mirror = 1;  // the image's axial positions
    double Rho = 0;
    bool Shared = false;
    bool Level = false;
    int Low = 0, High = 0;
    TMemo<TNodePair>& Pairs;
};

// Lines of one length cut alike: the same nodes on grids of one step.
bool SameCut(const TLine& test, const TLine& source) {
    return test.Segments == source.Segments && test.Grid == source.Grid && SameGrid(test, source);
}

// Lines with one grid at one place along the axis: a pair of them looks the same from either.
bool SameSpan(const TLine& test, const TLine& source) {
    return SameCut(test, source) && test.Start == source.Start;
}

// Adds the reactions of the modes on `source` (or its image) with the test modes on `test` to
// the mode impedance matrix; pairs(t, b) gives the node pair of test node t and source node b.
// `swapped` adds each reaction also where the source's modes test the test's: lines of one
// span see the same reactions either way round, mirrored in the plane between them.
template <typename TPairs>
void AddBlock(const TWireArray& a, const TSommerfeldGround* sommerfeld, const TLine& test,
              const TLine& source, bool image, TPairs pairs, bool upperRows, bool swapped,
              TFillMemos& memos, Eigen::Ref<Eigen::MatrixXcd> z) {
    const bool upright = a.Axis == TWireAxis::Up;
    const int nt = test.Segments + 1, ns = source.Segments + 1;
    // The image of a horizontal current flows the other way.
    const std::complex<double> scale =
        std::complex<double>(0, kImpedanceOfSpace / (4 * std::numbers::pi)) *
        (image && !upright ? -1.0 : 1.0);
    // The test mode's reaction with a point source at each source node: the source modes
    // either side of a node share it.
    memos.Points.Begin(std::size_t(nt * ns));
    const auto r = [&](int m, int b) {
        return memos.Points.Get(std::size_t(m * ns + b), [&] {
            return ModeIntegral(pairs(m - 1, b), pairs(m, b), pairs(m + 1, b),
                                test.Sin[std::size_t(m - 1)], test.Sin[std::size_t(m)]);
        });
    };
    // The source mode's field is that of point sources at its three nodes, weighted by the
    // jumps of its current's slope there.
    const auto reaction = [&](int m, int n) {
        const double sinA = source.Sin[std::size_t(n - 1)], sinB = source.Sin[std::size_t(n)];
        const double cosA = source.Cos[std::size_t(n - 1)], cosB = source.Cos[std::size_t(n)];
        if (sinA == sinB) return scale / sinA * (r(m, n - 1) + r(m, n + 1) - 2 * cosA * r(m, n));
        return scale *
               (r(m, n - 1) / sinA + r(m, n + 1) / sinB - (cosA / sinA + cosB / sinB) * r(m, n));
    };
    // On grids of one step an entry between regular modes, like the node pairs it is made of,
    // depends on the difference of their centres' grid indices only (on the sum against an
    // upright image), and so does an image's weight between any two modes: each is computed
    // once.
    const bool shared = SameGrid(test, source);
    const int mirror = image && upright ? -1 : 1;
    const auto slot = [&](int m, int n) {
        return std::size_t(test.Grid[std::size_t(m)] - mirror * source.Grid[std::size_t(n)] +
                           source.Grid.back());
    };
    const auto span = std::size_t(shared ? test.Grid.back() + 2 * source.Grid.back() + 1 : 0);
    memos.Translated.Begin(span);
    memos.Weights.Begin(span);
    const auto weight = [&](int m, int n) {
        const auto compute = [&] {
            return ImageWeight(a, test, test.Node(m), source, source.Node(n));
        };
        return shared ? memos.Weights.Get(slot(m, n), compute) : compute();
    };
    const double earthAcross = sommerfeld ? SommerfeldAcross(a, test, source) : 0;
    const auto entry = [&](int m, int n) {
        const std::complex<double> value = reaction(m, n);
        if (!image) return value;
        if (sommerfeld)
            return SommerfeldReaction(*sommerfeld, test, m, source, n, earthAcross, value);
        return value * weight(m, n);
    };
    // Lines centred level, the source's or its image's (not an upright wire's, which stands
    // the other way), are each their own mirror image in the plane across the axis through
    // their centres: a pair of modes reacts as the pair mirrored there. Lines of one span
    // react alike with the two modes exchanged, by reciprocity and the plane between them.
    // Lines of one length anywhere along the axis (again not against an upright image) go
    // over into each other mirrored in both planes at once: the pair exchanged and mirrored
    // reacts alike. Each entry is computed once, at the least of the pairs that stand for it.
    const auto centre = [](const TLine& l) { return l.Start + l.Length / 2; };
    const bool flips =
        !(image && upright) && std::fabs(centre(test) - centre(source)) <= 1e-12 * test.Length;
    const bool exchanges = SameSpan(test, source);
    const bool turns = !(image && upright) && SameCut(test, source);
    memos.Entries.Begin(std::size_t(nt * ns));
    const auto canonical = [&](int m, int n) {
        std::pair<int, int> least{m, n};
        const auto consider = [&](int i, int j) { least = std::min(least, std::pair{i, j}); };
        if (flips) consider(nt - 1 - m, ns - 1 - n);
        if (exchanges) consider(n, m);
        if (turns) consider(ns - 1 - n, nt - 1 - m);
        return least;
    };
    for (int m = upperRows ? test.Segments / 2 : 1; m < nt - 1; ++m)
        for (int n = 1; n < ns - 1; ++n) {
            std::complex<double> value;
            if (shared && test.RegularMode(m) && source.RegularMode(n)) {
                value = memos.Translated.Get(slot(m, n), [&] { return entry(m, n); });
            } else {
                const std::pair<int, int> least = canonical(m, n);
                value = memos.Entries.Get(std::size_t(least.first * ns + least.second),
                                          [&] { return entry(least.first, least.second); });
            }
            z(test.FirstMode + m - 1, source.FirstMode + n - 1) += value;
            if (swapped) z(source.FirstMode + m - 1, test.FirstMode + n - 1) += value;
        }
}

// The share of a mode centred `offset` from the feed, its segments `left` and `right` long,
// that a feed gap of width g sees: the mean of the mode's current over the gap.
double GapShare(double offset, double left, double right, double gap) {
    const double sinA = std::sin(kWave * left), cosA = std::cos(kWave * left);
    const double sinB = std::sin(kWave * right), cosB = std::cos(kWave * right);
    const double rise = (1 - cosA) / (kWave * sinA);
    // The integral of the mode's current from its lower end to x (relative to its centre).
    const auto rising = [&](double x) {
        if (x <= -left) return 0.0;
        if (x <= 0) return (1 - std::cos(kWave * (left + x))) / (kWave * sinA);
        if (x < right) return rise + (std::cos(kWave * (right - x)) - cosB) / (kWave * sinB);
        return rise + (1 - cosB) / (kWave * sinB);
    };
    return (rising(gap / 2 - offset) - rising(-gap / 2 - offset)) / gap;
}

}  // namespace

bool IsMonopoleArray(const TWireArray& a) {
    return a.Axis == TWireAxis::Up && a.Ground.Kind == TGroundKind::Perfect && Height(a) == 0;
}

std::optional<TWireFault> CheckWires(const TWireArray& a) {
    const bool monopoles = IsMonopoleArray(a);
    const int count = static_cast<int>(a.Wires.size());
    for (int i = 0; i < count; ++i) {
        const TWire& w = a.Wires[static_cast<std::size_t>(i)];
        const double radius = RadiusOf(a, w);
        if (!(radius >= kMinWireRadius)) return TWireFault{TWireFault::ThinWire, i, i};
        if (radius >= w.Length / 10) return TWireFault{TWireFault::ThickWire, i, i};
        const double height = a.Ground.Kind == TGroundKind::None ? 0 : Height(a);
        if (!(std::hypot(w.X, w.Y) + height + w.Length <= kMaxWireReach))
            return TWireFault{TWireFault::Spread, i, i};
        if (a.Ground.Kind != TGroundKind::None && !monopoles) {
            const double clearance = a.Axis == TWireAxis::Up ? Height(a) - w.Length / 2 : Height(a);
            if (clearance <= radius) return TWireFault{TWireFault::ReachesGround, i, i};
            if (a.Ground.Kind == TGroundKind::Real && a.Ground.Model == TGroundModel::Sommerfeld &&
                clearance < std::max(kMinSommerfeldHeight, kMinSommerfeldRadii * radius))
                return TWireFault{TWireFault::ReachesGround, i, i};
        }
    }
    const std::vector<TLine> lines = LinesOf(a, monopoles);
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            const TLine& p = lines[static_cast<std::size_t>(i)];
            const TLine& q = lines[static_cast<std::size_t>(j)];
            const double across = std::hypot(p.AcrossA - q.AcrossA, p.AcrossB - q.AcrossB);
            const double gap =
                std::max(q.Start - (p.Start + p.Length), p.Start - (q.Start + q.Length));
            const double touch = p.Radius + q.Radius;
            if (across <= touch && gap <= touch) return TWireFault{TWireFault::Touch, i, j};
        }
    return std::nullopt;
}

std::vector<TWireMode> LayModes(const TWireArray& a, bool monopoles) {
    std::vector<TWireMode> modes;
    const std::vector<TLine> lines = LinesOf(a, monopoles);
    for (int w = 0; w < static_cast<int>(lines.size()); ++w) {
        const TLine& line = lines[static_cast<std::size_t>(w)];
        for (int i = 1; i < line.Segments; ++i)
            modes.push_back({w, line.Node(i), line.Left(i), line.Right(i)});
    }
    return modes;
}

namespace {

// Which entries a solution needs.
enum class TPart {
    Whole,
    UpperRows,  // the rows of each wire's feed mode and the modes beyond it
    Lower,      // on and below the diagonal, and the diagonal blocks whole
};

// Adds the reactions to z, which holds zeros or the part already filled.
void Fill(const TWireArray& a, const std::vector<TLine>& lines, bool images, TPart part,
          Eigen::Ref<Eigen::MatrixXcd> z) {
    const bool upperRows = part == TPart::UpperRows;
    const std::shared_ptr<const TSommerfeldGround> sommerfeld = images ? SommerfeldOf(a) : nullptr;
    TFillMemos memos;
    // Each pair of wires computes its node pairs once; both blocks are then assembled on their
    // own, so that the matrix is symmetric only as far as the reactions are, save between
    // lines of one span, which see one block from either end.
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (std::size_t j = i; j < lines.size(); ++j)
            for (const bool image : {false, true}) {
                if (image && !images) continue;
                const TLine &p = lines[i], &q = lines[j];
                TNodeTable table(a, p, q, image, memos.Pairs);
                const bool both = i != j && part != TPart::Lower && SameSpan(p, q);
                if (i == j || part != TPart::Lower)
                    AddBlock(
                        a, sommerfeld.get(), p, q, image,
                        [&](int t, int b) -> const TNodePair& { return table.At(t, b); }, upperRows,
                        both, memos, z);
                if (i != j && !both)
                    AddBlock(
                        a, sommerfeld.get(), q, p, image,
                        [&](int t, int b) { return table.Reversed(table.At(b, t)); }, upperRows,
                        false, memos, z);
            }
}

// Wires whose centres share one plane across the axis, with no image to break the symmetry
// through it, carry currents symmetric about that plane when fed at their centres.
bool MirrorSymmetric(const TWireArray& a, const std::vector<TLine>& lines, bool images) {
    if (images && a.Axis == TWireAxis::Up) return false;
    const auto centre = [](const TLine& l) { return l.Start + l.Length / 2; };
    for (const TLine& line : lines)
        if (std::fabs(centre(line) - centre(lines.front())) > 1e-12) return false;
    return true;
}

}  // namespace

Eigen::MatrixXcd ModeImpedance(const TWireArray& a, const std::vector<TWireMode>& modes,
                               bool monopoles) {
    const bool images = a.Ground.Kind != TGroundKind::None && !monopoles;
    const auto size = static_cast<Eigen::Index>(modes.size());
    Eigen::MatrixXcd z = Eigen::MatrixXcd::Zero(size, size);
    Fill(a, LinesOf(a, monopoles), images, TPart::Whole, z);
    return z;
}

TWireSystem::TWireSystem(const TWireArray& array)
    : Geometry(array),
      SolvedAsDipoles(IsMonopoleArray(array)),
      ModeList(LayModes(array, SolvedAsDipoles)) {
    const std::vector<TLine> lines = LinesOf(Geometry, SolvedAsDipoles);
    const bool images = Geometry.Ground.Kind != TGroundKind::None && !SolvedAsDipoles;
    const bool mirror = MirrorSymmetric(Geometry, lines, images);
    const auto modes = static_cast<Eigen::Index>(ModeList.size());
    TMatrixRoom room(modes);
    Eigen::Map<Eigen::MatrixXcd> z = room.Matrix();
    Fill(Geometry, lines, images, mirror ? TPart::UpperRows : TPart::Lower, z);
    const auto ports = static_cast<Eigen::Index>(lines.size());
    GapShares = Eigen::MatrixXd::Zero(modes, ports);
    for (Eigen::Index p = 0; p < ports; ++p) {
        const TLine& line = lines[static_cast<std::size_t>(p)];
        // A monopole's feed gap on the ground is half of the gap its dipole has with the image.
        const double gap =
            std::min(SolvedAsDipoles ? 2 * kFeedGap : kFeedGap, kMaxGapShare * line.Length);
        const double feed = line.Node(line.Segments / 2);
        for (int i = 1; i < line.Segments; ++i)
            GapShares(line.FirstMode + i - 1, p) =
                GapShare(line.Node(i) - feed, line.Left(i), line.Right(i), gap);
    }
    const Eigen::MatrixXcd gaps = GapShares.cast<std::complex<double>>();
    if (!mirror) {
        // Factored in place: a copy of the matrix costs as much as its fill.
        ModeCurrentsPerVolt = gaps;
        if (!SolveSymmetric(z, ModeCurrentsPerVolt)) {
            z.setZero();
            Fill(Geometry, lines, images, TPart::Whole, z);
            Eigen::Ref<Eigen::MatrixXcd> whole(z);
            ModeCurrentsPerVolt =
                Eigen::PartialPivLU<Eigen::Ref<Eigen::MatrixXcd>>(whole).solve(gaps);
        }
    } else {
        // Half the unknowns: each mode beyond the feed stands for itself and its mirror image.
        std::vector<Eigen::Index> kept, mirrored;
        for (const TLine& line : lines)
            for (int i = line.Segments / 2; i < line.Segments; ++i) {
                kept.push_back(line.FirstMode + i - 1);
                mirrored.push_back(line.FirstMode + line.Segments - i - 1);
            }
        const auto half = static_cast<Eigen::Index>(kept.size());
        Eigen::MatrixXcd reduced(half, half);
        Eigen::MatrixXcd rhs(half, ports);
        for (Eigen::Index r = 0; r < half; ++r) {
            const Eigen::Index row = kept[static_cast<std::size_t>(r)];
            for (Eigen::Index c = 0; c < half; ++c) {
                const auto k = static_cast<std::size_t>(c);
                reduced(r, c) =
                    z(row, kept[k]) + (mirrored[k] != kept[k] ? z(row, mirrored[k]) : 0);
            }
            rhs.row(r) = gaps.row(row);
        }
        const Eigen::MatrixXcd solved =
            Eigen::PartialPivLU<Eigen::Ref<Eigen::MatrixXcd>>(reduced).solve(rhs);
        ModeCurrentsPerVolt.resize(modes, ports);
        for (Eigen::Index r = 0; r < half; ++r) {
            ModeCurrentsPerVolt.row(kept[static_cast<std::size_t>(r)]) = solved.row(r);
            ModeCurrentsPerVolt.row(mirrored[static_cast<std::size_t>(r)]) = solved.row(r);
        }
    }
    // The dipole a monopole forms with its image sees twice the monopole's voltage.
    if (SolvedAsDipoles) ModeCurrentsPerVolt *= 2;
    Admittance = GapShares.transpose().cast<std::complex<double>>() * ModeCurrentsPerVolt;
    Impedance = Admittance.inverse();
}

TWireCurrents TWireSystem::Solve(TFeed feed, const Eigen::VectorXcd& drive) const {
    TWireCurrents c;
    if (feed == TFeed::Voltage) {
        c.PortVoltage = drive;
        c.PortCurrent = Admittance * drive;
    } else {
        c.PortCurrent = drive;
        c.PortVoltage = Impedance * drive;
    }
    c.Modes = ModeCurrentsPerVolt * c.PortVoltage;
    return c;
}

TDrive DriveFigures(std::complex<double> voltage, std::complex<double> current, double z0) {
    TDrive d;
    d.Power = 0.5 * (voltage * std::conj(current)).real();
    if (current == std::complex<double>(0)) return d;
    d.Impedance = voltage / current;
    if (d.Impedance->real() > 0) {
        // A resistance lost in rounding beside the reactance reflects everything: no SWR.
        const double gamma = std::abs((*d.Impedance - z0) / (*d.Impedance + z0));
        if (gamma < 1) d.Swr = (1 + gamma) / (1 - gamma);
    }
    return d;
}

double InputPower(const TWireCurrents& c) {
    return 0.5 * c.PortVoltage.dot(c.PortCurrent).real();
}
