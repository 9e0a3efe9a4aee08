#include "cli/jsonwriter.h"

#include <cmath>
#include <cstdio>

#include "cli/realtext.h"

namespace {

std::string RealText(long double value) {
    return std::isfinite(value) ? FormatRoundTrip(value) : "null";
}

}  // namespace

std::string JsonEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
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
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned char>(c));
                    out += code;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

void TJsonWriter::Indent() {
    text_ += '\n';
    text_.append(2 * hasMembers_.size(), ' ');
}

void TJsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasMembers_.empty()) return;
    if (hasMembers_.back()) text_ += ',';
    hasMembers_.back() = true;
    Indent();
}

void TJsonWriter::Open(char bracket) {
    BeforeValue();
    text_ += bracket;
    hasMembers_.push_back(false);
}

void TJsonWriter::Close(char bracket) {
    const bool hadMembers = hasMembers_.back();
    hasMembers_.pop_back();
    if (hadMembers) Indent();
    text_ += bracket;
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
    text_ += '"';
    text_ += JsonEscape(name);
    text_ += "\": ";
    afterKey_ = true;
}

void TJsonWriter::String(std::string_view text) {
    BeforeValue();
    text_ += '"';
    text_ += JsonEscape(text);
    text_ += '"';
}

void TJsonWriter::Real(long double value) {
    BeforeValue();
    text_ += RealText(value);
}

void TJsonWriter::Integer(long long value) {
    BeforeValue();
    text_ += std::to_string(value);
}

void TJsonWriter::Boolean(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}

void TJsonWriter::Null() {
    BeforeValue();
    text_ += "null";
}

void TJsonWriter::RealArray(const long double* values, std::size_t count) {
    BeforeValue();
    text_ += '[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) text_ += ", ";
        text_ += RealText(values[i]);
    }
    text_ += ']';
}
