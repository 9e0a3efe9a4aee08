#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "clirunner.h"

namespace {

std::string Example(const std::string& name) {
    return std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + name + ".txt";
}

bool HasCyrillic(const std::string& text) {
    // Every Cyrillic letter of Russian is encoded in UTF-8 with a lead byte 0xD0 or 0xD1.
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0xD0 || b == 0xD1) return true;
    }
    return false;
}

// The text of a PDF as a reader's search finds it.
std::string PdfText(const std::string& path) {
    FILE* pipe = ::popen(("pdftotext -layout '" + path + "' - 2>&1").c_str(), "r");
    if (pipe == nullptr) return "";
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    const int status = ::pclose(pipe);
    if (status != 0) {
        ADD_FAILURE() << "pdftotext failed (is Debian's poppler-utils installed?): " << text;
    }
    return text;
}

using TEnv = std::map<std::string, std::string>;

}  // namespace

// Messages follow LC_ALL, LC_MESSAGES, LANG and LANGUAGE as gettext reads them; --lang
// overrides the locale either way.
TEST(CliLanguage, FollowsTheLocaleUnlessToldOtherwise) {
    const std::string english = "invalid value 'x' for --elevation: a number from 0 to 85";
    const std::string russian = "недопустимое значение 'x' для --elevation: число от 0 до 85";
    const struct {
        TEnv Env;
        std::vector<std::string> Lang;
        bool Russian;
    } cases[] = {
        {{{"LC_ALL", "C"}}, {}, false},
        {{{"LC_ALL", "C.UTF-8"}}, {}, false},
        {{{"LC_ALL", "ru_RU.UTF-8"}}, {}, true},
        {{{"LC_ALL", ""}, {"LANG", "ru_RU.UTF-8"}}, {}, true},
        {{{"LC_ALL", ""}, {"LANG", "en_GB.UTF-8"}, {"LC_MESSAGES", "ru_RU.UTF-8"}}, {}, true},
        {{{"LC_ALL", "C.UTF-8"}, {"LANGUAGE", "ru"}}, {}, true},
        {{{"LC_ALL", "C"}, {"LANGUAGE", "ru"}}, {}, false},  // "C" ignores LANGUAGE
        {{{"LC_ALL", "ru_RU.UTF-8"}}, {"--lang", "en"}, false},
        {{{"LC_ALL", "C"}}, {"--lang=ru"}, true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"pattern"};
        args.insert(args.end(), c.Lang.begin(), c.Lang.end());
        args.insert(args.end(), {"--elevation", "x"});
        const TCliRun run = RunCli(args, c.Env);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Err, "arraypattern-cli: " + (c.Russian ? russian : english) + "\n")
            << (c.Env.begin()->first + "=" + c.Env.begin()->second);
    }
    const TCliRun bad = RunCli({"pattern", "--lang", "de"});
    EXPECT_EQ(bad.ExitCode, 2);
    EXPECT_EQ(bad.Err, "arraypattern-cli: invalid value 'de' for --lang: one of ru, en\n");
}

// The text report is all in one language but for the window's own labels and grid, which
// stay as the window writes them; JSON and CSV, which scripts read, do not change at all.
TEST(CliLanguage, OneLanguagePerOutputAndTheWindowsTextsKept) {
    const std::vector<std::string> args = {"pattern", "--config", Example("four-square")};
    const TCliRun en = RunCli(args);
    std::vector<std::string> russianArgs = args;
    russianArgs.insert(russianArgs.begin() + 1, "--lang=ru");
    const TCliRun ru = RunCli(russianArgs);
    ASSERT_EQ(en.ExitCode, 0) << en.Err;
    ASSERT_EQ(ru.ExitCode, 0) << ru.Err;
    const auto enLines = Lines(en.Out);
    const auto ruLines = Lines(ru.Out);
    ASSERT_EQ(enLines.size(), ruLines.size());
    // Three labels, the reader's note on them, a blank line, the grid's header and eight rows,
    // a blank line.
    const std::size_t noteLine = 3;
    const std::size_t windowLines = 15;
    for (std::size_t i = 0; i < windowLines; ++i) {
        if (i != noteLine) {
            EXPECT_EQ(enLines[i], ruLines[i]) << i;
        }
    }
    EXPECT_EQ(enLines[0], "Угол места 0 град.");
    EXPECT_FALSE(HasCyrillic(enLines[noteLine].substr(1))) << enLines[noteLine];
    EXPECT_NE(ruLines[noteLine].find("множитель решётки"), std::string::npos) << ruLines[noteLine];
    for (std::size_t i = windowLines; i < enLines.size(); ++i) {
        EXPECT_FALSE(HasCyrillic(enLines[i])) << enLines[i];
        EXPECT_TRUE(HasCyrillic(ruLines[i])) << ruLines[i];
    }
    EXPECT_NE(en.Out.find("\nfront-to-back: 25.22 dB\n"), std::string::npos) << en.Out;
    EXPECT_NE(ru.Out.find("\nвперед/назад: 25.22 дБ\n"), std::string::npos) << ru.Out;

    for (const std::string format : {"json", "csv"}) {
        std::vector<std::string> a = args;
        a.insert(a.end(), {"--format", format});
        std::vector<std::string> r = a;
        r.insert(r.begin() + 1, "--lang=ru");
        EXPECT_EQ(RunCli(a).Out, RunCli(r).Out) << format;
    }
}

// Load warnings and --strict's count speak the reader's language, the count in its plural.
TEST(CliLanguage, WarningsAndTheirCountInRussian) {
    TTempDir dir;
    const std::string file = dir.Path("bad.txt");
    WriteBytes(file, "[Foo]\r\nZ=1\r\n[Bar]\r\n[Излучатель 1]\r\nВключен=1\r\n");
    const TCliRun run = RunCli({"pattern", "--lang", "ru", "--strict", "--config", file});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("arraypattern-cli: предупреждение: " + file +
                           ":3: неизвестный раздел [Bar]: пропущен\n"),
              std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find("--strict: в конфигурации 2 предупреждения"), std::string::npos)
        << run.Err;
}

// A report states its conditions and names every file, in the reader's language, as a
// reader's search of the PDF finds them.
TEST(CliLanguage, ReportTextStatesElevationModelAndEachFile) {
    TTempDir dir;
    const struct {
        const char* Lang;
        std::vector<std::string> Expected;
    } cases[] = {
        {"en",
         {"Radiation pattern of the antenna array", "model free-space, elevation 10.00 deg",
          "Bearing, deg", "Front-to-back, dB"}},
        {"ru",
         {"Диаграмма направленности антенной решетки", "модель свободного пространства, угол места 10.00 град.",
          "Азимут, град.", "Вперед/назад, дБ"}},
    };
    for (const auto& c : cases) {
        const std::string pdf = dir.Path(std::string("report-") + c.Lang + ".pdf");
        const TCliRun run = RunCli({"plot", "--lang", c.Lang, "--kind", "report", "--model",
                                    "free-space", "--elevation", "10", "--config",
                                    Example("four-square"), "--config", Example("cardioid"), pdf});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const std::string text = PdfText(pdf);
        for (const std::string& expected : c.Expected) {
            EXPECT_NE(text.find(expected), std::string::npos) << c.Lang << ": " << expected;
        }
        for (const char* file : {"four-square.txt", "cardioid.txt"}) {
            EXPECT_NE(text.find(file), std::string::npos) << c.Lang << ": " << file;
        }
    }
}

// An overlay's chart states each file's conditions under it, once when they are the same; the
// report's table gives the ground, its frequency and the height a row each.
TEST(CliConditions, ChartFootAndReportTableStateEachFilesGround) {
    TTempDir dir;
    const std::string overGround = Example("four-square-over-average-ground");
    const std::string perfect = Example("dipole-pair-over-ground");
    const std::string chart = dir.Path("polar.pdf");
    ASSERT_EQ(
        RunCli({"plot", "--kind", "polar-db", "--config", overGround, "--config", perfect, chart})
            .ExitCode,
        0);
    std::string text = PdfText(chart);
    EXPECT_NE(text.find("four-square-over-average-ground.txt: model over-ground, elevation 18.56 "
                        "deg, type 1; real ground"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("dipole-pair-over-ground.txt: model over-ground, elevation 40.22 deg, "
                        "type 3; perfect ground, height 0.5"),
              std::string::npos)
        << text;
    const std::string same = dir.Path("same.pdf");
    ASSERT_EQ(RunCli({"plot", "--kind", "rect-db", "--config", Example("cardioid"), "--config",
                      Example("end-fire-pair"), same})
                  .ExitCode,
              0);
    text = PdfText(same);
    EXPECT_NE(text.find("model window, elevation 0.00 deg, type 0;"), std::string::npos) << text;
    EXPECT_EQ(text.find("cardioid.txt: model"), std::string::npos) << text;

    const std::string report = dir.Path("report.pdf");
    ASSERT_EQ(RunCli({"plot", "--kind", "report", "--config", overGround, report}).ExitCode, 0);
    text = PdfText(report);
    for (const char* row : {"Ground +real, εr 13, σ 0.005 S/m\n", "Frequency, MHz +7.1\n",
                            "Height, λ +0.25\n", "Window's array factor +3.424 \\(5.34 dB\\)\n",
                            "Its full scale \\(Σ amplitudes\\) +4\n"}) {
        EXPECT_TRUE(std::regex_search(text, std::regex(row))) << row << "\n" << text;
    }
}
