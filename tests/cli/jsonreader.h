#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

// A strict reader of the program's JSON, for checking that the document is valid and for
// looking values up. Numbers keep their text so that they can be read at full precision.
struct TJson {
    enum class TKind { Null, Boolean, Number, String, Array, Object };
    TKind Kind = TKind::Null;
    bool BooleanValue = false;
    std::string Text;  // a string's value, or a number's text
    std::vector<TJson> Items;
    std::map<std::string, TJson> Members;

    const TJson& operator[](const std::string& key) const;
    const TJson& operator[](std::size_t index) const;
    long double Number() const;
    bool IsNull() const { return Kind == TKind::Null; }
};

// Throws std::runtime_error naming the offset of the first fault.
TJson ParseJson(const std::string& text);
