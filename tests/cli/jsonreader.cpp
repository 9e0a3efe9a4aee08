#include "jsonreader.h"

#include <charconv>
#include <stdexcept>

#include "config/nametext.h"

namespace {

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class TReader {
  public:
    explicit TReader(const std::string& text) : Text(text) {}

    TJson Document() {
        TJson value = Value();
        SkipBlanks();
        if (Pos != Text.size()) Fail("text after the document");
        return value;
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(Pos));
    }
    void SkipBlanks() {
        while (Pos < Text.size() &&
               std::string_view(" \t\r\n").find(Text[Pos]) != std::string_view::npos) {
            ++Pos;
        }
    }
    bool Take(char c) {
        SkipBlanks();
        if (Pos < Text.size() && Text[Pos] == c) {
            ++Pos;
            return true;
        }
        return false;
    }
    void Expect(char c) {
        if (!Take(c)) Fail(std::string("expected '") + c + "'");
    }
    bool TakeWord(std::string_view word) {
        if (Text.compare(Pos, word.size(), word) != 0) return false;
        Pos += word.size();
        return true;
    }

    TJson Value() {
        SkipBlanks();
        TJson v;
        if (Pos == Text.size()) Fail("missing value");
        const char c = Text[Pos];
        if (c == '{') {
            v.Kind = TJson::TKind::Object;
            ++Pos;
            if (Take('}')) return v;
            do {
                SkipBlanks();
                const std::string key = String();
                Expect(':');
                if (!v.Members.emplace(key, Value()).second) Fail("repeated key " + key);
            } while (Take(','));
            Expect('}');
        } else if (c == '[') {
            v.Kind = TJson::TKind::Array;
            ++Pos;
            if (Take(']')) return v;
            do v.Items.push_back(Value());
            while (Take(','));
            Expect(']');
        } else if (c == '"') {
            v.Kind = TJson::TKind::String;
            v.Text = String();
        } else if (TakeWord("true") || TakeWord("false")) {
            v.Kind = TJson::TKind::Boolean;
            v.BooleanValue = c == 't';
        } else if (TakeWord("null")) {
            v.Kind = TJson::TKind::Null;
        } else {
            v.Kind = TJson::TKind::Number;
            const std::size_t start = Pos;
            while (Pos < Text.size() &&
                   std::string_view("+-0123456789.eE").find(Text[Pos]) != std::string_view::npos) {
                ++Pos;
            }
            v.Text = Text.substr(start, Pos - start);
            long double ignored = 0;
            const auto [end, error] =
                std::from_chars(v.Text.data(), v.Text.data() + v.Text.size(), ignored);
            if (v.Text.empty() || v.Text[0] == '+' || error != std::errc() ||
                end != v.Text.data() + v.Text.size()) {
                Fail("bad number");
            }
        }
        return v;
    }

    std::string String() {
        if (Pos >= Text.size() || Text[Pos] != '"') Fail("expected a string");
        ++Pos;
        std::string out;
        while (true) {
            if (Pos >= Text.size()) Fail("unterminated string");
            const char c = Text[Pos++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
            if (static_cast<unsigned char>(c) >= 0x80) {
                // JSON is UTF-8: a parser of another program rejects anything else.
                const std::size_t length =
                    Utf8SequenceLength(std::string_view(Text).substr(Pos - 1));
                if (length == 0) Fail("not UTF-8");
                out += Text.substr(Pos - 1, length);
                Pos += length - 1;
                continue;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (Pos >= Text.size()) Fail("unterminated escape");
            const char e = Text[Pos++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (Pos + 4 > Text.size()) Fail("short \\u escape");
                    const unsigned code = std::stoul(Text.substr(Pos, 4), nullptr, 16);
                    Pos += 4;
                    if (code >= 0xD800 && code < 0xE000) Fail("\\u escape of a surrogate");
                    AppendUtf8(out, code);
                    break;
                }
                default:
                    Fail("unknown escape");
            }
        }
    }

    const std::string& Text;
    std::size_t Pos = 0;
};

}  // namespace

const TJson& TJson::operator[](const std::string& key) const {
    const auto it = Members.find(key);
    if (Kind != TKind::Object || it == Members.end()) {
        throw std::runtime_error("JSON: no member " + key);
    }
    return it->second;
}

const TJson& TJson::operator[](std::size_t index) const {
    if (Kind != TKind::Array || index >= Items.size()) {
        throw std::runtime_error("JSON: no item " + std::to_string(index));
    }
    return Items[index];
}

long double TJson::Number() const {
    if (Kind != TKind::Number) throw std::runtime_error("JSON: not a number");
    long double value = 0;
    std::from_chars(Text.data(), Text.data() + Text.size(), value);
    return value;
}

TJson ParseJson(const std::string& text) {
    return TReader(text).Document();
}
