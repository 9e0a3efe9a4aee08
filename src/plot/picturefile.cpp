#include "plot/picturefile.h"

#include <filesystem>

#include "config/errors.h"
#include "config/messages.h"

namespace {

void ThrowOnFailure(const std::string& fileName, const TFileWriteResult& result) {
    switch (result.Stage) {
        case TFileWriteResult::TStage::Ok:
            return;
        case TFileWriteResult::TStage::Create:
            throw EHandlerError(TrFormat("Cannot create file \"%s\". %s",
                                         {FullPath(fileName), SystemErrorText(result.Errno)}));
        case TFileWriteResult::TStage::Write:
            throw EFileError(kStreamWriteErrorText, result.Errno);
    }
}

// Of several files, the one that failed is named.
void ThrowNamingFile(const std::string& fileName, const TFileWriteResult& result) {
    if (result.Stage == TFileWriteResult::TStage::Write) {
        throw EFileError(TrFormat("Unable to write to %s", {fileName}), result.Errno);
    }
    ThrowOnFailure(fileName, result);
}

}  // namespace

std::optional<TPictureFormat> PictureFormatOf(const std::string& fileName) {
    std::string extension = std::filesystem::path(fileName).extension().string();
    // ASCII letters only: the process locale must not change what a name means.
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (extension == ".bmp") return TPictureFormat::Bmp;
    if (extension == ".png") return TPictureFormat::Png;
    if (extension == ".svg") return TPictureFormat::Svg;
    if (extension == ".pdf") return TPictureFormat::Pdf;
    return std::nullopt;
}

void WritePictureFile(const std::string& fileName, std::string_view bytes, const TWriteFn& write) {
    WritePictureFile(fileName, TContentPieces(&bytes, 1), write);
}

void WritePictureFile(const std::string& fileName, TContentPieces bytes, const TWriteFn& write) {
    ThrowOnFailure(fileName, ReplaceFileContents(fileName, bytes, write));
}

void TPictureFiles::Prepare(const std::string& fileName, std::string_view bytes) {
    ThrowNamingFile(fileName, Files.Prepare(fileName, TContentPieces(&bytes, 1)));
}

void TPictureFiles::Commit() {
    if (const auto failure = Files.Commit()) ThrowNamingFile(failure->Path, failure->Result);
}
