#include "app/feeddesign.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "app/figures.h"
#include "cli/feed.h"
#include "cli/realtext.h"
#include "cli/runner.h"
#include "config/errors.h"
#include "config/netlist.h"
#include "config/safefile.h"

namespace {

// A design misses when any current is further than this from the wanted one.
constexpr double kMostErrorDb = 0.5;
constexpr double kMostErrorDeg = 5;
constexpr double kBandSpan = 0.03;  // of the design frequency, either side

std::string Digits(double v, int digits) {
    char text[40];
    const auto end =
        std::to_chars(text, text + sizeof text, v, std::chars_format::scientific, digits - 1);
    return std::string(text, end.ptr);
}

struct TWorst {
    double Db = 0;
    double Deg = 0;
    std::optional<double> Swr;
    bool Meets() const { return Db <= kMostErrorDb && Deg <= kMostErrorDeg; }
};

TWorst WorstOf(const TFeedFigures& f) {
    TWorst w;
    for (const TFeedEmitter& e : f.Emitters) {
        w.Db = std::max(w.Db, std::abs(e.ErrorDb.value_or(0)));
        w.Deg = std::max(w.Deg, std::abs(e.ErrorDeg.value_or(0)));
    }
    w.Swr = f.TransmitterSwr;
    return w;
}

std::string SwrText(const std::optional<double>& swr) {
    return swr ? FigureText(*swr, 2) : std::string(Tr("none"));
}

std::string PartsTable(const TNetwork& network, const TFeedFigures& at, double hz) {
    std::string out = Tr("part\tnodes\tvalue\treactance at the design frequency, ohm\n");
    const auto node = [&](int i) { return network.Nodes[static_cast<std::size_t>(i)]; };
    for (const TPart& p : network.Parts) {
        out += p.Name + '\t' + node(p.A) + ' ' + node(p.B) + '\t';
        switch (p.Kind) {
            case TPartKind::Inductor:
                out += TrFormat("%s uH", {FigureText(p.Value * 1e6, 4)}) + '\t' +
                       FigureText(PartReactance(p, hz), 2) + '\n';
                break;
            case TPartKind::Capacitor:
                out += TrFormat("%s pF", {FigureText(p.Value * 1e12, 2)}) + '\t' +
                       FigureText(PartReactance(p, hz), 2) + '\n';
                break;
            case TPartKind::Line:
                out += TrFormat("line %s ohm, %s deg, %s m at velocity factor %s",
                                {FigureText(p.Value, 2),
                                 FigureText(LineRadians(p, hz) * 180 / std::numbers::pi, 2),
                                 FigureText(LineMetres(p), 3), FigureText(p.VelocityFactor, 3)}) +
                       '\n';
                break;
            case TPartKind::Resistor:
                out += TrFormat("%s ohm", {FigureText(p.Value, 2)}) + "\t\n";
                break;
            case TPartKind::Source:
                out += TrFormat("source %s V", {FigureText(std::abs(p.Volts), 4)}) + "\t\n";
                break;
        }
    }
    for (const TFeedEmitter& e : at.Emitters) {
        out += TrFormat("power into emitter %s: %s W\n",
                        {std::to_string(e.Number), FigureText(e.Drive.Power, 4)});
    }
    return out;
}

// The test bench: every emitter's feed replaced by its drive impedance through the network,
// so that a circuit simulator alone reproduces the node voltages.
std::string TestBench(const TNetwork& network, const TFeedFigures& at, const std::string& netName,
                      double hz) {
    std::string out = "* test bench of " + netName + ": each feed is its drive impedance\n";
    out += ".include " + netName + '\n';
    for (const TFeedEmitter& e : at.Emitters) {
        if (!e.Drive.Impedance) continue;
        const std::string n = "e" + std::to_string(e.Number);
        if (network.EmitterNode[static_cast<std::size_t>(e.Number - 1)] == 0) continue;
        const std::complex<double> z = *e.Drive.Impedance;
        const double omega = 2 * std::numbers::pi * hz;
        out += "RLOAD" + std::to_string(e.Number) + ' ' + n + " z" + n + ' ' +
               Digits(z.real(), 12) + '\n';
        out += z.imag() >= 0 ? "LLOAD" + std::to_string(e.Number) + " z" + n + " 0 " +
                                   Digits(std::max(z.imag(), 1e-9) / omega, 12)
                             : "CLOAD" + std::to_string(e.Number) + " z" + n + " 0 " +
                                   Digits(-1 / (omega * z.imag()), 12);
        out += '\n';
    }
    out += ".ac lin 1 " + Digits(hz, 12) + ' ' + Digits(hz, 12) + '\n';
    out += ".control\nset numdgt=12\nrun\nprint";
    for (std::size_t i = 1; i < network.Nodes.size(); ++i) out += " v(" + network.Nodes[i] + ')';
    out += "\n.endc\n.end\n";
    return out;
}

}  // namespace

// The feed network for the file's currents: designed from the solved port matrix, solved back
// through the array across the band, written with its test bench only where it delivers them.
int RunFeedDesign(const TCliOptions& options, std::string& output) {
    return Guarded("", [&] {
        const TAnalysisRequest request = RequestFor(options, Configs(options).front());
        const TPatternResult start = Analyse(request);
        PrintMessages(start.Session, "");
        StrictCheck(options, start.Session);
        const std::string method(NameOf<TFeedMethod>(kFeedMethodNames, options.FeedMethod));
        if (!start.Wires.Solved) {
            throw EUsageError(
                Tr("--goal feed needs wires: give the emitters lengths (--length, "
                   "--set N:length or the file's)"));
        }
        if (start.Wires.Settings.Feed != TFeed::Current) {
            throw EUsageError(Tr("--goal feed delivers the file's currents: give --feed current"));
        }
        const TCoupling& c = start.Wires.Solved->Coupling;
        Eigen::VectorXcd wanted(static_cast<Eigen::Index>(c.Emitters.size()));
        for (std::size_t k = 0; k < c.Emitters.size(); ++k)
            wanted(static_cast<Eigen::Index>(k)) = c.Emitters[k].Current;
        TFeedDesignRequest asked;
        const bool forcing = options.FeedMethod == TFeedMethod::CurrentForcing;
        asked.Layout = forcing ? TFeedLayout::CurrentForcing : TFeedLayout::Lines;
        asked.LineZ0 = options.LineZ0.value_or(forcing ? 75 : 50);
        asked.VelocityFactor = options.VelocityFactor;
        asked.TransmitterZ0 = options.TransmitterZ0;
        const long double f0 = *request.DesignFrequencyMhz;
        asked.FrequencyMhz = static_cast<double>(f0);
        const std::string config = request.Steps.ConfigFile.value_or("");
        asked.Title = "* feed of " + std::filesystem::path(config).filename().string() + ": " +
                      method + " at " + FormatShortest(f0) + " MHz";
        const TFeedDesign design = DesignFeed(c, wanted, asked);
        if (design.Refusal)
            throw EUsageError("--goal feed --method " + method + ": " + *design.Refusal);
        // The most compact network that delivers the currents at the design frequency.
        TCliOptions through = options;
        std::optional<std::size_t> chosen;
        TPatternResult result;
        TWorst first;
        for (std::size_t i = 0; i < design.Networks.size() && !chosen; ++i) {
            through.Network = std::make_shared<const TNetwork>(design.Networks[i]);
            result = AnalyseFor(through, request);
            const TWorst worst = WorstOf(*result.Network);
            if (i == 0) first = worst;
            if (worst.Meets()) chosen = i;
        }
        const std::string out = FullPath(options.OutputFile);
        if (!chosen) {
            throw std::runtime_error(TrFormat(
                "the network misses the wanted currents: worst error %s dB, %s deg, transmitter "
                "SWR %s; %s is not written",
                {FigureText(first.Db, 2), FigureText(first.Deg, 2), SwrText(first.Swr), out}));
        }
        const TNetwork& network = design.Networks[*chosen];
        const double hz = asked.FrequencyMhz * 1e6;
        std::string text = TrFormat("feed network %s: %s, lines %s ohm\n",
                                    {out, method, FigureText(asked.LineZ0, 2)});
        if (design.Networks.size() > 1) {
            for (std::size_t i = 0; i < design.Networks.size(); ++i) {
                std::string lengths;
                for (const TPart& p : design.Networks[i].Parts) {
                    if (p.Kind == TPartKind::Line)
                        lengths += ' ' + p.Name + ' ' +
                                   FigureText(LineRadians(p, hz) * 180 / std::numbers::pi, 2);
                }
                text += TrFormat("solution %s:%s deg%s\n",
                                 {std::to_string(i + 1), lengths,
                                  i == *chosen ? std::string(Tr(" (written)")) : ""});
            }
        }
        text += PartsTable(network, *result.Network, hz);
        const TWorst atDesign = WorstOf(*result.Network);
        text += TrFormat(
            "through the network: worst current error %s dB, %s deg; transmitter SWR %s\n",
            {FigureText(atDesign.Db, 2), FigureText(atDesign.Deg, 2), SwrText(atDesign.Swr)});
        const TDesignFrequencyArray designArray = ArrayAtDesign(request);
        for (const double t : {-1.0, -0.5, 0.5, 1.0}) {
            const long double mhz = f0 * (1 + kBandSpan * t);
            const TPatternResult step =
                AnalyseFor(through, FrequencyStep(request, designArray, mhz));
            const TWorst w = WorstOf(*step.Network);
            text += TrFormat(
                "  at %s MHz: worst current error %s dB, %s deg; transmitter SWR %s\n",
                {FigureText(mhz, 4), FigureText(w.Db, 2), FigureText(w.Deg, 2), SwrText(w.Swr)});
        }
        text += Tr("node voltages at the design frequency, V (real, imaginary):\n");
        const Eigen::VectorXcd& v = result.Network->Solution.NodeVoltage;
        for (std::size_t i = 1; i < network.Nodes.size(); ++i) {
            text += "  " + network.Nodes[i] + ' ' +
                    Digits(v(static_cast<Eigen::Index>(i)).real(), 13) + ' ' +
                    Digits(v(static_cast<Eigen::Index>(i)).imag(), 13) + '\n';
        }
        const std::filesystem::path bench = std::filesystem::path(out).replace_extension(".cir");
        const std::string netText = NetlistText(network);
        const std::string benchText =
            TestBench(network, *result.Network, std::filesystem::path(out).filename().string(), hz);
        TFileSet files;
        for (const auto& [path, content] :
             {std::pair<std::string, const std::string*>{out, &netText},
              {bench.string(), &benchText}}) {
            const std::string_view piece(*content);
            const TFileWriteResult written = files.Prepare(path, {&piece, 1});
            if (!written.Ok()) {
                throw EFileError(TrFormat("Unable to write to %s", {path}), written.Errno);
            }
        }
        if (const auto failure = files.Commit()) {
            throw EFileError(TrFormat("Unable to write to %s", {failure->Path}),
                             failure->Result.Errno);
        }
        output += text;
    });
}
