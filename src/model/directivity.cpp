#include "model/directivity.h"

#include <algorithm>
#include <cmath>

#include "model/fieldengine.h"
#include "model/pairintegral.h"
#include "model/spheresearch.h"

namespace {

// Levels closer than this are one level: the search's own resolution.
constexpr long double kSameLevelDb = 1e-9L;

long double PowerDbi(long double field, long double meanPower) {
    return 10 * std::log10(field * field / meanPower);
}

}  // namespace

long double MeanRadiatedPower(const TArray& array) {
    const TScaledSources scaled = ScaledSources(array);
    const TSources<double>& s = scaled.Sources;
    const double twoPi = 2 * TReal<double>::kPi;
    double sum = 0;
    for (unsigned m = 0; m < static_cast<unsigned>(s.Count); ++m) {
        // An emitter that adds nothing is left out: its phase may be no number at all.
        if (s.Amplitude[m] == 0) continue;
        sum += s.Amplitude[m] * s.Amplitude[m] * PairIntegral(array.EmitterType, 0, 0, 0);
        for (unsigned n = 0; n < m; ++n) {
            if (s.Amplitude[n] == 0) continue;
            sum += 2 * s.Amplitude[m] * s.Amplitude[n] *
                   std::cos(twoPi * (s.Phase[m] - s.Phase[n])) *
                   PairIntegral(array.EmitterType, s.X[m] - s.X[n], s.Y[m] - s.Y[n], 0);
        }
    }
    return std::scalbn(static_cast<long double>(sum), 2 * scaled.Exponent);
}

std::optional<TDirectivity> ComputeDirectivity(const TArray& array, const TPattern* horizon) {
    const long double mean = MeanRadiatedPower(array);
    const long double scale = FullScale(array);
    // Pair sums that cancel in exact arithmetic leave rounding noise of this order.
    if (!(mean > 1e-12L * scale * scale)) return std::nullopt;
    const TFieldSpec free{TFieldModel::FreeSpace, 0};
    TPattern computed;
    if (horizon == nullptr) {
        computed = ComputePattern(array, free);
        horizon = &computed;
    }
    // Without a maximum there is nothing to take a directivity towards.
    if (!(horizon->MaxGain > 0)) return std::nullopt;
    TDirectivity d;
    d.HorizonDbi = PowerDbi(horizon->MaxGain, mean);
    d.PeakBearingDegrees = DisplayedBearing(horizon->MaxGainAngle);
    const std::optional<TSpherePeak> peak = FindSpherePeak(array);
    if (!peak) return d;
    const long double az = peak->AzimuthDegrees;
    const long double el = peak->ElevationDegrees;
    const long double peakDbi =
        PowerDbi(FieldValue(array, {TFieldModel::FreeSpace, el}, az * kDegree), mean);
    // Where the peak is no higher than the horizon's maximum (a broadside line's whole plane
    // of maxima, say), the horizon's is the one reported.
    if (peakDbi - d.HorizonDbi <= kSameLevelDb) {
        d.PeakDbi = std::max(peakDbi, d.HorizonDbi);
        return d;
    }
    d.PeakDbi = peakDbi;
    d.PeakBearingDegrees = AzimuthBearing(az);
    d.PeakElevationDegrees = el;
    return d;
}
