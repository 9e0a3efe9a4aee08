#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes one JSON document into a string: objects and arrays are opened and closed in
// order, commas and indentation follow from the nesting. Strings are escaped; reals are
// written with 21 significant digits, and as null when not finite.
class TJsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the enclosing object.
    void Key(std::string_view name);

    void String(std::string_view text);
    void Real(long double value);
    // The shortest text that reads back as the same value, for values a user typed or stepped.
    void Shortest(long double value);
    void Integer(long long value);
    void Boolean(bool value);
    void Null();
    // An array of reals on one line, for long sample lists.
    void RealArray(const long double* values, std::size_t count);

    // The document, ending in a line break.
    std::string Text() const { return Document + '\n'; }

  private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void Indent();

    std::string Document;
    std::vector<bool> HasMembers;  // per open container
    bool AfterKey = false;
};

// The text between the quotes of a JSON string. Bytes that are not UTF-8 become \u0080 to
// \u00ff, the characters of their Latin-1 reading.
std::string JsonEscape(std::string_view text);
