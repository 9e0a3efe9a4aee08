#include "cli/feed.h"

#include <cmath>
#include <limits>

#include "app/feedcase.h"
#include "app/figures.h"
#include "config/filecontent.h"
#include "config/inifile.h"
#include "config/netlist.h"
#include "model/phaseangle.h"

namespace {

constexpr long double kNone = std::numeric_limits<long double>::quiet_NaN();

long double Or(const std::optional<double>& v) {
    return v ? *v : kNone;
}

}  // namespace

TNetwork ReadNetworkFile(const std::string& path) {
    const TFileContent content = ReadFileContent(path, TIniFile::kMaxFileSize, TFileKinds::Any);
    if (content.Errno != 0) {
        throw EUsageError(
            TrFormat("cannot read --network %s: %s", {path, SystemErrorText(content.Errno)}));
    }
    try {
        return ReadNetlist(content.Text);
    } catch (const ENetlistError& e) {
        throw EUsageError(
            TrFormat("--network %s:%s: %s", {path, std::to_string(e.Line), e.what()}));
    }
}

TPatternResult AnalyseFor(const TCliOptions& options, const TAnalysisRequest& request) {
    if (!options.Network) return Analyse(request);
    const TNetwork& network = *options.Network;
    // Only the port matrix is wanted before the network is solved: the wires alone, without
    // the pattern and its searches, as the analysis would take them.
    const TDesignFrequencyArray d = ArrayAtDesign(request);
    const TGround ground = request.ModelGiven ? TGround{} : d.Ground;
    if (!HasWireLengths(d.Wires.Settings, d.Array)) {
        throw EUsageError(
            Tr("--network needs wires: give the emitters lengths (--length, --set N:length or "
               "the file's)"));
    }
    // The port matrix alone: the far field comes with the analysis through the network.
    const auto solved = CheckCoupling(d.Array, d.Wires.Settings, ground)
                            ? std::nullopt
                            : SolvePorts(d.Array, d.Wires.Settings, ground);
    if (!solved) return Analyse(request);  // which says why the wires cannot be
    if (const auto fault = CheckNetworkPorts(network, d.Array)) {
        throw EUsageError(
            TrFormat("--network %s:%s: %s",
                     {options.NetworkFile, std::to_string(fault->Line), fault->Reason}));
    }
    const TCoupling& c = *solved;
    const double hz = static_cast<double>(*request.Ground.FrequencyMhz) * 1e6;
    const double designHz = static_cast<double>(*request.DesignFrequencyMhz) * 1e6;
    auto feed = std::make_shared<TFeedFigures>(
        SolveFeed(network, c, hz, designHz, WantedCurrents(c, d.Wires.Settings.Feed)));
    // The pattern and every figure from the currents the network delivers.
    TAnalysisRequest through = request;
    for (const TFeedEmitter& e : feed->Emitters) {
        const auto [amplitude, phase] = AmplitudeAndPhase(e.Current);
        through.Steps.Settings.push_back({e.Number, TEmitterField::Amplitude, amplitude});
        through.Steps.Settings.push_back({e.Number, TEmitterField::Phase, phase});
    }
    through.Wires.Feed = TFeed::Current;
    TPatternResult fed = Analyse(through);
    fed.Network = std::move(feed);
    return fed;
}

void WriteJsonNetwork(TJsonWriter& json, const TPatternResult& result) {
    json.Key("network");
    if (!result.Network) {
        json.Null();
        return;
    }
    const TFeedFigures& f = *result.Network;
    const auto ohms = [&json](std::complex<double> z) {
        json.BeginArray();
        json.Real(z.real());
        json.Real(z.imag());
        json.EndArray();
    };
    json.BeginObject();
    json.Key("transmitter");
    json.BeginObject();
    json.Key("impedance_ohm");
    ohms(f.TransmitterImpedance);
    json.Key("swr");
    json.Real(Or(f.TransmitterSwr));
    json.Key("power_w");
    json.Real(f.TransmitterPower);
    json.EndObject();
    json.Key("emitters");
    json.BeginArray();
    for (const TFeedEmitter& e : f.Emitters) {
        json.BeginObject();
        json.Key("number");
        json.Integer(e.Number);
        json.Key("current");
        json.BeginObject();
        const auto [amplitude, phase] = AmplitudeAndPhase(e.Current);
        json.Key("amplitude");
        json.Real(amplitude);
        json.Key("phase");
        json.Real(phase);
        json.EndObject();
        json.Key("current_error_db");
        json.Real(Or(e.ErrorDb));
        json.Key("current_error_deg");
        json.Real(Or(e.ErrorDeg));
        json.Key("drive_impedance_ohm");
        if (e.Drive.Impedance) {
            ohms(*e.Drive.Impedance);
        } else {
            json.Null();
        }
        json.Key("power_w");
        json.Real(e.Drive.Power);
        json.EndObject();
    }
    json.EndArray();
    json.Key("loss_w");
    json.Real(f.LossPower);
    json.EndObject();
}

std::string NetworkTextLines(const TPatternResult& result) {
    if (!result.Network) return "";
    const TFeedFigures& f = *result.Network;
    const auto none = [](const std::optional<double>& v, int decimals) {
        return v ? FigureText(*v, decimals) : std::string(Tr("none"));
    };
    std::string out = TrFormat(
        "Network at the transmitter: impedance %s ohm, SWR %s against %s ohm, power %s W\n",
        {ImpedanceText(f.TransmitterImpedance), none(f.TransmitterSwr, 2),
         FigureText(f.TransmitterResistance, 2), FigureText(f.TransmitterPower, 4)});
    for (const TFeedEmitter& e : f.Emitters) {
        const auto [amplitude, phase] = AmplitudeAndPhase(e.Current);
        out += TrFormat(
            "  emitter %s through the network: current %s A, phase %s deg; error %s dB, %s "
            "deg; drive impedance %s ohm; power %s W\n",
            {std::to_string(e.Number), FigureText(amplitude, 4), FigureText(PhaseDegrees(phase), 2),
             none(e.ErrorDb, 2), none(e.ErrorDeg, 2),
             e.Drive.Impedance ? ImpedanceText(*e.Drive.Impedance) : std::string(Tr("none")),
             FigureText(e.Drive.Power, 4)});
    }
    out += TrFormat("Network loss in lines and resistors: %s W\n", {FigureText(f.LossPower, 4)});
    return out;
}
