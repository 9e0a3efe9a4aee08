#include "config/inifile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>

#include "config/cp1251.h"
#include "config_tempdir.h"

namespace {

TEST(IniFileReadTest, FindsValuesByTheFileRules) {
    const std::string utf8Names = "[Все излучатели]\nТип=2\n[Излучатель 1]\nФаза=0,5\n";
    const struct {
        const char* Name;
        std::string Text;
        std::string_view Section;
        std::string_view Key;
        std::string Expected;
    } cases[] = {
        {"CR LF lines", "[s]\r\nk=v\r\n", "s", "k", "v"},
        {"LF lines", "[s]\nk=v\n", "s", "k", "v"},
        {"no final line end", "[s]\nk=v", "s", "k", "v"},
        {"CR lines", "[s]\rk=v\r", "s", "k", "v"},
        {"CR lines among CR LF", "[t]\r\nk=1\r[s]\r\n\rk=v\r\n", "s", "k", "v"},
        {"CR ends a value", "[s]\rk=v\rj=w", "s", "k", "v"},
        {"Latin case ignored", "[SeC]\nKEY=v\n", "sEc", "key", "v"},
        {"Cyrillic case ignored",
         "[\xC2\xD1\xC5 \xC8\xC7\xCB\xD3\xD7\xC0\xD2\xC5\xCB\xC8]\n"
         "\xF2\xE8\xEF=3\n",
         kAllEmittersSection, kTypeKey, "3"},
        {"UTF-8 section and key", utf8Names, kAllEmittersSection, kTypeKey, "2"},
        {"UTF-8 emitter section", utf8Names, "\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC 1",
         kPhaseKey, "0,5"},
        {"blanks around names and values", "  [ s ]  \r\n\t k \t=   0,25  \r\n", "s", "k", "0,25"},
        {"byte-order mark", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "v"},
        {"value holding =", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"empty value", "[s]\nk=\nk=late\n", "s", "k", ""},
        {"text after the bracket", "[s] trailing\nk=v\n", "s", "k", "v"},
        {"missing file text", "", "s", "k", ""},
        {"missing section", "[t]\nk=v\n", "s", "k", ""},
        {"missing key", "[s]\nj=v\n", "s", "k", ""},
        {"key before any section", "k=v\n[s]\n", "s", "k", ""},
        {"key of a later section", "[s]\n[t]\nk=v\n", "s", "k", ""},
        {"first of repeated sections", "[s]\nk=1\n[s]\nk=2\n", "s", "k", "1"},
        {"repeated section hides later keys", "[s]\nj=1\n[s]\nk=2\n", "s", "k", ""},
        {"first of repeated keys", "[s]\nk=1\nk=2\n", "s", "k", "1"},
        {"comment is no key", "[s]\n;k=1\nk=2\n", "s", "k", "2"},
        {"unclosed bracket is no section", "[s\nk=1\n[s]\nk=2\n", "s", "k", "2"},
        {"NUL bytes kept as bytes", std::string("[s]\nk=a\0b\n", 10), "s", "k",
         std::string("a\0b", 3)},
        {"UTF-8 name differing in a letter", "[Все излучатели]\nТиб=2\n", kAllEmittersSection,
         kTypeKey, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(TIniFile::FromText(c.Text).ReadString(c.Section, c.Key), c.Expected);
    }
}

TEST(IniFileReadTest, LongValuesAreCutAndLongLinesSkipped) {
    const std::string longValue(3000, '7');
    const std::string longLine(5000, 'q');
    const auto file = TIniFile::FromText("[s]\n" + longLine + "\nk=" + longValue + "\nj=v\n");
    EXPECT_EQ(file.ReadString("s", "k"), longValue.substr(0, TIniFile::kMaxValueLength));
    EXPECT_EQ(file.ReadString("s", "j"), "v");
}

// Deterministic pseudo-random bytes, with every byte value and many line breaks.
std::string Garbage(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1664525u + 1013904223u;
        const unsigned b = seed >> 24;
        c = static_cast<char>(b % 5 == 0 ? "[]=\n;"[b % 7 % 5] : b);
    }
    return bytes;
}

TEST(IniFileReadTest, GarbageReadsAsMissingValues) {
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        auto file = TIniFile::FromText(Garbage(4096, seed));
        EXPECT_LE(file.ReadString("s", "k").size(), TIniFile::kMaxValueLength);
        file.WriteString("s", "k", "v");
        EXPECT_EQ(file.ReadString("s", "k"), "v");
    }
}

TEST(IniFileWriteTest, EditsOnlyTheLineItWrites) {
    const struct {
        const char* Name;
        std::string Before;
        std::string_view Section;
        std::string_view Key;
        std::string_view Value;
        std::string After;
    } cases[] = {
        {"empty text", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"new section at the end", "; c\r\n[a]\r\nx=1\r\n", "s", "k", "v",
         "; c\r\n[a]\r\nx=1\r\n[s]\r\nk=v\r\n"},
        {"no final line end", "[a]\r\nx=1", "s", "k", "v", "[a]\r\nx=1\r\n[s]\r\nk=v\r\n"},
        {"key in CR lines replaced in place", "[s]\rk=1\r[t]\r", "s", "k", "2", "[s]\rk=2\r[t]\r"},
        {"new key in CR lines", "[s]\rj=1\r\r[t]\r", "s", "k", "v", "[s]\rj=1\rk=v\r\n\r[t]\r"},
        {"final lone CR", "[a]\r", "s", "k", "v", "[a]\r\n[s]\r\nk=v\r\n"},
        {"new key before the blank lines of its section",
         "[s]\r\na=1\r\n\r\n; next\r\n\r\n[t]\r\nb=2\r\n", "s", "k", "v",
         "[s]\r\na=1\r\n\r\n; next\r\nk=v\r\n\r\n[t]\r\nb=2\r\n"},
        {"new key in an empty last section", "[s]", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"value replaced where it stands, LF lines kept", "; note\n[s]\n  k = old \nz=1\n", "s",
         "k", "v", "; note\n[s]\nk=v\nz=1\n"},
        {"file's spelling of the names kept", "[S]\r\nK=1\r\n", "s", "k", "2", "[S]\r\nK=2\r\n"},
        {"first of repeated sections", "[s]\r\nk=1\r\n[s]\r\nk=2\r\n", "s", "k", "3",
         "[s]\r\nk=3\r\n[s]\r\nk=2\r\n"},
        {"key outside a section untouched", "k=1\r\n", "s", "k", "v", "k=1\r\n[s]\r\nk=v\r\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[s]\r\nk=1\r\n", "s", "k", "2",
         "\xEF\xBB\xBF[s]\r\nk=2\r\n"},
        {"value ends at a line break", "", "s", "k", "1\r\n[evil]", "[s]\r\nk=1\r\n"},
        {"UTF-8 key replaced in place", "[Все излучатели]\r\nТип=0\r\n", kAllEmittersSection,
         kTypeKey, "3", "[Все излучатели]\r\nТип=3\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto file = TIniFile::FromText(c.Before);
        file.WriteString(c.Section, c.Key, c.Value);
        EXPECT_EQ(file.Text(), c.After);
        EXPECT_EQ(file.ReadString(c.Section, c.Key), c.Value.substr(0, c.Value.find('\r')));
    }
}

class IniFileDiskTest : public TTempDirTest {};

TEST_F(IniFileDiskTest, CommitWritesOnlyAfterAWrite) {
    const std::string path = PathOf("a.txt");
    TIniFile reader(path);
    EXPECT_TRUE(reader.Commit().Ok());
    EXPECT_FALSE(std::filesystem::exists(path));

    TIniFile writer(path);
    writer.WriteString("s", "k", "v");
    ASSERT_TRUE(writer.Commit().Ok());
    EXPECT_EQ(ReadBytes(path), "[s]\r\nk=v\r\n");
    EXPECT_EQ(TIniFile(path).ReadString("s", "k"), "v");
}

TEST_F(IniFileDiskTest, UnreadableTargetsReadEmptyAndAreNotOverwritten) {
    EXPECT_EQ(TIniFile(Dir.string()).ReadString("s", "k"), "");
    EXPECT_EQ(TIniFile("/dev/zero").ReadString("s", "k"), "");

    // Too large to hold: writing must not replace it with a small file.
    const std::string huge = PathOf("huge.txt");
    const int fd = ::open(huge.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(TIniFile::kMaxFileSize) + 1), 0);
    ::close(fd);
    TIniFile file(huge);
    EXPECT_EQ(file.ReadString("s", "k"), "");
    file.WriteString("s", "k", "v");
    EXPECT_EQ(file.Commit().Errno, EFBIG);
    EXPECT_EQ(std::filesystem::file_size(huge), TIniFile::kMaxFileSize + 1);
}

TEST_F(IniFileDiskTest, FiftyMegabytesOfGarbageStillFindTheSection) {
    const std::string path = PathOf("big.txt");
    WriteBytes(path, Garbage(50u << 20, 7) + "\n[wanted section]\nk=v\n");
    TIniFile file(path);
    for (int i = 0; i < 33; ++i) EXPECT_EQ(file.ReadString("wanted section", "k"), "v");
}

}  // namespace
