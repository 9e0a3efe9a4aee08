#include "config/iniscan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "config/cp1251.h"

namespace {

enum class TByteClass : unsigned char { Other, Blank, LineBreak };

constexpr std::array<TByteClass, 256> MakeByteClasses() {
    std::array<TByteClass, 256> classes{};
    classes[' '] = classes['\t'] = classes['\r'] = TByteClass::Blank;
    classes['\n'] = TByteClass::LineBreak;
    return classes;
}

constexpr std::array<TByteClass, 256> kByteClasses = MakeByteClasses();

TByteClass ClassOf(char c) {
    return kByteClasses[static_cast<unsigned char>(c)];
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && ClassOf(s.front()) == TByteClass::Blank) s.remove_prefix(1);
    while (!s.empty() && ClassOf(s.back()) == TByteClass::Blank) s.remove_suffix(1);
    return s;
}

// Where c first lies in s, or npos. Short lines are looked through byte by byte: a call of
// memchr would cost more than they hold.
[[gnu::always_inline]] inline std::size_t Find(std::string_view s, char c) {
    const std::size_t quick = std::min<std::size_t>(s.size(), 32);
    for (std::size_t i = 0; i < quick; ++i) {
        if (s[i] == c) return i;
    }
    if (quick == s.size()) return std::string_view::npos;
    const void* found = std::memchr(s.data() + quick, c, s.size() - quick);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - s.data())
                 : std::string_view::npos;
}

const std::array<unsigned char, 256>& FoldTable() {
    static const std::array<unsigned char, 256> kTable = [] {
        std::array<unsigned char, 256> t{};
        for (unsigned b = 0; b < t.size(); ++b) t[b] = FoldCase1251(static_cast<unsigned char>(b));
        return t;
    }();
    return kTable;
}

// A name reduced to its length and a hash of its folded bytes: two names that match have equal
// keys, and names whose keys differ are turned away at once.
struct TNameKey {
    std::size_t Length = 0;
    std::uint64_t Hash = 0;
    bool operator==(const TNameKey&) const = default;
};

// Eight bytes a step: the names of a hostile file may be many.
TNameKey KeyOfFolded(std::string_view folded) {
    std::uint64_t hash = folded.size();
    std::size_t i = 0;
    for (; i + 8 <= folded.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, folded.data() + i, 8);
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
    }
    std::uint64_t tail = 0;
    for (; i < folded.size(); ++i) tail = (tail << 8) | static_cast<unsigned char>(folded[i]);
    hash = (hash ^ tail) * 0x9E3779B97F4A7C15ull;
    return {folded.size(), hash ^ (hash >> 29)};
}

struct TWantedName {
    std::string Folded;
    TNameKey Key;
};

// The names looked for in one pass. The text's names are folded into buffers the whole pass
// shares, so that no line costs an allocation.
class TNameMatcher {
  public:
    TNameMatcher() : Fold(FoldTable()) {}

    void Add(std::string_view name) {
        std::string folded(name);
        FoldInPlace(folded);
        Names.push_back({folded, KeyOfFolded(folded)});
        Shortest = std::min(Shortest, name.size());
        Longest = std::max(Longest, name.size());
    }

    // Whether a name of this length can match at all: a Windows-1251 letter takes up to three
    // bytes in UTF-8. Most names of a hostile file are turned away here.
    bool MayMatch(std::size_t length) const { return length >= Shortest && length <= 3 * Longest; }

    // Calls match(n) for every wanted name n (in the order added) that the text's name matches,
    // directly or as its UTF-8 spelling, and for which skip(n) is false. Each reading of the
    // name is made at most once, and only when a wanted name's length allows it.
    template <typename TSkip, typename TMatch>
    void Match(std::string_view name, TSkip skip, TMatch match) {
        if (!MayMatch(name.size())) return;
        bool folded = false;
        bool converted = false;
        bool convertible = false;
        TNameKey direct;
        TNameKey utf8;
        for (std::size_t n = 0; n < Names.size(); ++n) {
            const TWantedName& wanted = Names[n];
            if (skip(n)) continue;
            bool matches = false;
            if (wanted.Key.Length == name.size()) {
                if (!folded) {
                    folded = true;
                    Direct.assign(name);
                    FoldInPlace(Direct);
                    direct = KeyOfFolded(Direct);
                }
                matches = wanted.Key == direct && Direct == wanted.Folded;
            } else if (wanted.Key.Length < name.size() && name.size() <= 3 * wanted.Key.Length) {
                if (!converted) {
                    converted = true;
                    convertible = Utf8ToCp1251(name, Reading);
                    FoldInPlace(Reading);
                    utf8 = KeyOfFolded(Reading);
                }
                matches = convertible && wanted.Key == utf8 && Reading == wanted.Folded;
            }
            if (matches) match(n);
        }
    }

  private:
    void FoldInPlace(std::string& s) const {
        for (char& c : s) c = static_cast<char>(Fold[static_cast<unsigned char>(c)]);
    }

    const std::array<unsigned char, 256>& Fold;
    std::vector<TWantedName> Names;
    std::size_t Shortest = std::string::npos;
    std::size_t Longest = 0;
    std::string Direct;   // the text's name, folded
    std::string Reading;  // its UTF-8 reading, folded
};

}  // namespace

std::vector<std::optional<TIniFound>> ScanIniText(std::string_view text, std::size_t from,
                                                  std::span<const TIniWanted> wanted,
                                                  bool insertionPoints) {
    std::vector<std::optional<TIniFound>> found(wanted.size());
    TNameMatcher sections;
    std::vector<TNameMatcher> keys(wanted.size());
    for (std::size_t s = 0; s < wanted.size(); ++s) {
        sections.Add(wanted[s].Section);
        for (const auto key : wanted[s].Keys) keys[s].Add(key);
    }
    std::vector<std::size_t> open;  // the wanted sections the line lies in
    std::size_t unseen = wanted.size();
    std::size_t keysMissing = 0;   // over the open sections
    std::size_t afterContent = 0;  // past the last non-blank line of the open sections
    const auto close = [&] {
        for (const std::size_t s : open) found[s]->InsertAt = afterContent;
        open.clear();
        keysMissing = 0;
    };

    const std::size_t size = text.size();
    std::size_t pos = from;  // the line's start
    while (pos < size && (unseen > 0 || (insertionPoints ? !open.empty() : keysMissing > 0))) {
        std::size_t p = pos;
        for (; p < size; ++p) {
            const TByteClass c = ClassOf(text[p]);
            if (c == TByteClass::Other) break;
            if (c == TByteClass::LineBreak) pos = p + 1;
        }
        if (p == size) break;
        const std::size_t lineBreak = Find(text.substr(p), '\n');
        const std::size_t lineEnd = lineBreak == std::string_view::npos ? size : p + lineBreak;
        const std::size_t next = lineEnd < size ? lineEnd + 1 : size;
        std::size_t last = lineEnd;  // past the line's last non-blank byte
        while (ClassOf(text[last - 1]) == TByteClass::Blank) --last;
        const std::string_view line = text.substr(p, last - p);

        const std::size_t bracket = line.front() == '[' ? Find(line, ']') : std::string_view::npos;
        if (bracket != std::string_view::npos) {
            close();
            afterContent = next;
            if (unseen > 0) {
                sections.Match(
                    Trim(line.substr(1, bracket - 1)),
                    [&](std::size_t s) { return found[s].has_value(); },
                    [&](std::size_t s) {
                        found[s] = TIniFound{next, next, {}};
                        found[s]->Keys.resize(wanted[s].Keys.size());
                        keysMissing += wanted[s].Keys.size();
                        open.push_back(s);
                        --unseen;
                    });
            }
        } else if (!open.empty()) {
            afterContent = next;
            const std::size_t equals =
                keysMissing > 0 && line.front() != ';' ? Find(line, '=') : std::string_view::npos;
            std::string_view key = line.substr(0, equals);  // starts at a non-blank byte
            while (!key.empty() && ClassOf(key.back()) == TByteClass::Blank) key.remove_suffix(1);
            for (const std::size_t s : open) {
                if (equals == std::string_view::npos || !keys[s].MayMatch(key.size())) continue;
                auto& lines = found[s]->Keys;
                keys[s].Match(
                    key, [&](std::size_t k) { return lines[k].has_value(); },
                    [&](std::size_t k) {
                        const std::size_t contentEnd =
                            lineEnd > pos && text[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
                        lines[k] = TIniKeyLine{pos, contentEnd, key, Trim(line.substr(equals + 1))};
                        --keysMissing;
                    });
            }
        }
        pos = next;
    }
    close();
    return found;
}
