#include "config/cp1251.h"

#include <array>

namespace {

// Code points of bytes 0x80..0xFF; the range 0xC0..0xFF is the alphabet А..я in order.
constexpr std::array<char32_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
};

constexpr char32_t ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kHighHalf[byte - 0x80];
}

constexpr char32_t LowerCyrillic(char32_t c) {
    if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;
    if (c == 0x0490) return 0x0491;
    return c;
}

constexpr std::optional<unsigned char> SearchHighHalf(char32_t c) {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        if (ToUnicode(static_cast<unsigned char>(b)) == c) return static_cast<unsigned char>(b);
    }
    return std::nullopt;
}

// The bytes of the Cyrillic block U+0400..U+045F, where nearly every name's letters lie, so
// that converting a name takes one look-up a letter; 0 where the block has no byte.
constexpr std::array<unsigned char, 0x60> MakeCyrillicTable() {
    std::array<unsigned char, 0x60> table{};
    for (unsigned i = 0; i < table.size(); ++i) table[i] = SearchHighHalf(0x0400 + i).value_or(0);
    return table;
}

constexpr std::array<unsigned char, 0x60> kCyrillicTable = MakeCyrillicTable();

constexpr std::optional<unsigned char> FromUnicode(char32_t c) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    if (c >= 0x0400 && c < 0x0460) {
        const unsigned char byte = kCyrillicTable[c - 0x0400];
        if (byte == 0) return std::nullopt;
        return byte;
    }
    return SearchHighHalf(c);
}

constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        table[b] = byte;
        if (b >= 'A' && b <= 'Z') {
            table[b] = static_cast<unsigned char>(b + ('a' - 'A'));
        } else if (b >= 0x80) {
            const char32_t c = ToUnicode(byte);
            if (LowerCyrillic(c) != c) table[b] = FromUnicode(LowerCyrillic(c)).value_or(byte);
        }
    }
    return table;
}

constexpr std::array<unsigned char, 256> kFoldTable = MakeFoldTable();

}  // namespace

unsigned char FoldCase1251(unsigned char byte) {
    return kFoldTable[byte];
}

std::optional<std::string> Utf8ToCp1251(std::string_view text) {
    std::string out;
    if (!Utf8ToCp1251(text, out)) return std::nullopt;
    return out;
}

bool Utf8ToCp1251(std::string_view text, std::string& out) {
    out.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t c = 0;
        std::size_t length = 0;
        if (lead < 0x80) {
            c = lead;
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            c = lead & 0x1Fu;
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            c = lead & 0x0Fu;
            length = 3;
        } else {
            return false;  // four-byte forms lie outside Windows-1251 anyway
        }
        if (text.size() - i < length) return false;
        for (std::size_t j = 1; j < length; ++j) {
            const auto next = static_cast<unsigned char>(text[i + j]);
            if ((next & 0xC0u) != 0x80) return false;
            c = (c << 6) | (next & 0x3Fu);
        }
        if (length == 3 && c < 0x800) return false;
        const auto byte = FromUnicode(c);
        if (!byte) return false;
        out.push_back(static_cast<char>(*byte));
        i += length;
    }
    return true;
}
