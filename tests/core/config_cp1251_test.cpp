#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "config/cp1251.h"

namespace {

// The platform's converter, as the reference for the hand-written tables.
std::string Iconv(const char* to, const char* from, std::string in) {
    const iconv_t cd = iconv_open(to, from);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) return "<invalid>";
    out.resize(out.size() - outLeft);
    return out;
}

TEST(Cp1251Test, NamesAreTheWindows1251BytesOfTheirRussianText) {
    const struct {
        std::string_view Bytes;
        const char* Utf8;
    } names[] = {
        {kAllEmittersSection, "Все излучатели"},
        {kTypeKey, "Тип"},
        {kEmitterSectionPrefix, "Излучатель "},
        {kEnabledKey, "Включен"},
        {kXKey, "X"},
        {kYKey, "Y"},
        {kPhaseKey, "Фаза"},
    };
    for (const auto& name : names) {
        SCOPED_TRACE(name.Utf8);
        EXPECT_EQ(Iconv("CP1251", "UTF-8", name.Utf8), name.Bytes);
        EXPECT_EQ(Utf8ToCp1251(name.Utf8), std::string(name.Bytes));
    }
}

TEST(Cp1251Test, HighHalfMatchesThePlatformConverter) {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        SCOPED_TRACE(b);
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Iconv("UTF-8", "CP1251", byte);
        if (utf8 == "<invalid>") {
            EXPECT_EQ(b, 0x98u);  // the one unassigned byte
            continue;
        }
        EXPECT_EQ(Utf8ToCp1251(utf8), byte);
    }
}

TEST(Cp1251Test, FoldsLatinAndCyrillicCapitals) {
    const std::string upper = Iconv("CP1251", "UTF-8", "ABCZ АБВЯ ЁЎІЇЄҐЂЉ");
    const std::string lower = Iconv("CP1251", "UTF-8", "abcz абвя ёўіїєґђљ");
    ASSERT_EQ(upper.size(), lower.size());
    for (std::size_t i = 0; i < upper.size(); ++i) {
        EXPECT_EQ(FoldCase1251(static_cast<unsigned char>(upper[i])),
                  static_cast<unsigned char>(lower[i]));
        EXPECT_EQ(FoldCase1251(static_cast<unsigned char>(lower[i])),
                  static_cast<unsigned char>(lower[i]));
    }
    for (const unsigned same : {unsigned{'1'}, unsigned{'['}, 0xB9u, 0xA0u, 0x98u}) {
        EXPECT_EQ(FoldCase1251(static_cast<unsigned char>(same)), same);
    }
}

TEST(Cp1251Test, RejectsTextOutsideWindows1251OrNotUtf8) {
    for (const char* text : {"\xE2\x82", "\xC0\x80", "\xED\xA0\x80", "\xF0\x9F\x98\x80",
                             "\xE4\xB8\xAD", "\xD2\xE8\xEF", "\x80"}) {
        EXPECT_FALSE(Utf8ToCp1251(text).has_value()) << text;
    }
}

}  // namespace
