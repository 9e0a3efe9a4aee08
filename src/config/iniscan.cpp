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
    // directly or as its UTF-8 spelling. Each reading of the name is made at most once, and
    // only when a wanted name's length allows it.
    template <typename TMatch>
    void Match(std::string_view name, TMatch match) {
        if (!MayMatch(name.size())) return;
        bool folded = false;
        bool converted = false;
        bool convertible = false;
        TNameKey direct;
        TNameKey utf8;
        for (std::size_t n = 0; n < Names.size(); ++n) {
            const TWantedName& wanted = Names[n];
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

// The text's lines one by one. Blank lines cost one look at each of their bytes. A line ends
// at LF, CR LF or a CR alone (an old Mac's files).
class TIniLines {
  public:
    TIniLines(std::string_view text, std::size_t from) : Text(text), Pos(from) {}

    [[gnu::always_inline]] inline bool Next(TIniLine& line) {
        const std::size_t size = Text.size();
        std::size_t begin = Pos;
        std::size_t p = Pos;
        for (; p < size; ++p) {
            const TByteClass c = ClassOf(Text[p]);
            if (c == TByteClass::Other) break;
            if (c == TByteClass::LineBreak || IsLoneCr(p)) begin = p + 1;
        }
        if (p == size) {
            Pos = size;
            return false;
        }
        const std::size_t lineEnd = std::min(NextOf('\n', p, NextLf), NextOf('\r', p, NextCr));
        std::size_t last = lineEnd;  // past the line's last non-blank byte
        while (ClassOf(Text[last - 1]) == TByteClass::Blank) --last;
        const std::string_view content = Text.substr(p, last - p);
        line.Begin = begin;
        line.ContentEnd = lineEnd;
        const bool crLf = lineEnd + 1 < size && Text[lineEnd] == '\r' && Text[lineEnd + 1] == '\n';
        line.Next = Pos = std::min(size, lineEnd + (crLf ? 2 : 1));
        line.Value = {};
        line.AfterSection = {};

        const std::size_t bracket =
            content.front() == '[' ? Find(content, ']') : std::string_view::npos;
        const std::size_t equals = bracket == std::string_view::npos && content.front() != ';'
                                       ? Find(content, '=')
                                       : std::string_view::npos;
        if (bracket != std::string_view::npos) {
            line.Kind = TIniLine::TKind::Section;
            line.Name = Trim(content.substr(1, bracket - 1));
            line.AfterSection = Trim(content.substr(bracket + 1));
        } else if (content.front() == ';') {
            line.Kind = TIniLine::TKind::Comment;
            line.Name = content;
        } else if (equals != std::string_view::npos) {
            line.Kind = TIniLine::TKind::Key;
            line.Name = content.substr(0, equals);  // starts at a non-blank byte
            while (!line.Name.empty() && ClassOf(line.Name.back()) == TByteClass::Blank)
                line.Name.remove_suffix(1);
            line.Value = Trim(content.substr(equals + 1));
        } else {
            line.Kind = TIniLine::TKind::Other;
            line.Name = content;
        }
        return true;
    }

  private:
    bool IsLoneCr(std::size_t p) const {
        return Text[p] == '\r' && (p + 1 == Text.size() || Text[p + 1] != '\n');
    }

    // Where c next lies from `from` on, or the text's size. The place found is kept until the
    // lines pass it, so that a text without that byte is not searched again for every line.
    std::size_t NextOf(char c, std::size_t from, std::size_t& kept) const {
        if (kept == std::string_view::npos || kept < from) {
            const std::size_t found = Find(Text.substr(from), c);
            kept = found == std::string_view::npos ? Text.size() : from + found;
        }
        return kept;
    }

    std::string_view Text;
    std::size_t Pos;
    std::size_t NextLf = std::string_view::npos;  // npos: not searched yet
    std::size_t NextCr = std::string_view::npos;
};

// The one pass every reader of the text makes: visit(line, step) for each line that is not
// blank, until it returns false.
template <typename TVisit>
[[gnu::always_inline]] inline void Walk(std::string_view text, std::size_t from,
                                        std::span<const TIniWanted> wanted, TVisit visit) {
    using TRole = TIniStep::TRole;
    TNameMatcher sections;
    std::vector<TNameMatcher> keys(wanted.size());
    std::vector<std::vector<bool>> given(wanted.size());  // per section, per key
    for (std::size_t s = 0; s < wanted.size(); ++s) {
        sections.Add(wanted[s].Section);
        for (const auto key : wanted[s].Keys) keys[s].Add(key);
        given[s].resize(wanted[s].Keys.size());
    }
    std::vector<bool> read(wanted.size());
    std::vector<std::size_t> open;  // the wanted sections the line lies in
    std::vector<TIniSlot> slots;
    bool inSection = false;
    TIniLines lines(text, from);
    TIniLine line;
    TIniStep step;
    while (lines.Next(line)) {
        slots.clear();
        bool named = false;
        switch (line.Kind) {
            case TIniLine::TKind::Section:
                inSection = true;
                open.clear();
                sections.Match(line.Name, [&](std::size_t s) {
                    named = true;
                    if (read[s]) return;
                    read[s] = true;
                    open.push_back(s);
                });
                step.Role = !open.empty() ? TRole::Opens
                            : named       ? TRole::RepeatsSection
                                          : TRole::OtherSection;
                break;
            case TIniLine::TKind::Key:
                for (const std::size_t s : open) {
                    keys[s].Match(line.Name, [&](std::size_t k) {
                        named = true;
                        if (given[s][k]) return;
                        given[s][k] = true;
                        slots.push_back({s, k});
                    });
                }
                step.Role = !inSection       ? TRole::Preamble
                            : open.empty()   ? TRole::Unread
                            : !slots.empty() ? TRole::Gives
                            : named          ? TRole::RepeatsKey
                                             : TRole::OtherKey;
                break;
            case TIniLine::TKind::Comment:
                step.Role = TRole::Comment;
                break;
            case TIniLine::TKind::Other:
                step.Role = !inSection     ? TRole::Preamble
                            : open.empty() ? TRole::Unread
                                           : TRole::Stray;
                break;
        }
        step.Open = open;
        step.Given = slots;
        if (!visit(line, step)) return;
    }
}

}  // namespace

std::vector<std::optional<TIniFound>> ScanIniText(std::string_view text, std::size_t from,
                                                  std::span<const TIniWanted> wanted,
                                                  bool insertionPoints) {
    std::vector<std::optional<TIniFound>> found(wanted.size());
    if (wanted.empty()) return found;
    std::vector<std::size_t> open;  // the wanted sections the line lies in
    std::size_t unseen = wanted.size();
    std::size_t keysMissing = 0;   // over the open sections
    std::size_t afterContent = 0;  // past the last non-blank line of the open sections
    const auto close = [&] {
        for (const std::size_t s : open) found[s]->InsertAt = afterContent;
        open.clear();
        keysMissing = 0;
    };
    Walk(text, from, wanted, [&](const TIniLine& line, const TIniStep& step) {
        if (line.Kind == TIniLine::TKind::Section) {
            close();
            afterContent = line.Next;
            open.assign(step.Open.begin(), step.Open.end());
            for (const std::size_t s : open) {
                found[s] = TIniFound{line.Next, line.Next, {}};
                found[s]->Keys.resize(wanted[s].Keys.size());
                keysMissing += wanted[s].Keys.size();
                --unseen;
            }
        } else if (!open.empty()) {
            afterContent = line.Next;
            for (const TIniSlot& slot : step.Given) {
                found[slot.Section]->Keys[slot.Key] =
                    TIniKeyLine{line.Begin, line.ContentEnd, line.Name, line.Value};
                --keysMissing;
            }
        }
        return unseen > 0 || (insertionPoints ? !open.empty() : keysMissing > 0);
    });
    close();
    return found;
}

void WalkIniText(std::string_view text, std::size_t from, std::span<const TIniWanted> wanted,
                 const TIniVisitor& visit) {
    Walk(text, from, wanted, visit);
}

std::size_t IniLineBreaks(std::string_view text, std::size_t from, std::size_t to) {
    std::size_t breaks = 0;
    for (std::size_t i = from; i < to; ++i) {
        breaks +=
            text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    }
    return breaks;
}

bool IniNameStartsWith(std::string_view name, std::string_view prefix) {
    const auto& fold = FoldTable();
    const auto starts = [&](std::string_view reading) {
        return reading.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), reading.begin(), [&](char a, char b) {
                   return fold[static_cast<unsigned char>(a)] ==
                          fold[static_cast<unsigned char>(b)];
               });
    };
    if (starts(name)) return true;
    std::string reading;
    return Utf8ToCp1251(name, reading) && starts(reading);
}
