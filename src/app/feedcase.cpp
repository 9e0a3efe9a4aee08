#include "app/feedcase.h"

#include <limits>

#include "app/frequencysweep.h"

namespace {

TGround CouplingGround(const TArrayCase& c) {
    return c.Field.Model == TFieldModel::OverGround ? c.Field.Ground : TGround{};
}

}  // namespace

std::optional<Eigen::VectorXcd> WantedCurrents(const TCoupling& coupling, TFeed feed) {
    if (feed != TFeed::Current) return std::nullopt;
    Eigen::VectorXcd wanted(static_cast<Eigen::Index>(coupling.Emitters.size()));
    for (std::size_t k = 0; k < coupling.Emitters.size(); ++k)
        wanted(static_cast<Eigen::Index>(k)) = coupling.Emitters[k].Current;
    return wanted;
}

std::optional<TFedCase> FeedThrough(const TArrayCase& arrayCase, const TNetwork& network,
                                    double hz, double designHz) {
    // The port matrix alone: the far field comes with the analysis of the fed case.
    const TGround ground = CouplingGround(arrayCase);
    if (!HasWireLengths(arrayCase.Wires, arrayCase.Array) ||
        CheckCoupling(arrayCase.Array, arrayCase.Wires, ground))
        return std::nullopt;
    const auto c = SolvePorts(arrayCase.Array, arrayCase.Wires, ground);
    if (!c) return std::nullopt;
    TFedCase fed{arrayCase, std::make_shared<TFeedFigures>(SolveFeed(
                                network, *c, hz, designHz,
                                WantedCurrents(*c, arrayCase.Wires.Feed)))};
    for (const TFeedEmitter& e : fed.Feed->Emitters) {
        const auto [amplitude, phase] = AmplitudeAndPhase(e.Current);
        fed.Case.Array.Emitter(e.Number).Amplitude = amplitude;
        fed.Case.Array.Emitter(e.Number).Phase = phase;
    }
    fed.Case.Wires.Feed = TFeed::Current;
    return fed;
}

TAnalysisOutcome AnalyseThrough(const TArrayCase& arrayCase, const TNetwork& network, double hz,
                                double designHz) {
    std::optional<TFedCase> fed = FeedThrough(arrayCase, network, hz, designHz);
    if (!fed) return Analyse(arrayCase);  // which says why the wires cannot be solved
    TAnalysisOutcome outcome = Analyse(fed->Case);
    if (outcome.Result) outcome.Result->Network = std::move(fed->Feed);
    return outcome;
}

TFeedSweep SweepFeed(const TArrayCase& design, const TNetwork& network, long double designMhz,
                     long double span, int count) {
    TFeedSweep sweep;
    if (!HasWireLengths(design.Wires, design.Array)) return sweep;
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    const double designHz = static_cast<double>(designMhz) * 1e6;
    for (int i = 0; i < count; ++i) {
        const long double t = count > 1 ? static_cast<long double>(2 * i) / (count - 1) - 1 : 0;
        const long double mhz = designMhz * (1 + span * t);
        const TArrayCase step = CaseAtFrequency(design, designMhz, mhz);
        const TGround ground = CouplingGround(step);
        if (CheckCoupling(step.Array, step.Wires, ground)) return {};
        const auto c = SolvePorts(step.Array, step.Wires, ground);
        if (!c) return {};
        // The currents wanted are the design's: the file's, which the step keeps.
        const TFeedFigures f = SolveFeed(network, *c, static_cast<double>(mhz) * 1e6, designHz,
                                         WantedCurrents(*c, step.Wires.Feed));
        if (sweep.FrequenciesMhz.empty()) {
            for (const TFeedEmitter& e : f.Emitters) {
                if (e.ErrorDb) sweep.Emitters.push_back(e.Number);
            }
            sweep.ErrorDb.resize(sweep.Emitters.size());
            sweep.ErrorDeg.resize(sweep.Emitters.size());
        }
        sweep.FrequenciesMhz.push_back(static_cast<double>(mhz));
        sweep.Swr.push_back(f.TransmitterSwr.value_or(kNone));
        std::size_t k = 0;
        for (const TFeedEmitter& e : f.Emitters) {
            if (k >= sweep.Emitters.size() || e.Number != sweep.Emitters[k]) continue;
            sweep.ErrorDb[k].push_back(e.ErrorDb.value_or(kNone));
            sweep.ErrorDeg[k].push_back(e.ErrorDeg.value_or(kNone));
            ++k;
        }
    }
    return sweep;
}
