#pragma once

#include <string>

#include "config/safefile.h"
#include "model/emitters.h"
#include "plot/cairoptr.h"
#include "plot/diagram.h"

// The 880 x 880 off-screen picture the diagram is exported from, 32 bits a pixel; white at
// creation, kept for the program's life and redrawn completely for every export.
class TExportPicture {
  public:
    static constexpr int kSize = 880;  // pixels, both ways

    TExportPicture();

    // Clears the picture and draws the whole diagram on it, on a white background.
    TDiagramLabels Draw(const TArray& array, const TPattern& pattern, long double elevationDegrees,
                        std::optional<long double> fullScale = std::nullopt);
    // The picture as the bytes of a 32-bit BMP file.
    std::string BmpBytes() const;
    // Replaces the file's content with BmpBytes(); an existing file survives any failure.
    // Throws EHandlerError "Cannot create file "<full path>". <system text>" when the file
    // cannot be created, "Stream write error" when a write falls short.
    void Save(const std::string& fileName, const TWriteFn& write = {}) const;

    // The colour of pixel (x, y), y counted from the top.
    TColor Pixel(int x, int y) const;
    // kSize rows top-down, Stride() bytes apart, each pixel blue, green, red and a spare byte.
    const std::uint8_t* Pixels() const;
    std::size_t Stride() const;

  private:
    void ClearSpareBytes();

    TCairoSurface Surface;
};
