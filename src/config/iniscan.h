#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// A section the caller looks for, with the keys it wants from it: Windows-1251 names.
struct TIniWanted {
    std::string_view Section;
    std::vector<std::string_view> Keys;
};

// A "key=value" line: where it lies in the text and its blank-trimmed parts.
struct TIniKeyLine {
    std::size_t LineBegin = 0;
    std::size_t ContentEnd = 0;  // before the line break
    std::string_view Name;
    std::string_view Value;
};

// The first section of a wanted name, and in it the first line of each wanted key.
struct TIniFound {
    std::size_t BodyBegin = 0;
    std::size_t InsertAt = 0;                      // after the section's last non-blank line
    std::vector<std::optional<TIniKeyLine>> Keys;  // in the order wanted
};

// Finds every wanted section and key in one pass over the text from `from` on, so that the
// time grows with the text's length alone, whatever its lines hold. Names match as the
// sectioned file reads them: without regard to letter case, and also as their UTF-8 spelling.
// Insertion points cost a look at every line of a found section; without them the pass ends
// as soon as everything wanted is found.
std::vector<std::optional<TIniFound>> ScanIniText(std::string_view text, std::size_t from,
                                                  std::span<const TIniWanted> wanted,
                                                  bool insertionPoints);

// A line of the text that is not blank. A line ends at LF, CR LF or a CR alone; spaces and
// tabs around it, its name and its value do not count. "[name]" opens a section (text after the
// bracket is passed over), ";" starts a comment, and any other line holding "=" gives a key its
// value.
struct TIniLine {
    enum class TKind { Section, Key, Comment, Other };
    TKind Kind = TKind::Other;
    std::size_t Begin = 0;          // where the line starts, blanks before it included
    std::size_t ContentEnd = 0;     // before the line break
    std::size_t Next = 0;           // where the next line starts
    std::string_view Name;          // a section's or a key's; the whole line for any other
    std::string_view Value;         // a key's
    std::string_view AfterSection;  // a section line's text after "]", blanks trimmed
};

// A wanted key as the indexes of its section and of the key there.
struct TIniSlot {
    std::size_t Section = 0;
    std::size_t Key = 0;
};

// What a line is to a reader of the wanted sections and keys. Each section is read from the
// first line that names it, and each key of it from its first line there; every other line
// is passed over.
struct TIniStep {
    enum class TRole {
        Opens,           // a section line naming wanted sections not read before
        RepeatsSection,  // a section line naming only wanted sections read before
        OtherSection,    // a section line naming no wanted section
        Gives,           // a key line giving the values of wanted keys
        RepeatsKey,      // a key line naming only wanted keys given before
        OtherKey,        // a key line in sections read naming none of their wanted keys
        Comment,
        Preamble,  // any other line before the first section line
        Unread,    // any other line in a section not read
        Stray,     // a line in a section read that is neither a key nor a comment
    };
    TRole Role = TRole::Comment;
    std::span<const std::size_t> Open;  // the wanted sections read there; a section line's opens
    std::span<const TIniSlot> Given;    // the keys whose values the line gives
};

// Returns false to end the pass.
using TIniVisitor = std::function<bool(const TIniLine&, const TIniStep&)>;

// Every line of the text from `from` on that is not blank, in order, with what it is to a
// reader of the wanted sections and keys: ScanIniText takes the text by the same rules.
void WalkIniText(std::string_view text, std::size_t from, std::span<const TIniWanted> wanted,
                 const TIniVisitor& visit);

// The line breaks in text[from, to) by the rule lines end by: the line number of `to` is one
// more than those before it.
std::size_t IniLineBreaks(std::string_view text, std::size_t from, std::size_t to);

// Whether the name starts with the prefix as names match: without regard to letter case,
// directly or in its UTF-8 spelling.
bool IniNameStartsWith(std::string_view name, std::string_view prefix);
