#include "config/inifile.h"

#include <cerrno>
#include <cstring>

#include "config/cp1251.h"
#include "config/filecontent.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool FoldedEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase1251(static_cast<unsigned char>(a[i])) !=
            FoldCase1251(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool HasHighByte(std::string_view s) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

// A name in the file matches the wanted Windows-1251 name directly or as its UTF-8 spelling.
bool NamesMatch(std::string_view inFile, std::string_view wanted) {
    if (FoldedEqual(inFile, wanted)) return true;
    if (inFile.size() <= wanted.size() || !HasHighByte(inFile)) return false;
    const auto converted = Utf8ToCp1251(inFile);
    return converted && FoldedEqual(*converted, wanted);
}

struct TLine {
    std::size_t Begin = 0;
    std::size_t End = 0;   // content end, before the line break
    std::size_t Next = 0;  // start of the following line
};

TLine LineAt(const std::string& text, std::size_t begin) {
    const void* found = std::memchr(text.data() + begin, '\n', text.size() - begin);
    TLine line{begin, text.size(), text.size()};
    if (found != nullptr) {
        line.End = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        line.Next = line.End + 1;
        if (line.End > begin && text[line.End - 1] == '\r') --line.End;
    }
    return line;
}

std::string_view Content(const std::string& text, const TLine& line) {
    return std::string_view(text).substr(line.Begin, line.End - line.Begin);
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view content) {
    const auto trimmed = Trim(content);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

std::string_view FirstLine(std::string_view value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : FileName(std::move(fileName)) {
    TFileContent content = ReadFileContent(FileName, kMaxFileSize, TFileKinds::Regular);
    // A missing file is an empty one that Commit creates.
    if (content.Errno != ENOENT && content.Errno != ENOTDIR) LoadErrno = content.Errno;
    Contents = std::move(content.Text);
    if (Contents.starts_with(kByteOrderMark)) ContentsStart = kByteOrderMark.size();
}

TIniFile TIniFile::FromText(std::string text) {
    TIniFile file;
    file.Contents = std::move(text);
    if (file.Contents.starts_with(kByteOrderMark)) file.ContentsStart = kByteOrderMark.size();
    return file;
}

std::optional<TIniFile::TSection> TIniFile::FindSection(std::string_view name) const {
    std::size_t pos = ContentsStart;
    while (pos < Contents.size()) {
        const TLine header = LineAt(Contents, pos);
        pos = header.Next;
        const auto found = SectionName(Content(Contents, header));
        if (!found || !NamesMatch(*found, name)) continue;
        TSection section{header.Next, Contents.size(), header.Next};
        while (pos < Contents.size()) {
            const TLine line = LineAt(Contents, pos);
            const auto content = Content(Contents, line);
            if (SectionName(content)) {
                section.BodyEnd = line.Begin;
                break;
            }
            if (!Trim(content).empty()) section.InsertAt = line.Next;
            pos = line.Next;
        }
        return section;
    }
    return std::nullopt;
}

std::optional<TIniFile::TKey> TIniFile::FindKey(const TSection& section,
                                                std::string_view name) const {
    std::size_t pos = section.BodyBegin;
    while (pos < section.BodyEnd) {
        const TLine line = LineAt(Contents, pos);
        pos = line.Next;
        const auto content = Content(Contents, line);
        const auto trimmed = Trim(content);
        if (trimmed.empty() || trimmed.front() == ';') continue;
        const auto equals = trimmed.find('=');
        if (equals == std::string_view::npos) continue;
        const auto key = Trim(trimmed.substr(0, equals));
        if (!NamesMatch(key, name)) continue;
        return TKey{line.Begin, line.End, key, Trim(trimmed.substr(equals + 1))};
    }
    return std::nullopt;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key) const {
    const auto foundSection = FindSection(section);
    if (!foundSection) return {};
    const auto foundKey = FindKey(*foundSection, key);
    if (!foundKey) return {};
    return std::string(foundKey->Value.substr(0, kMaxValueLength));
}

bool TIniFile::HasSection(std::string_view section) const {
    return FindSection(section).has_value();
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Dirty = true;
    value = FirstLine(value);
    const auto foundSection = FindSection(section);
    if (!foundSection) {
        if (!Contents.empty() && Contents.back() != '\n')
            Contents += Contents.back() == '\r' ? "\n" : kLineEnd;
        ((((Contents += '[') += section) += ']') += kLineEnd);
        ((((Contents += key) += '=') += value) += kLineEnd);
        return;
    }
    if (const auto foundKey = FindKey(*foundSection, key)) {
        std::string line(foundKey->Name);
        (line += '=') += value;
        Contents.replace(foundKey->LineBegin, foundKey->ContentEnd - foundKey->LineBegin, line);
        return;
    }
    std::string line;
    const std::size_t at = foundSection->InsertAt;
    if (at == Contents.size() && !Contents.empty() && Contents.back() != '\n') {
        line += Contents.back() == '\r' ? "\n" : kLineEnd;
    }
    (((line += key) += '=') += value) += kLineEnd;
    Contents.insert(at, line);
}

TFileWriteResult TIniFile::Commit(const TWriteFn& write) {
    if (!Dirty) return {};
    if (LoadErrno != 0) return TFileWriteResult{TFileWriteResult::TStage::Create, LoadErrno};
    if (FileName.empty()) return TFileWriteResult{TFileWriteResult::TStage::Create, ENOENT};
    const auto result = ReplaceFileContents(FileName, Contents, write);
    if (result.Ok()) Dirty = false;
    return result;
}
