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

void CheckPictureDestination(const std::string& fileName) {
    ThrowOnFailure(fileName, ProbeFileReplacement(fileName));
}
