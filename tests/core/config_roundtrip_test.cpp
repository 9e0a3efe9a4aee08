#include <gtest/gtest.h>

#include <random>

#include "config/configfile.h"
#include "config_tempdir.h"
#include "decimalmark_scope.h"

namespace {

class ConfigRoundTripTest : public TTempDirTest {
  protected:
    TDecimalMarkScope Comma;
};

// Emitters switched off at 0, 0, 0 are the case that once came back from a stale section.
TArray RandomArray(std::mt19937& random) {
    const long double values[] = {0, -0.0L, 0.25L, -0.375L, 1.0L / 3, 7.5e-3L, -12};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(values) - 1);
    std::bernoulli_distribution coin(0.5);
    TArray model;
    for (TEmitter& e : model.Emitters) {
        if (coin(random)) {
            e = TEmitter{};
        } else {
            e = {values[pick(random)], values[pick(random)], values[pick(random)], coin(random)};
        }
    }
    model.EmitterType = std::uniform_int_distribution<int>(-1, 3)(random);
    return model;
}

// Whatever an earlier save left in the file, loading it gives the array saved last, exactly as
// the same save into a new file does.
TEST_F(ConfigRoundTripTest, ASavedArrayAlwaysLoadsBackAsItself) {
    std::mt19937 random(22);
    const std::string fresh = PathOf("fresh.txt");
    const std::string reused = PathOf("reused.txt");
    for (int trial = 0; trial < 25; ++trial) {
        SCOPED_TRACE(trial);
        const TArray saved = RandomArray(random);
        SaveConfiguration(reused, saved, saved.EmitterType);
        std::filesystem::remove(fresh);
        SaveConfiguration(fresh, saved, saved.EmitterType);

        const TConfiguration loaded = ReadConfiguration(reused);
        const TConfiguration expected = ReadConfiguration(fresh);
        EXPECT_EQ(loaded.TypeIndex, saved.EmitterType);
        for (int k = 1; k <= kEmitterCount; ++k) {
            SCOPED_TRACE(k);
            const TEmitter& got = loaded.Emitters[static_cast<unsigned>(k - 1)];
            const TEmitter& want = expected.Emitters[static_cast<unsigned>(k - 1)];
            EXPECT_EQ(got.Enabled, saved.Emitter(k).Enabled);
            EXPECT_EQ(got.Enabled, want.Enabled);
            EXPECT_EQ(got.X, want.X);
            EXPECT_EQ(got.Y, want.Y);
            EXPECT_EQ(got.Phase, want.Phase);
        }
    }
}

}  // namespace
