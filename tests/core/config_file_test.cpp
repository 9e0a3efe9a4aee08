#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "form/arraymodel.h"
#include "app/headlesswindow.h"
#include "config/configfile.h"
#include "config/cp1251.h"
#include "config/errors.h"
#include "config/inifile.h"
#include "config/numtext.h"
#include "config_tempdir.h"
#include "decimalmark_scope.h"
#include "form/formrules.h"

namespace {

// Text written here in UTF-8, as the file holds it in Windows-1251.
std::string Cp(const std::string& utf8) {
    return Utf8ToCp1251(utf8).value();
}

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) (text += line) += "\r\n";
    return Cp(text);
}

class ConfigFileTest : public TTempDirTest {
  protected:
    void SetUp() override {
        TTempDirTest::SetUp();
        Path = PathOf("setup.txt");
    }

    TDecimalMarkScope Comma;
    std::string Path;
};

TEST_F(ConfigFileTest, InitialTableSavesTheListedLines) {
    TArrayModel model = MakeInitialModel();
    model.Emitter(5).X = -0.0L;
    SaveConfiguration(Path, model, 0);
    EXPECT_EQ(ReadBytes(Path), Lines({"[Все излучатели]",
                                      "Тип=0",
                                      "[Излучатель 1]",
                                      "Включен=1",
                                      "X=0,25",
                                      "Y=0,25",
                                      "Фаза=0",
                                      "[Излучатель 2]",
                                      "Включен=1",
                                      "X=-0,25",
                                      "Y=0,25",
                                      "Фаза=-0,353553390593274",
                                      "[Излучатель 3]",
                                      "Включен=1",
                                      "X=0,25",
                                      "Y=-0,25",
                                      "Фаза=-0,353553390593274",
                                      "[Излучатель 4]",
                                      "Включен=1",
                                      "X=-0,25",
                                      "Y=-0,25",
                                      "Фаза=-0,707106781186548"}));
}

// What a value becomes after a save and a load: its 15-digit text, rounded to double.
long double ThroughFile(long double x) {
    return RoundToDouble(ParseFloat(FormatGeneral(RoundToDouble(x))).value());
}

TEST_F(ConfigFileTest, SaveThenLoadRestoresTheTable) {
    for (const char mark : {',', '.'}) {
        SCOPED_TRACE(mark);
        SetDecimalMark(mark);
        TArrayModel saved = MakeInitialModel();
        const long double values[] = {
            0.1234567890123456789L, -1.0L / 3, 1e-300L, -7.5e12L, 2.0L / 7, 1e308L, -0.015625L,
            123456789.987654321L};
        for (int k = 1; k <= kEmitterCount; ++k) {
            TEmitter& e = saved.Emitter(k);
            e = {values[k - 1], -values[8 - k], values[k - 1] / 3, k % 3 != 0};
        }
        std::filesystem::remove(Path);
        SaveConfiguration(Path, saved, 2);

        TArrayModel loaded = MakeInitialModel();
        THeadlessWindow window(loaded);
        window.Rules().Create();
        window.Rules().Load(Path);
        for (int k = 1; k <= kEmitterCount; ++k) {
            SCOPED_TRACE(k);
            const TEmitter& e = loaded.Emitter(k);
            EXPECT_EQ(e.X, ThroughFile(saved.Emitter(k).X));
            EXPECT_EQ(e.Y, ThroughFile(saved.Emitter(k).Y));
            EXPECT_EQ(e.Phase, ThroughFile(saved.Emitter(k).Phase));
            EXPECT_EQ(e.Enabled, saved.Emitter(k).Enabled);
            EXPECT_EQ(window.EmitterChecked(k), e.Enabled);
            EXPECT_EQ(window.GridCell(1, k), FormatGeneral(e.X));
            EXPECT_EQ(window.GridCell(2, k), FormatGeneral(e.Y));
            EXPECT_EQ(window.GridCell(3, k), FormatGeneral(e.Phase));
        }
        EXPECT_EQ(window.EmitterTypeIndex(), 2);
        EXPECT_EQ(loaded.EnabledCount(), 6);
        EXPECT_TRUE(window.Messages().empty());
    }
}

TEST_F(ConfigFileTest, SavingOverAFileKeepsWhatItDoesNotWrite) {
    const std::string foreign = Lines({"; written by hand", "[Прочее]", "ключ=значение", ""});
    const std::string earlierSave =
        Lines({"[Излучатель 6]", "Включен=1", "X=0,5", "Y=-0,5", "Фаза=0,125", "Заметка=рядом"});
    WriteBytes(Path, foreign + earlierSave);
    SaveConfiguration(Path, MakeInitialModel(), 1);
    const std::string saved = ReadBytes(Path);
    EXPECT_TRUE(saved.starts_with(foreign)) << saved;
    // Emitter 6 is off at zero now: its section holds that, beside the key it did not write.
    EXPECT_NE(
        saved.find(Lines({"[Излучатель 6]", "Включен=0", "X=0", "Y=0", "Фаза=0", "Заметка=рядом"})),
        std::string::npos)
        << saved;
    EXPECT_NE(saved.find(Cp("[Излучатель 4]")), std::string::npos);
    EXPECT_EQ(saved.find(Cp("[Излучатель 5]")), std::string::npos);

    TArrayModel model = MakeInitialModel();
    THeadlessWindow window(model);
    window.Rules().Create();
    window.Rules().Load(Path);
    EXPECT_FALSE(model.Emitter(6).Enabled);
    EXPECT_EQ(model.Emitter(6).X, 0);
    EXPECT_EQ(window.EmitterTypeIndex(), 1);
    EXPECT_EQ(model.EnabledCount(), 4);
}

TEST_F(ConfigFileTest, GroundKeysSurviveTheWindowsSaveAndReadBack) {
    const TGround sea{TGroundKind::Real, 0.3L, 14.2L, 81, 5};
    SaveConfiguration(Path, MakeInitialModel(), 1, {}, &sea);
    // The window's own save writes no ground and keeps the lines it does not write.
    SaveConfiguration(Path, MakeInitialModel(), 2);
    const auto ground = ReadGround(TIniFile(Path));
    ASSERT_TRUE(ground);
    EXPECT_EQ(ground->Kind, TGroundKind::Real);
    EXPECT_EQ(ground->HeightWavelengths, static_cast<long double>(0.3));  // as a double
    EXPECT_EQ(ground->FrequencyMhz, static_cast<long double>(14.2));
    EXPECT_EQ(ground->Permittivity, 81);
    EXPECT_EQ(ground->Conductivity, 5);
    EXPECT_NE(ReadBytes(Path).find(Cp("Земля=2\r\n")), std::string::npos);
    WriteBytes(Path, Lines({"[Все излучатели]", "Тип=1", ""}));
    EXPECT_FALSE(ReadGround(TIniFile(Path)));
}

// One emitter section holding the given key and value, with emitter 2 on.
std::string EmitterFile(const char* key, const std::string& value) {
    return Cp(std::string("[Излучатель 1]\r\n") + key + "=") + value +
           Cp("\r\n[Излучатель 2]\r\nВключен=1\r\n");
}

TEST_F(ConfigFileTest, ValuesThatAreNoNumberLoadAsDefaults) {
    const struct {
        const char* Key;
        std::string Text;
        long double X;
        bool Enabled;
    } cases[] = {
        {"Включен", "2", 0, true},
        {"Включен", "0x1", 0, true},
        {"Включен", "yes", 0, false},
        {"Включен", "", 0, false},
        {"X", "  0,25  ", 0.25L, false},
        {"X", "0.25", 0.25L, false},
        {"X", "-1,5E-3", -0.0015L, false},
        {"X", "NaN", 0, false},
        {"X", "0x10", 0, false},
        {"X", "-1E4999", 0, false},
        {"X", "1E-400", 0, false},
        {"X", "1,2,3", 0, false},
        {"X", "", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + "=" + c.Text);
        WriteBytes(Path, EmitterFile(c.Key, c.Text));
        TArrayModel model = MakeInitialModel();
        THeadlessWindow window(model);
        window.Rules().Create();
        window.Rules().Load(Path);
        EXPECT_EQ(model.Emitter(1).X, static_cast<long double>(static_cast<double>(c.X)));
        EXPECT_EQ(model.Emitter(1).Enabled, c.Enabled);
        EXPECT_TRUE(model.Emitter(2).Enabled);
    }
}

TEST_F(ConfigFileTest, TypeIsLimitedByTheRadioGroup) {
    const struct {
        const char* Text;
        int Index;
        int Redraws;  // two boxes change, the type perhaps, and the final redraw
    } cases[] = {{"7", 3, 4}, {"-5", -1, 3}, {"2", 2, 4}, {"0", 0, 3}, {"x", 0, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        WriteBytes(Path, EmitterFile("Включен", "1") + Cp("[Все излучатели]\r\nТип=") + c.Text);
        TArrayModel model = MakeInitialModel();
        THeadlessWindow window(model);
        window.Rules().Create();
        window.Rules().Load(Path);
        EXPECT_EQ(window.EmitterTypeIndex(), c.Index);
        EXPECT_EQ(window.RedrawCount(), c.Redraws);

        SaveConfiguration(Path, model, window.EmitterTypeIndex());
        EXPECT_EQ(TIniFile(Path).ReadString(kAllEmittersSection, kTypeKey), FormatInteger(c.Index));
    }
}

TEST_F(ConfigFileTest, AllOffKeepsTheFirstPreviouslyCheckedEmitterOn) {
    const std::string allOff = Cp("[Излучатель 1]\r\nВключен=0\r\n[Излучатель 2]\r\nВключен=0\r\n");
    for (const bool missingFile : {false, true}) {
        SCOPED_TRACE(missingFile ? "missing file" : "every emitter off");
        if (missingFile) {
            std::filesystem::remove(Path);
        } else {
            WriteBytes(Path, allOff);
        }
        TArrayModel model = MakeInitialModel();
        model.Emitter(1).Enabled = false;
        THeadlessWindow window(model);
        window.Rules().Create();
        window.Rules().Load(Path);
        ASSERT_EQ(window.Messages().size(), 1u);
        EXPECT_EQ(window.Messages()[0], kOneEmitterMessage);
        for (int k = 1; k <= kEmitterCount; ++k) {
            EXPECT_EQ(model.Emitter(k).Enabled, k == 2) << k;
            EXPECT_EQ(window.EmitterChecked(k), k == 2) << k;
        }
        EXPECT_EQ(model.EnabledCount(), 1);
        EXPECT_EQ(model.Emitter(2).X, 0);
        EXPECT_EQ(window.GridCell(3, 4), "0");
        EXPECT_EQ(window.RedrawCount(), 4);  // box 2 refused, boxes 3 and 4, the end
        EXPECT_FALSE(missingFile && std::filesystem::exists(Path));
    }
}

TEST_F(ConfigFileTest, OverflowChangesNothingRedrawsAndReports) {
    for (const char* value : {"1E400", "-1,8E308", "1.8E308"}) {
        SCOPED_TRACE(value);
        WriteBytes(Path, Cp("[Все излучатели]\r\nТип=2\r\n[Излучатель 1]\r\nВключен=0\r\nX=0,5\r\n"
                            "[Излучатель 3]\r\nY=") +
                             value + "\r\n");
        TArrayModel model = MakeInitialModel();
        THeadlessWindow window(model);
        window.Rules().Create();
        const TArrayModel before = model;
        try {
            window.Rules().Load(Path);
            ADD_FAILURE() << "no error";
        } catch (const EHandlerError& e) {
            EXPECT_STREQ(e.what(), kOverflowText);
        }
        for (int k = 1; k <= kEmitterCount; ++k) {
            EXPECT_EQ(model.Emitter(k).X, before.Emitter(k).X);
            EXPECT_EQ(model.Emitter(k).Y, before.Emitter(k).Y);
            EXPECT_EQ(model.Emitter(k).Enabled, before.Emitter(k).Enabled);
            EXPECT_EQ(window.EmitterChecked(k), before.Emitter(k).Enabled);
        }
        EXPECT_EQ(window.GridCell(1, 1), "0,25");
        EXPECT_EQ(window.EmitterTypeIndex(), 0);
        EXPECT_EQ(window.RedrawCount(), 1);
    }
}

TEST_F(ConfigFileTest, BadFilesLoadWithoutFailing) {
    const struct {
        const char* Name;
        std::string Bytes;
        long double X1;
    } cases[] = {
        {"empty", "", 0},
        {"binary garbage", std::string("\x00\xFF[\x01=\n\r\x80]\x00", 11) + "\xFE\xFE", 0},
        {"NUL inside the value",
         Cp("[Излучатель 1]\r\nВключен=1\r\nX=0,5") + std::string("\0\r\n", 3), 0},
        {"UTF-8 names after a byte-order mark",
         "\xEF\xBB\xBF[Излучатель 1]\nВключен=1\nX=0,75\n[Все излучатели]\nТип=1\n", 0.75L},
        {"key outside any section, no final line end",
         Cp("X=9\r\n[Излучатель 1]\r\nВключен=1\r\nX=-0,5"), -0.5L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(Path, c.Bytes);
        TArrayModel model = MakeInitialModel();
        THeadlessWindow window(model);
        window.Rules().Create();
        EXPECT_NO_THROW(window.Rules().Load(Path));
        EXPECT_EQ(model.Emitter(1).X, c.X1);
        EXPECT_EQ(model.EnabledCount(), 1);
    }
}

// Whatever stops the save, the window's one message names the file and the earlier file stays.
TEST_F(ConfigFileTest, FailedSaveLeavesTheEarlierFile) {
    const std::string earlier = Lines({"[Все излучатели]", "Тип=3"});
    std::filesystem::create_directory(Dir / "folder");
    // Open to the unprivileged user, so that only the file's own bits refuse the save.
    std::filesystem::permissions(Dir, std::filesystem::perms::all);
    const auto fullDisk = [](int fd, const void* data, std::size_t count) -> long {
        if (count > 16) return ::write(fd, data, 16);
        errno = ENOSPC;
        return -1;
    };
    const struct {
        const char* Name;
        std::string Target;
        TWriteFn Write;
        bool ReadOnly;
    } cases[] = {
        {"full disk", Path, fullDisk, false},
        {"missing folder", PathOf("none/setup.txt"), {}, false},
        {"a folder", PathOf("folder"), {}, false},
        {"read-only file", Path, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(Path, earlier);
        ASSERT_EQ(::chmod(Path.c_str(), c.ReadOnly ? 0444 : 0666), 0);
        const std::string error = RunAsUnprivileged([&c]() -> std::string {
            try {
                SaveConfiguration(c.Target, MakeInitialModel(), 0, c.Write);
            } catch (const EHandlerError& e) {
                return e.what();
            }
            return "no error";
        });
        EXPECT_EQ(error, "Unable to write to " + c.Target);
        EXPECT_EQ(ReadBytes(Path), earlier);
        EXPECT_EQ(EntryCount(), 2u);
        EXPECT_TRUE(std::filesystem::is_empty(Dir / "folder"));
    }
}

}  // namespace
