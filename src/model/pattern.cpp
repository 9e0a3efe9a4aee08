#include "model/pattern.h"

#include <cmath>

#include "model/fieldengine.h"

namespace {

template <typename R>
TElevation<R> ElevationOf(const TFieldSpec& field) {
    return Elevation<R>(field.Model, static_cast<R>(field.ElevationDegrees), field.Ground);
}

struct TSineCosine {
    long double Sin = 0;
    long double Cos = 1;
};

// The sine and cosine of every sample's azimuth, i degrees: the same for every pattern, and
// taken by the same instructions as each pattern would take them.
const std::array<TSineCosine, kSampleCount>& SampleAzimuths() {
    static const auto kAzimuths = [] {
        std::array<TSineCosine, kSampleCount> azimuths{};
        for (int i = 0; i < kSampleCount; ++i) {
            const long double az = i * kDegree;
            azimuths[static_cast<unsigned>(i)] = {ExtSin(az), ExtCos(az)};
        }
        return azimuths;
    }();
    return kAzimuths;
}

// The same of every whole degree of elevation above the horizon, as free space takes it.
const std::array<TElevation<long double>, kElevationCutCount>& CutElevations() {
    static const auto kElevations = [] {
        std::array<TElevation<long double>, kElevationCutCount> elevations{};
        for (int e = 0; e < kElevationCutCount; ++e) {
            elevations[static_cast<unsigned>(e)] =
                Elevation<long double>(TFieldModel::FreeSpace, e);
        }
        return elevations;
    }();
    return kElevations;
}

}  // namespace

const char* FieldModelName(TFieldModel model) {
    return NameOf<TFieldModel>(kFieldModelNames, model).data();
}

long double PathLength(long double az, long double el, long double x, long double y) {
    const TElevation<long double> elevation = ElevationOfAngle(ExtSin(el), ExtCos(el));
    return Projection(Look(TFieldModel::Window, etOmni, az, elevation), x, y);
}

long double FieldValue(const TArray& array, const TFieldSpec& field, long double az) {
    return FieldValueOf(Sources<long double>(array), field.Model, array.EmitterType, az,
                        ElevationOf<long double>(field));
}

double FastFieldValue(const TArray& array, const TFieldSpec& field, double az) {
    return FieldValueOf(Sources<double>(array), field.Model, array.EmitterType, az,
                        ElevationOf<double>(field));
}

std::function<long double(long double)> ExactFieldFunction(const TArray& array,
                                                           const TFieldSpec& field) {
    return [sources = Sources<long double>(array), el = ElevationOf<long double>(field),
            model = field.Model, type = array.EmitterType](long double az) {
        return FieldValueOf(sources, model, type, az * kDegree, el);
    };
}

std::function<long double(long double)> FastFieldFunction(const TArray& array,
                                                          const TFieldSpec& field) {
    return [sources = Sources<double>(array), el = ElevationOf<double>(field), model = field.Model,
            type = array.EmitterType](long double az) {
        return static_cast<long double>(
            FieldValueOf(sources, model, type, static_cast<double>(az * kDegree), el));
    };
}

TPattern ComputePattern(const TArray& array, const TFieldSpec& field, int previousMaxGainAngle) {
    const TSources<long double> sources = Sources<long double>(array);
    const TElevation<long double> el = ElevationOf<long double>(field);
    TPattern pattern;
    pattern.Model = field.Model;
    pattern.MaxGainAngle = previousMaxGainAngle;
    const auto& azimuths = SampleAzimuths();
    for (int i = 0; i < kSampleCount; ++i) {
        const TSineCosine& az = azimuths[static_cast<unsigned>(i)];
        const long double v =
            FieldValueAt(sources, LookAt(field.Model, array.EmitterType, az.Sin, az.Cos, el));
        pattern.Samples[static_cast<unsigned>(i)] = v;
        if (v > pattern.MaxGain) {
            pattern.MaxGain = v;
            pattern.MaxGainAngle = i;
        }
    }
    return pattern;
}

long double FullScale(const TArray& array, TFieldModel model) {
    switch (model) {
        case TFieldModel::Window:
        case TFieldModel::FreeSpace:
            return FullScale(array);
        case TFieldModel::OverGround:
            return 2 * FullScale(array);
    }
    return FullScale(array);
}

bool IsZeroPattern(const TPattern& pattern, const TArray& array) {
    return !(pattern.MaxGain > 1e-12L * FullScale(array));
}

std::array<long double, kElevationCutCount> ElevationCut(const TArray& array,
                                                         const TFieldSpec& field, int bearing) {
    const TSources<long double> sources = Sources<long double>(array);
    const long double az = BearingSample(bearing) * kDegree;
    const long double sinAz = ExtSin(az);
    const long double cosAz = ExtCos(az);
    std::array<long double, kElevationCutCount> cut{};
    for (int e = 0; e < kElevationCutCount; ++e) {
        const TElevation<long double>& above = CutElevations()[static_cast<unsigned>(e)];
        const TElevation<long double> el =
            field.Model == TFieldModel::Window
                ? Elevation<long double>(field.Model, e)
                : ElevationAbove(field.Model, above.Sin, above.Cos, field.Ground);
        cut[static_cast<unsigned>(e)] =
            FieldValueAt(sources, LookAt(field.Model, array.EmitterType, sinAz, cosAz, el));
    }
    return cut;
}

long double GainDecibels(long double m) {
    return 10 * std::log10(m + 1e-11L);
}
