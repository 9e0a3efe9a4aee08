#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/safefile.h"

// The file formats a picture can be written in, named by the file's extension.
enum class TPictureFormat { Bmp, Png, Svg, Pdf };

// The format of ".bmp", ".png", ".svg" or ".pdf" in any letter case; nullopt for any other
// extension or none.
std::optional<TPictureFormat> PictureFormatOf(const std::string& fileName);

// Replaces the file's content as every picture is written: an existing file survives any
// failure. Throws EHandlerError "Cannot create file "<full path>". <system text>" when the
// file cannot be created, EFileError "Stream write error" when a write falls short.
void WritePictureFile(const std::string& fileName, std::string_view bytes,
                      const TWriteFn& write = {});
// The same for a picture in pieces.
void WritePictureFile(const std::string& fileName, TContentPieces bytes,
                      const TWriteFn& write = {});

// Pictures that replace their files together, all or none (a TFileSet). Prepare throws as
// WritePictureFile where a file cannot be created; a write that falls short, at Prepare or at
// Commit, throws EFileError "Unable to write to <name>" with the system's reason. The bytes
// must live until Commit.
class TPictureFiles {
  public:
    void Prepare(const std::string& fileName, std::string_view bytes);
    void Commit();

  private:
    TFileSet Files;
};
