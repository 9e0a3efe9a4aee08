#include "cli/jsonwriter.h"

#include <cmath>
#include <cstdio>

#include "cli/realtext.h"
#include "config/nametext.h"

namespace {

std::string CodeEscape(unsigned char byte) {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", byte);
    return code;
}

std::string RealText(long double value) {
    return std::isfinite(value) ? FormatRoundTrip(value) : "null";
}

}  // namespace

std::string JsonEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            // A file name need not be UTF-8: a byte outside a well-formed sequence is written
            // as the character of its Latin-1 reading, so the document always parses.
            const std::size_t length = Utf8SequenceLength(text.substr(i));
            if (length == 0) {
                out += CodeEscape(static_cast<unsigned char>(c));
            } else {
                out += text.substr(i, length);
                i += length - 1;
            }
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += CodeEscape(static_cast<unsigned char>(c));
                } else {
                    out += c;
                }
        }
    }
    return out;
}

void TJsonWriter::Indent() {
    Document += '\n';
    Document.append(2 * HasMembers.size(), ' ');
}

void TJsonWriter::BeforeValue() {
    if (AfterKey) {
        AfterKey = false;
        return;
    }
    if (HasMembers.empty()) return;
    if (HasMembers.back()) Document += ',';
    HasMembers.back() = true;
    Indent();
}

void TJsonWriter::Open(char bracket) {
    BeforeValue();
    Document += bracket;
    HasMembers.push_back(false);
}

void TJsonWriter::Close(char bracket) {
    const bool hadMembers = HasMembers.back();
    HasMembers.pop_back();
    if (hadMembers) Indent();
    Document += bracket;
}

void TJsonWriter::BeginObject() {
    Open('{');
}
void TJsonWriter::EndObject() {
    Close('}');
}
void TJsonWriter::BeginArray() {
    Open('[');
}
void TJsonWriter::EndArray() {
    Close(']');
}

void TJsonWriter::Key(std::string_view name) {
    BeforeValue();
    Document += '"';
    Document += JsonEscape(name);
    Document += "\": ";
    AfterKey = true;
}

void TJsonWriter::String(std::string_view text) {
    BeforeValue();
    Document += '"';
    Document += JsonEscape(text);
    Document += '"';
}

void TJsonWriter::Real(long double value) {
    BeforeValue();
    Document += RealText(value);
}

void TJsonWriter::Shortest(long double value) {
    BeforeValue();
    Document += std::isfinite(value) ? FormatShortest(value) : "null";
}

void TJsonWriter::Integer(long long value) {
    BeforeValue();
    Document += std::to_string(value);
}

void TJsonWriter::Boolean(bool value) {
    BeforeValue();
    Document += value ? "true" : "false";
}

void TJsonWriter::Null() {
    BeforeValue();
    Document += "null";
}

void TJsonWriter::RealArray(const long double* values, std::size_t count) {
    BeforeValue();
    Document += '[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) Document += ", ";
        Document += RealText(values[i]);
    }
    Document += ']';
}
