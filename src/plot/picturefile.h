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

// Throws as WritePictureFile would where the file cannot be replaced now, writing nothing.
void CheckPictureDestination(const std::string& fileName);
