#include "config/inifile.h"

#include <algorithm>
#include <cerrno>

#include "config/cp1251.h"
#include "config/filecontent.h"
#include "config/iniscan.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view FirstLine(std::string_view value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

// Two names the caller gives that stand for the same name in the file.
bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldCase1251(static_cast<unsigned char>(x)) ==
                      FoldCase1251(static_cast<unsigned char>(y));
           });
}

// The wanted sections with their keys, each name once, in the order first asked for.
template <typename TItem>
std::vector<TIniWanted> Group(std::span<const TItem> items, std::vector<std::size_t>& sectionOf,
                              std::vector<std::size_t>& keyOf) {
    std::vector<TIniWanted> wanted;
    for (const TItem& item : items) {
        auto section = std::find_if(wanted.begin(), wanted.end(), [&](const TIniWanted& w) {
            return SameName(w.Section, item.Section);
        });
        if (section == wanted.end())
            section = wanted.insert(wanted.end(), TIniWanted{item.Section, {}});
        auto key = std::find_if(section->Keys.begin(), section->Keys.end(),
                                [&](std::string_view k) { return SameName(k, item.Key); });
        if (key == section->Keys.end()) key = section->Keys.insert(section->Keys.end(), item.Key);
        sectionOf.push_back(static_cast<std::size_t>(section - wanted.begin()));
        keyOf.push_back(static_cast<std::size_t>(key - section->Keys.begin()));
    }
    return wanted;
}

// A piece of the text replaced by another.
struct TEdit {
    std::size_t At = 0;
    std::size_t Length = 0;
    std::string Text;
};

std::string Applied(const std::string& text, std::vector<TEdit>& edits) {
    std::stable_sort(edits.begin(), edits.end(),
                     [](const TEdit& a, const TEdit& b) { return a.At < b.At; });
    std::string out;
    std::size_t copied = 0;
    for (const TEdit& edit : edits) {
        if (edit.At < copied) continue;  // two names the file spells alike: the first stands
        out.append(text, copied, edit.At - copied);
        out += edit.Text;
        copied = edit.At + edit.Length;
    }
    out.append(text, copied);
    return out;
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

std::string TIniFile::ReadString(std::string_view section, std::string_view key) const {
    const TIniKey keys[] = {{section, key}};
    return ReadStrings(keys).front();
}

std::vector<std::string> TIniFile::ReadStrings(std::span<const TIniKey> keys) const {
    std::vector<std::size_t> sectionOf;
    std::vector<std::size_t> keyOf;
    const auto wanted = Group(keys, sectionOf, keyOf);
    const auto found = ScanIniText(Contents, ContentsStart, wanted, false);
    std::vector<std::string> values;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto& section = found[sectionOf[i]];
        const auto& line = section ? section->Keys[keyOf[i]] : std::nullopt;
        values.emplace_back(line ? line->Value.substr(0, kMaxValueLength) : std::string_view());
    }
    return values;
}

void TIniFile::VisitLines(std::span<const TIniWanted> wanted, const TIniVisitor& visit) const {
    WalkIniText(Contents, ContentsStart, wanted, [&](TIniLine line, const TIniStep& step) {
        line.Value = line.Value.substr(0, kMaxValueLength);
        return visit(line, step);
    });
}

void TIniFile::RemoveKeys(std::span<const TIniWanted> wanted) {
    std::string kept;
    std::size_t from = 0;
    WalkIniText(Contents, ContentsStart, wanted, [&](const TIniLine& line, const TIniStep& step) {
        if (step.Role == TIniStep::TRole::Gives || step.Role == TIniStep::TRole::RepeatsKey) {
            kept.append(Contents, from, line.Begin - from);
            from = line.Next;
        }
        return true;
    });
    if (from == 0) return;
    kept.append(Contents, from);
    Contents = std::move(kept);
    Dirty = true;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const TIniValue values[] = {{section, key, std::string(value)}};
    WriteStrings(values);
}

// Every edit is found on the text as read, then made in one copy. A later value for the same
// key wins, as it would replace the earlier one.
void TIniFile::WriteStrings(std::span<const TIniValue> values) {
    if (values.empty()) return;
    Dirty = true;
    std::vector<std::size_t> sectionOf;
    std::vector<std::size_t> keyOf;
    const auto wanted = Group(values, sectionOf, keyOf);
    const auto found = ScanIniText(Contents, ContentsStart, wanted, true);

    // The value and whether it must be written, per wanted section and key.
    std::vector<std::vector<std::optional<std::string_view>>> chosen(wanted.size());
    for (std::size_t s = 0; s < wanted.size(); ++s) chosen[s].resize(wanted[s].Keys.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].IfSectionExists && !found[sectionOf[i]]) continue;
        chosen[sectionOf[i]][keyOf[i]] = FirstLine(values[i].Value);
    }

    std::vector<TEdit> edits;
    std::string atEnd;  // keys for the text's last section, then the new sections
    std::string newSections;
    for (std::size_t s = 0; s < wanted.size(); ++s) {
        std::string added;
        for (std::size_t k = 0; k < wanted[s].Keys.size(); ++k) {
            if (!chosen[s][k]) continue;
            const auto& line = found[s] ? found[s]->Keys[k] : std::nullopt;
            if (line) {
                std::string text(line->Name);
                (text += '=') += *chosen[s][k];
                edits.push_back({line->LineBegin, line->ContentEnd - line->LineBegin, text});
            } else {
                (((added += wanted[s].Keys[k]) += '=') += *chosen[s][k]) += kLineEnd;
            }
        }
        if (added.empty()) continue;
        if (!found[s]) {
            (((newSections += '[') += wanted[s].Section) += ']') += kLineEnd;
            newSections += added;
        } else if (found[s]->InsertAt == Contents.size()) {
            atEnd += added;
        } else {
            edits.push_back({found[s]->InsertAt, 0, added});
        }
    }
    atEnd += newSections;
    if (!atEnd.empty() && !Contents.empty() && Contents.back() != '\n') {
        atEnd.insert(0, Contents.back() == '\r' ? "\n" : kLineEnd);
    }
    if (!atEnd.empty()) edits.push_back({Contents.size(), 0, atEnd});
    Contents = Applied(Contents, edits);
}

TFileWriteResult TIniFile::Commit(const TWriteFn& write) {
    if (!Dirty) return {};
    if (LoadErrno != 0) return TFileWriteResult{TFileWriteResult::TStage::Create, LoadErrno};
    if (FileName.empty()) return TFileWriteResult{TFileWriteResult::TStage::Create, ENOENT};
    const auto result = ReplaceFileContents(FileName, Contents, write);
    if (result.Ok()) Dirty = false;
    return result;
}
