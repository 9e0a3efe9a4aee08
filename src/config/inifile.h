#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/iniscan.h"
#include "config/safefile.h"

// A key of a section, by their Windows-1251 names.
struct TIniKey {
    std::string_view Section;
    std::string_view Key;
};

// A value to write. One marked IfSectionExists is written only where its section already is.
struct TIniValue {
    std::string_view Section;
    std::string_view Key;
    std::string Value;
    bool IfSectionExists = false;
};

// A sectioned text file: "[name]" lines open sections, "key=value" lines give values, lines
// starting with ";" are comments. The file is read once when the object is made and written
// once by Commit; reads and writes in between work on the text in memory. Names match without
// regard to letter case (Latin and Cyrillic, Windows-1251), and names saved in UTF-8 by
// another editor match as well. Blanks around names and values are ignored; lines may end in
// CR LF or LF, and the lines this class adds end in CR LF. Every line it does not rewrite is
// kept byte for byte. Reading and writing take time in proportion to the text's length, whatever
// its lines hold.
class TIniFile {
  public:
    static constexpr std::size_t kMaxValueLength = 2047;
    // Larger files are not loaded; writing to them is refused rather than truncating them.
    static constexpr std::size_t kMaxFileSize = std::size_t{256} << 20;

    // A missing file reads as empty and is created by Commit.
    explicit TIniFile(std::string fileName);
    // Text not bound to a file; Commit fails.
    static TIniFile FromText(std::string text);

    // The value of the first such key in the first such section, at most kMaxValueLength
    // characters; empty when the section or key is missing.
    std::string ReadString(std::string_view section, std::string_view key) const;
    // The values of all the keys, found in one pass over the text.
    std::vector<std::string> ReadStrings(std::span<const TIniKey> keys) const;
    // Replaces the key's value where it stands, or appends the key at the end of its section,
    // or appends the section at the end of the text. A line break in the value ends it.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Writes the values, in one pass over the text, as WriteString would one after another.
    void WriteStrings(std::span<const TIniValue> values);
    // Removes every line that gives one of the wanted keys, in any of its sections.
    void RemoveKeys(std::span<const TIniWanted> wanted);
    // Every line that is not blank, with what it is to a reader of the wanted sections and
    // keys, by the rules the reads follow: the values as they read them.
    void VisitLines(std::span<const TIniWanted> wanted, const TIniVisitor& visit) const;
    // Writes the text to the file when anything was written since it was read.
    TFileWriteResult Commit(const TWriteFn& write = {});

    const std::string& Text() const { return Contents; }

  private:
    TIniFile() = default;

    std::string FileName;
    std::string Contents;
    std::size_t ContentsStart = 0;  // past a UTF-8 byte-order mark
    int LoadErrno = 0;
    bool Dirty = false;
};
