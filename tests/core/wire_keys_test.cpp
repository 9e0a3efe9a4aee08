#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/cp1251.h"
#include "config/wirekeys.h"

namespace {

const std::string kAll = "[" + std::string(kAllEmittersSection) + "]\r\n";

std::string Emitter(int k) {
    return "[" + std::string(kEmitterSectionPrefix) + std::to_string(k) + "]\r\n";
}

std::string Key(std::string_view key, const std::string& value) {
    return std::string(key) + "=" + value + "\r\n";
}

TEST(WireKeys, NamesAreTheWindows1251BytesOfTheirRussianText) {
    EXPECT_EQ(Utf8ToCp1251("Длина"), std::string(kLengthKey));
    EXPECT_EQ(Utf8ToCp1251("Радиус"), std::string(kRadiusKey));
    EXPECT_EQ(Utf8ToCp1251("Питание"), std::string(kFeedKey));
    EXPECT_EQ(Utf8ToCp1251("Модель земли"), std::string(kGroundModelKey));
    EXPECT_EQ(Utf8ToCp1251("Угол места"), std::string(kElevationKey));
    EXPECT_EQ(Utf8ToCp1251("Формула"), std::string(kFormulaKey));
}

TEST(WireKeys, WrittenKeysReadBackAndEveryOtherLineStays) {
    // An earlier save's keys: what is not written now goes.
    const std::string before = kAll + Key(kTypeKey, "1") + Key(kRadiusKey, "0.002") +
                               Key(kFeedKey, "0") + "; a comment\r\n" + Emitter(1) +
                               Key(kLengthKey, "0.3") + Emitter(2) + Key(kXKey, "0") +
                               Key("Unknown", "7") + "\r\n";
    TWireKeys keys;
    TWireSettings& wires = keys.Settings;
    wires.Lengths[1] = 0.25;
    wires.Lengths[4] = 0.47;
    wires.Radius = 0.001;
    wires.Radii[4] = 0.004;
    wires.Feed = TFeed::Voltage;
    wires.Z0 = 75;
    for (const bool given : {false, true}) {
        SCOPED_TRACE(given);
        TIniFile file = TIniFile::FromText(before + (given ? "" : Key(kZ0Key, "300")));
        keys.RadiusGiven = keys.FeedGiven = keys.Z0Given = given;
        keys.GroundModel = given ? std::optional(TGroundModel::Reflection) : std::nullopt;
        keys.FrequencyMhz = given ? std::optional(3.6) : std::nullopt;
        keys.ElevationDegrees = given ? std::optional(12.5) : std::nullopt;
        keys.Formula = given ? std::optional(TFieldModel::FreeSpace) : std::nullopt;
        WriteWireKeys(file, keys);
        for (const std::string line : {"; a comment", "Unknown=7"})
            EXPECT_NE(file.Text().find(line), std::string::npos);
        const TWireKeys read = ReadWireKeys(file);
        ASSERT_FALSE(read.Fault);
        EXPECT_EQ(read.Settings.Lengths[1], 0.25);
        EXPECT_EQ(read.Settings.Lengths[4], 0.47);
        EXPECT_FALSE(read.Settings.Lengths[0]);
        EXPECT_EQ(read.Settings.Radii[4], 0.004);
        EXPECT_FALSE(read.Settings.Radii[1]);
        EXPECT_EQ(read.RadiusGiven, given);
        EXPECT_EQ(read.FeedGiven, given);
        EXPECT_EQ(read.GroundModel, given ? std::optional(TGroundModel::Reflection) : std::nullopt);
        EXPECT_EQ(read.Settings.Radius, given ? 0.001 : TWireSettings().Radius);
        EXPECT_EQ(read.Settings.Feed, given ? TFeed::Voltage : TFeed::Current);
        EXPECT_EQ(read.Settings.Z0, given ? 75 : TWireSettings().Z0);
        EXPECT_EQ(read.FrequencyMhz, keys.FrequencyMhz);
        EXPECT_EQ(read.ElevationDegrees, keys.ElevationDegrees);
        EXPECT_EQ(read.Formula, keys.Formula);
    }
    // A real ground's frequency is the ground's own: its reading and checks, not the wires'.
    TIniFile real = TIniFile::FromText(kAll + Key(kGroundKey, "2") + Key(kFrequencyKey, "14.2"));
    keys.FrequencyMhz = 3.6;
    WriteWireKeys(real, keys);
    EXPECT_NE(real.Text().find("=14.2"), std::string::npos);
    EXPECT_FALSE(ReadWireKeys(real).FrequencyMhz);
}

TEST(WireKeys, ABadValueNamesItsLineAndEmitter) {
    struct Row {
        std::string Name;
        std::string Text;
        TWireKeyFault::TKind Kind;
        int Line;
        int Emitter;
    };
    const std::string lead = kAll + Key(kTypeKey, "1") + Emitter(3);  // lines 1..3
    const std::vector<Row> rows = {
        {"length 0", lead + Key(kLengthKey, "0"), TWireKeyFault::Length, 4, 3},
        {"negative length", lead + Key(kLengthKey, "-0.5"), TWireKeyFault::Length, 4, 3},
        {"no number", lead + Key(kLengthKey, "half"), TWireKeyFault::Length, 4, 3},
        {"not a number", lead + Key(kLengthKey, "nan"), TWireKeyFault::Length, 4, 3},
        {"above two wavelengths", lead + Key(kLengthKey, "2.5"), TWireKeyFault::Length, 4, 3},
        {"radius 0", kAll + Key(kRadiusKey, "0"), TWireKeyFault::Radius, 2, 0},
        {"feed 2", kAll + Key(kTypeKey, "1") + Key(kFeedKey, "2"), TWireKeyFault::Feed, 3, 0},
        {"ground model", kAll + Key(kGroundModelKey, "flat"), TWireKeyFault::GroundModel, 2, 0},
        {"Z0 0", kAll + Key(kZ0Key, "0"), TWireKeyFault::Z0, 2, 0},
        {"frequency", kAll + Key(kFrequencyKey, "-7"), TWireKeyFault::Frequency, 2, 0},
        {"elevation", kAll + Key(kElevationKey, "90"), TWireKeyFault::Elevation, 2, 0},
        {"formula", kAll + Key(kFormulaKey, "over-ground"), TWireKeyFault::Formula, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const TWireKeys read = ReadWireKeys(TIniFile::FromText(row.Text));
        ASSERT_TRUE(read.Fault);
        EXPECT_EQ(read.Fault->Kind, row.Kind);
        EXPECT_EQ(read.Fault->Line, row.Line);
        EXPECT_EQ(read.Fault->Emitter, row.Emitter);
    }
}

}  // namespace
