#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <span>
#include <string>
#include <vector>

#include "app/figures.h"
#include "clirunner.h"
#include "jsonreader.h"
#include "model/phaseangle.h"

namespace {

const char* const kWireFiles[] = {"yagi-2", "four-square-monopoles"};

TCliRun Pattern(const std::string& name, const std::vector<std::string>& more) {
    std::vector<std::string> args = {"pattern", "--config",
                                     std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + name + ".txt"};
    args.insert(args.end(), more.begin(), more.end());
    TCliRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << name << ": " << run.Err;
    return run;
}

// What the figure's text line reads, as the message fills it: the value of each of its figures.
std::vector<std::string> LineValues(const std::string& text, const char* format) {
    std::string pattern = "(^|\n)";
    for (const char* c = format; *c != '\0'; ++c) {
        if (c[0] == '%' && c[1] == 's') {
            pattern += "(\\S+)";
            ++c;
        } else {
            pattern += std::string(std::strchr(".()+*?[]", *c) ? "\\" : "") + *c;
        }
    }
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern + "\n"))) return {};
    return {match.begin() + 2, match.end()};
}

const TJson& FeedJson(const TJson& emitter, const TEmitterFigure& f) {
    return f.JsonObject.empty() ? emitter[std::string(f.JsonKey)]
                                : emitter[std::string(f.JsonObject)][std::string(f.JsonKey)];
}

std::string JsonText(const TJson& value, int decimals) {
    return value.IsNull() ? "none" : FigureText(value.Number(), decimals);
}

// The array's wire figures: each the JSON gives, the text gives on its line at its decimals,
// and each the text gives has its JSON key.
TEST(CliWireFigures, TheTextGivesTheArraysWireFiguresTheJsonGives) {
    std::vector<const TFigure*> figures = {&FigureOf("gain_dbi")};
    for (const TFigure& f : FiguresOf(TFigureGroup::Wires)) figures.push_back(&f);
    for (const char* name : kWireFiles) {
        SCOPED_TRACE(name);
        const std::string text = Pattern(name, {}).Out;
        const TJson json = ParseJson(Pattern(name, {"--format", "json"}).Out);
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const TFigure& lead = *figures[i];
            if (lead.Text == nullptr) continue;
            const std::vector<std::string> values = LineValues(text, lead.Text);
            ASSERT_EQ(values.size(), static_cast<std::size_t>(lead.TextFigures)) << lead.Key;
            for (std::size_t k = 0; k < values.size(); ++k) {
                const TFigure& f = *figures[i + k];
                const TJson& holder = f.Group == TFigureGroup::Wires ? json["coupling"] : json;
                ASSERT_TRUE(holder.Members.count(std::string(f.Key))) << f.Key;
                EXPECT_EQ(values[k], JsonText(holder[std::string(f.Key)], f.Decimals)) << f.Key;
            }
        }
        // Every key of the JSON's power figures is the catalogue's, and so on a line.
        for (const auto& member : json["coupling"].Members) {
            const std::string& key = member.first;
            if (member.second.Kind != TJson::TKind::Number) continue;
            if (key == "z0_ohm" || key == "radius_wl") continue;  // settings, not figures
            const std::span<const TFigure> wires = FiguresOf(TFigureGroup::Wires);
            EXPECT_NE(std::find_if(wires.begin(), wires.end(),
                                   [&key](const TFigure& f) { return f.Key == key; }),
                      wires.end())
                << key;
        }
    }
}

// Each feed's line: its values in the catalogue's order, each the JSON's at its decimals, no
// more and no fewer; and every figure the JSON's feed object holds is the catalogue's.
TEST(CliWireFigures, EachFeedsLineGivesTheFeedFiguresTheJsonGives) {
    const std::regex value("-?[0-9]+\\.[0-9]+ [-+] j[0-9]+\\.[0-9]+|-?[0-9]+\\.[0-9]+|none|-?inf");
    const std::span<const TEmitterFigure> figures = EmitterFigures();
    for (const char* name : kWireFiles) {
        SCOPED_TRACE(name);
        const std::string text = Pattern(name, {}).Out;
        const TJson json = ParseJson(Pattern(name, {"--format", "json"}).Out);
        for (const TJson& emitter : json["coupling"]["emitters"].Items) {
            const std::string head = "  emitter " + emitter["number"].Text + ": ";
            const std::size_t at = text.find("\n" + head);
            ASSERT_NE(at, std::string::npos) << head;
            const std::string line =
                text.substr(at + 1 + head.size(), text.find('\n', at + 1) - at - 1 - head.size());
            std::vector<std::string> shown;
            for (auto m = std::sregex_iterator(line.begin(), line.end(), value);
                 m != std::sregex_iterator(); ++m)
                shown.push_back(m->str());
            std::size_t next = 0;
            for (std::size_t i = 0; i < figures.size(); ++i) {
                const TEmitterFigure& f = figures[i];
                const TJson& json = FeedJson(emitter, f);
                SCOPED_TRACE(std::string(f.Stem));
                if (f.Text == TFeedText::Elsewhere) {
                    // A phase in periods of lag is the text's next figure, in degrees.
                    if (i > 0 && figures[i - 1].Text == TFeedText::Impedance) continue;
                    EXPECT_EQ(FigureText(PhaseDegrees(json.Number()), figures[i + 1].Decimals),
                              JsonText(FeedJson(emitter, figures[i + 1]), figures[i + 1].Decimals));
                    continue;
                }
                ASSERT_LT(next, shown.size()) << line;
                const std::string expected =
                    f.Text == TFeedText::Impedance && !json.IsNull()
                        ? ImpedanceText({static_cast<double>(json[0].Number()),
                                         static_cast<double>(json[1].Number())})
                        : JsonText(json, f.Decimals);
                EXPECT_EQ(shown[next++], expected) << line;
            }
            EXPECT_EQ(next, shown.size()) << line;
            for (const auto& member : emitter.Members) {
                const std::string& key = member.first;
                if (key == "number" || key == "length_wl") continue;  // what, not a figure
                const auto figure =
                    std::find_if(figures.begin(), figures.end(), [&](const TEmitterFigure& f) {
                        return (f.JsonObject.empty() ? f.JsonKey : f.JsonObject) == key;
                    });
                EXPECT_NE(figure, figures.end()) << key;
            }
        }
    }
}

// A sweep's feed columns are the pattern's feed figures of the same array.
TEST(CliWireFigures, ASweepsFeedColumnsAreThePatternsFeedFigures) {
    const std::string yagi = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/yagi-2.txt";
    const TCliRun sweep = RunCli({"sweep", "--format", "json", "--config", yagi, "--vary",
                                  "1:phase", "--from", "0", "--to", "0", "--steps", "1"});
    ASSERT_EQ(sweep.ExitCode, 0) << sweep.Err;
    const TJson row = ParseJson(sweep.Out);
    const TJson json = ParseJson(Pattern("yagi-2", {"--format", "json"}).Out);
    for (const TJson& emitter : json["coupling"]["emitters"].Items) {
        std::size_t place = 0;
        std::string_view shared;
        for (const TEmitterFigure& f : EmitterFigures()) {
            place = f.JsonKey == shared ? place + 1 : 0;
            shared = f.JsonKey;
            const std::string column = std::string(f.Stem) + emitter["number"].Text;
            ASSERT_TRUE(row.Members.count(column)) << column;
            const TJson& value = FeedJson(emitter, f);
            const TJson& expected = value.Kind == TJson::TKind::Array ? value[place] : value;
            EXPECT_EQ(row[column].IsNull(), expected.IsNull()) << column;
            if (!expected.IsNull()) {
                EXPECT_EQ(row[column].Number(), expected.Number()) << column;
            }
        }
    }
    for (const TFigure& f : FiguresOf(TFigureGroup::Wires))
        EXPECT_EQ(row[std::string(f.Key)].Number(), json["coupling"][std::string(f.Key)].Number());
}

}  // namespace
