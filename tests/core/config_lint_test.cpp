#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

#include "app/session.h"
#include "config/configfile.h"
#include "config/configlint.h"
#include "config/cp1251.h"
#include "config/inifile.h"
#include "config_tempdir.h"
#include "locale_scope.h"

namespace {

// The UTF-8 spelling of a name of Latin and Cyrillic letters, digits and blanks.
std::string Utf8Of(std::string_view cp1251) {
    std::string out;
    for (const char c : cp1251) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
            continue;
        }
        const unsigned code = 0x0410 + (byte - 0xC0u);
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// Files the load reads whole: every name once, every value a number, spelt any way the file
// allows. What each generated file should load as comes with it.
class TValidFileMaker {
  public:
    explicit TValidFileMaker(unsigned seed) : Random(seed) {}

    struct TFile {
        std::string Text;
        TConfiguration Table;
        std::optional<TGround> Ground;
        std::array<long double, kEmitterCount> Amplitudes{};
    };

    TFile Make() {
        TFile file;
        file.Amplitudes.fill(1);
        LineEnds = Pick(3);
        if (Pick(2) == 0) file.Text += "\xEF\xBB\xBF";
        Filler(file.Text);
        std::vector<int> sections;  // 0 for the emitters' common section, else the emitter
        for (int k = 0; k <= kEmitterCount; ++k) {
            if (Pick(4) != 0) sections.push_back(k);
        }
        std::shuffle(sections.begin(), sections.end(), Random);
        for (const int k : sections) {
            if (k == 0) {
                AllEmitters(file);
            } else {
                Emitter(file, k);
            }
        }
        return file;
    }

  private:
    unsigned Pick(unsigned n) { return static_cast<unsigned>(Random() % n); }

    std::string Blanks() { return std::vector<std::string>{"", "", " ", "\t", " \t "}[Pick(5)]; }

    void EndLine(std::string& text) {
        const bool crlf = LineEnds == 2 ? Pick(2) == 0 : LineEnds == 1;
        text += crlf ? "\r\n" : "\n";
    }

    // Blank lines and comments, which the load passes over without a word.
    void Filler(std::string& text) {
        for (unsigned n = Pick(3); n > 0; --n) {
            text += std::vector<std::string>{"", " \t", "; note", "  ;[Прочее]", ";X=abc"}[Pick(5)];
            EndLine(text);
        }
    }

    // The name in any letter case, in Windows-1251 or UTF-8.
    std::string Spelt(std::string_view name) {
        std::string spelt(name);
        for (char& c : spelt) {
            const auto byte = static_cast<unsigned char>(c);
            if (Pick(2) == 0) continue;
            if ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z') c = static_cast<char>(byte ^ 0x20);
            if (byte >= 0xC0) c = static_cast<char>(byte ^ 0x20);
        }
        return Pick(2) == 0 ? spelt : Utf8Of(spelt);
    }

    void Section(std::string& text, std::string_view name) {
        text += Blanks() + "[" + Blanks() + Spelt(name) + Blanks() + "]" + Blanks();
        EndLine(text);
        Filler(text);
    }

    void Key(std::string& text, std::string_view name, const std::string& value) {
        text += Blanks() + Spelt(name) + Blanks() + "=" + Blanks() + value + Blanks();
        EndLine(text);
        Filler(text);
    }

    // A number of 1/64ths, exact in binary, with either decimal mark; sometimes left empty,
    // which reads as the default.
    long double Real(long double fallback, int lowest, int highest) {
        if (Pick(10) == 0) {
            Value = "";
            return fallback;
        }
        const int n = lowest + static_cast<int>(Pick(static_cast<unsigned>(highest - lowest + 1)));
        const long double x = n / 64.0L;
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.6Lf", x);
        Value = digits;
        if (Pick(2) == 0) std::replace(Value.begin(), Value.end(), '.', ',');
        return x;
    }

    int Whole(int lowest, int highest) {
        const int n = lowest + static_cast<int>(Pick(static_cast<unsigned>(highest - lowest + 1)));
        Value = std::to_string(n);
        return n;
    }

    void AllEmitters(TFile& file) {
        std::string& text = file.Text;
        Section(text, kAllEmittersSection);
        int ground = 0;
        long double height = 0, frequency = 0, permittivity = 0, conductivity = 0;
        std::vector<int> keys = {0, 1, 2, 3, 4, 5};
        std::shuffle(keys.begin(), keys.end(), Random);
        keys.resize(Pick(7));
        for (const int key : keys) {
            switch (key) {
                case 0:
                    file.Table.TypeIndex = Whole(-1, 3);
                    Key(text, kTypeKey, Value);
                    break;
                case 1:
                    ground = Whole(0, 2);
                    Key(text, kGroundKey, Value);
                    break;
                case 2:
                    height = Real(0, 0, 640);
                    Key(text, kHeightKey, Value);
                    break;
                case 3:
                    frequency = Real(0, 1, 64000);
                    Key(text, kFrequencyKey, Value);
                    break;
                case 4:
                    permittivity = Real(0, 64, 6400);
                    Key(text, kPermittivityKey, Value);
                    break;
                case 5:
                    conductivity = Real(0, 0, 640);
                    Key(text, kConductivityKey, Value);
                    break;
            }
        }
        if (ground == 0) return;
        file.Ground = TGround{};
        file.Ground->Kind = ground == 1 ? TGroundKind::Perfect : TGroundKind::Real;
        file.Ground->HeightWavelengths = height;
        if (ground == 1) return;
        file.Ground->FrequencyMhz = frequency;
        file.Ground->Permittivity = permittivity;
        file.Ground->Conductivity = conductivity;
    }

    void Emitter(TFile& file, int k) {
        std::string& text = file.Text;
        Section(text, std::string(kEmitterSectionPrefix) + std::to_string(k));
        TEmitter& e = file.Table.Emitters[static_cast<std::size_t>(k - 1)];
        std::vector<int> keys = {0, 1, 2, 3, 4};
        std::shuffle(keys.begin(), keys.end(), Random);
        keys.resize(Pick(6));
        for (const int key : keys) {
            switch (key) {
                case 0:
                    e.Enabled = Whole(0, 1) != 0;
                    Key(text, kEnabledKey, Value);
                    break;
                case 1:
                    e.X = Real(0, -6400, 6400);
                    Key(text, kXKey, Value);
                    break;
                case 2:
                    e.Y = Real(0, -6400, 6400);
                    Key(text, kYKey, Value);
                    break;
                case 3:
                    e.Phase = Real(0, -640, 640);
                    Key(text, kPhaseKey, Value);
                    break;
                case 4:
                    file.Amplitudes[static_cast<std::size_t>(k - 1)] = Real(1, 0, 640);
                    Key(text, kAmplitudeKey, Value);
                    break;
            }
        }
    }

    std::mt19937 Random;
    unsigned LineEnds = 0;  // LF, CR LF, or either line by line
    std::string Value;      // the text of the value last made
};

TEST(ConfigLintTest, AFileTheLoadReadsWholeGivesNoWarningAndItsValues) {
    TValidFileMaker maker(20240611);
    for (int n = 0; n < 400; ++n) {
        const TValidFileMaker::TFile made = maker.Make();
        SCOPED_TRACE(made.Text);
        const TIniFile file = TIniFile::FromText(made.Text);
        const TWarnings warnings = ConfigurationWarnings(file, "made.txt");
        EXPECT_EQ(warnings.Count(), 0u);
        EXPECT_EQ(warnings.Lines(), std::vector<std::string>{});

        const TConfiguration table = ReadConfiguration(file);
        EXPECT_EQ(table.TypeIndex, made.Table.TypeIndex);
        for (std::size_t k = 0; k < kEmitterCount; ++k) {
            SCOPED_TRACE(k + 1);
            EXPECT_EQ(table.Emitters[k].Enabled, made.Table.Emitters[k].Enabled);
            EXPECT_EQ(table.Emitters[k].X, made.Table.Emitters[k].X);
            EXPECT_EQ(table.Emitters[k].Y, made.Table.Emitters[k].Y);
            EXPECT_EQ(table.Emitters[k].Phase, made.Table.Emitters[k].Phase);
        }
        const TAmplitudes amplitudes = ReadAmplitudes(file, "made.txt");
        EXPECT_EQ(amplitudes.Values, made.Amplitudes);
        EXPECT_TRUE(amplitudes.Warnings.empty());
        const std::optional<TGround> ground = ReadGround(file);
        ASSERT_EQ(ground.has_value(), made.Ground.has_value());
        if (!ground) continue;
        EXPECT_EQ(ground->Kind, made.Ground->Kind);
        EXPECT_EQ(ground->HeightWavelengths, made.Ground->HeightWavelengths);
        EXPECT_EQ(ground->FrequencyMhz, made.Ground->FrequencyMhz);
        EXPECT_EQ(ground->Permittivity, made.Ground->Permittivity);
        EXPECT_EQ(ground->Conductivity, made.Ground->Conductivity);
    }
}

// Each text is tried as Windows-1251 and as UTF-8, with LF and with CR LF line ends, with and
// without a byte-order mark.
TEST(ConfigLintTest, EachLineTheLoadPassesOverIsNamedWithItsNumber) {
    // Names are shown as UTF-8 whatever the machine's locale.
    const TLocaleScope utf8("C.UTF-8");
    const struct {
        const char* Name;
        std::string Text;
        std::vector<std::string> Expected;
    } cases[] = {
        {"unknown section, its lines unread",
         "[Все излучатели]\nТип=1\n[Прочее]\nключ=abc\nстрока\n",
         {"f.txt:3: unknown section [Прочее]: skipped"}},
        {"emitter numbers the load does not read",
         "[Излучатель 9]\nX=1\n[излучатель 01]\n[Излучатель 1]\nX=1\n",
         {"f.txt:1: section [Излучатель 9] names no emitter 1..8: skipped",
          "f.txt:3: section [излучатель 01] names no emitter 1..8: skipped"}},
        {"keys of no section read",
         "[Излучатель 1]\nZ=1\nТип=2\n",
         {"f.txt:2: unknown key Z: skipped", "f.txt:3: unknown key Тип: skipped"}},
        {"values that are no numbers",
         "[Излучатель 2]\nX=abc\nВключен=да\n[Все излучатели]\nВысота=1..2\n",
         {"f.txt:2: value abc is no number: read as its default",
          "f.txt:3: value да is no number: read as its default",
          "f.txt:5: value 1..2 is no number: read as its default"}},
        {"types the radio group limits",
         "[Все излучатели]\nТип=7\n[Все излучатели]\n",
         {"f.txt:2: type 7 is outside -1..3: limited as the window's list does",
          "f.txt:3: section [Все излучатели] repeats an earlier one: skipped"}},
        {"a repeated section, its values unread",
         "[Излучатель 1]\nX=1\n[ИЗЛУЧАТЕЛЬ 1]\nX=abc\n",
         {"f.txt:3: section [ИЗЛУЧАТЕЛЬ 1] repeats an earlier one: skipped"}},
        {"a repeated key, its value unread",
         "[Излучатель 1]\nФаза=1\nфаза=abc\n",
         {"f.txt:3: key фаза repeats an earlier one: skipped"}},
        {"lines before every section",
         "Тип=1\nзаголовок\n[Все излучатели]\n",
         {"f.txt:1: key Тип lies before every section: skipped",
          "f.txt:2: line заголовок is neither a section nor a key: skipped"}},
        {"lines that are no key",
         "[Излучатель 1]\nВключен\n[Все излучатели\n",
         {"f.txt:2: line Включен is neither a section nor a key: skipped",
          "f.txt:3: line [Все излучатели is neither a section nor a key: skipped"}},
        {"numbers count blank lines and comments",
         "\n; c\n \t\n[Прочее]\n",
         {"f.txt:4: unknown section [Прочее]: skipped"}},
        {"amplitudes left to their own reader", "[Излучатель 1]\nАмплитуда=-1\n", {}},
        {"text after a section's bracket",
         "[Излучатель 1] x]\nX=1\n[Все излучатели] ; comment\n[Прочее]2\n",
         {"f.txt:1: text x] after section [Излучатель 1]: passed over",
          "f.txt:4: text 2 after section [Прочее]: passed over",
          "f.txt:4: unknown section [Прочее]: skipped"}},
    };
    for (const auto& c : cases) {
        for (int variant = 0; variant < 12; ++variant) {
            const bool utf8Names = variant & 1;
            const bool byteOrderMark = variant & 2;
            const std::string lineEnd = std::array{"\n", "\r\n", "\r"}[variant / 4];
            SCOPED_TRACE(std::string(c.Name) + (utf8Names ? ", UTF-8" : ", Windows-1251") +
                         (lineEnd == "\n"   ? ", LF"
                          : lineEnd == "\r" ? ", CR"
                                            : ", CR LF") +
                         (byteOrderMark ? ", BOM" : ""));
            std::string text = utf8Names ? c.Text : Utf8ToCp1251(c.Text).value();
            for (std::size_t at = 0; (at = text.find('\n', at)) != text.npos; at += lineEnd.size())
                text.replace(at, 1, lineEnd);
            if (byteOrderMark) text.insert(0, "\xEF\xBB\xBF");
            const TWarnings warnings = ConfigurationWarnings(TIniFile::FromText(text), "f.txt");
            EXPECT_EQ(warnings.Lines(), c.Expected);
            EXPECT_EQ(warnings.Count(), c.Expected.size());
        }
    }
}

class ConfigWarningBoundTest : public TTempDirTest {};

TEST_F(ConfigWarningBoundTest, ARunPrintsTwentyWarningsAFileThenHowManyMoreAndCountsAll) {
    // Names are shown as UTF-8 whatever the machine's locale.
    const TLocaleScope utf8("C.UTF-8");
    const struct {
        int Unknown;  // sections, a warning each, after which comes the amplitude's
        std::size_t Lines;
        const char* Last;
    } cases[] = {
        {0, 1, "Амплитуда"},
        {19, 20, "Амплитуда"},
        {20, 21, "… and 1 more warning"},
        {1000, 21, "… and 981 more warnings"},
    };
    const std::string path = PathOf("many.txt");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Unknown);
        std::string text = Utf8ToCp1251("[Излучатель 1]\r\nВключен=1\r\nАмплитуда=-1\r\n").value();
        for (int n = 0; n < c.Unknown; ++n) text += "[Unknown " + std::to_string(n) + "]\r\n";
        WriteBytes(path, text);
        TSessionSteps steps;
        steps.ConfigFile = path;
        const TArraySession session = BuildSession(steps);
        EXPECT_EQ(session.WarningCount, static_cast<std::size_t>(c.Unknown) + 1);
        ASSERT_EQ(session.Warnings.size(), c.Lines);
        if (c.Unknown > 0) {
            EXPECT_EQ(session.Warnings.front(), path + ":4: unknown section [Unknown 0]: skipped");
        }
        EXPECT_NE(session.Warnings.back().find(c.Last), std::string::npos)
            << session.Warnings.back();
    }
}

}  // namespace
