#include "model/beamwidth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "model/pattern.h"
#include "model/pattern.h"

namespace {

constexpr long double kTwoPi = 2 * 3.14159265358979323846L;

// The array factor written plainly in compass bearings (degrees), east and north positive.
long double PlainField(const TArray& model, long double bearing) {
    const long double b = bearing * kTwoPi / 360;
    std::complex<long double> sum = 0;
    for (const TEmitter& e : model.Emitters) {
        if (e.Enabled) {
            sum += std::polar(1.0L, kTwoPi * (e.Phase - e.X * std::sin(b) - e.Y * std::cos(b)));
        }
    }
    return std::abs(sum);
}

// Half-power width by plain bisection from a known peak bearing.
long double PlainBeamwidth(const TArray& model, long double peak) {
    const long double level = PlainField(model, peak) / std::sqrt(2.0L);
    long double width = 0;
    for (const int step : {+1, -1}) {
        long double near = 0;
        long double far = 0;
        while (PlainField(model, peak + step * far) >= level) far += 0.5L;
        for (int n = 0; n < 80; ++n) {
            const long double mid = (near + far) / 2;
            (PlainField(model, peak + step * mid) >= level ? near : far) = mid;
        }
        width += near;
    }
    return width;
}

struct TSolved {
    long double Width;
    int Evaluations;
};

std::optional<TSolved> Solve(TArray model, long double elevation = 0,
                             TFieldModel field = TFieldModel::Window) {
    const TPattern modelPattern = ComputePattern(model, {field, elevation});
    int evaluations = 0;
    const auto points = HalfPowerPoints(modelPattern, [&](long double az) {
        ++evaluations;
        return FieldValue(model, {field, elevation}, az * kDegree);
    });
    if (!points) return std::nullopt;
    return TSolved{points->Upper - points->Lower, evaluations};
}

TArray Line(int count, long double spacing, long double phaseStep = 0) {
    TArray model;
    for (int k = 0; k < count; ++k) {
        model.Emitter(k + 1) = {(k - (count - 1) / 2.0L) * spacing, 0, k * phaseStep, true};
    }
    return model;
}

TEST(HalfPowerBeamwidth, TextbookArrays) {
    TArray cardioid;
    cardioid.Emitter(1) = {-0.125L, 0, 0, true};
    cardioid.Emitter(2) = {0.125L, 0, 0.25L, true};
    TArray dipole;
    dipole.Emitter(1) = {0.3L, 0.1L, 0, true};
    dipole.EmitterType = etHorizontalDipoleNS;
    const struct {
        const char* Name;
        TArray Model;
        long double Width;
    } cases[] = {
        {"broadside pair half a wavelength apart", Line(2, 0.5L), 60},
        {"quarter-wave cardioid", cardioid, 180},
        {"one west-east dipole, |cos| lobe", dipole, 90},
    };
    for (const auto& c : cases) {
        for (const TFieldModel field : {TFieldModel::Window, TFieldModel::FreeSpace}) {
            const auto solved = Solve(c.Model, 0, field);
            ASSERT_TRUE(solved) << c.Name;
            EXPECT_NEAR(static_cast<double>(solved->Width), static_cast<double>(c.Width), 1e-6)
                << c.Name;
            EXPECT_LE(solved->Evaluations, 40) << c.Name;
        }
    }
}

TEST(HalfPowerBeamwidth, AgreesWithPlainBisectionAcrossBothSeams) {
    // An eight-element broadside line: its peak is sample 0, on the seam of the sample index.
    const TArray broadside = Line(8, 0.5L);
    // Four cardioid pairs side by side beam north, bearing 0: the lobe spans about 350..10.
    TArray north;
    for (int k = 0; k < 4; ++k) {
        north.Emitter(2 * k + 1) = {(k - 1.5L) * 0.5L, -0.125L, 0, true};
        north.Emitter(2 * k + 2) = {(k - 1.5L) * 0.5L, 0.125L, 0.25L, true};
    }
    const struct {
        const char* Name;
        const TArray& Model;
        long double Peak;
    } cases[] = {{"broadside line", broadside, 180}, {"north beam", north, 0}};
    for (const auto& c : cases) {
        TArray model = c.Model;
        const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
        EXPECT_EQ(DisplayedBearing(modelPattern.MaxGainAngle), c.Peak) << c.Name;
        const auto solved = Solve(model);
        ASSERT_TRUE(solved) << c.Name;
        EXPECT_LT(solved->Width, 30) << c.Name;
        EXPECT_NEAR(static_cast<double>(solved->Width),
                    static_cast<double>(PlainBeamwidth(model, c.Peak)), 1e-6)
            << c.Name;
    }
}

TEST(HalfPowerBeamwidth, NoneWithoutAFallToHalfPower) {
    TArray one;
    one.Emitter(2) = {0.2L, 0.7L, 0.1L, true};
    EXPECT_FALSE(Solve(one));
    TArray zero;  // every sine and cosine is 0 beyond 2^63 periods
    zero.Emitter(1) = {0, 0, 1e30L, true};
    EXPECT_FALSE(Solve(zero));
}

TEST(SolveBracketed, FindsTheRootOfSteepAndFlatFunctions) {
    const struct {
        long double (*F)(long double);
        long double A, B, Root;
    } cases[] = {
        {[](long double x) { return x * x * x - 2; }, 0, 2, std::cbrt(2.0L)},
        {[](long double x) { return std::cos(x); }, 1, 2, 1.57079632679489661923L},
        {[](long double x) { return x < 0.3L ? 1.0L : -1.0L; }, 0, 1, 0.3L},
    };
    for (const auto& c : cases) {
        const long double root = SolveBracketed(c.F, c.A, c.B, c.F(c.A), c.F(c.B), 1e-12L);
        EXPECT_NEAR(static_cast<double>(root), static_cast<double>(c.Root), 1e-11);
    }
}

}  // namespace
