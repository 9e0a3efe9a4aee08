#pragma once

#include <cstddef>

#include "model/emitters.h"

// The picture export lives in a module of its own, loaded only by `export`, so that the other
// commands start without loading the Qt libraries.
inline constexpr const char* kExportModuleFile = "arraypattern-cli-export.so";
inline constexpr const char* kExportEntryName = "ArrayPatternExportPicture";

struct TExportRequest {
    std::size_t Size = sizeof(TExportRequest);  // guards against a module of another build
    TArrayModel* Model = nullptr;
    long double ElevationDegrees = 0;
    const char* FileName = nullptr;  // full path
    char DecimalMark = '.';
};

// Draws and writes the picture. Returns true, or false with the window's error message in
// error, cut to errorSize bytes with a terminating zero.
extern "C" __attribute__((visibility("default"))) bool ArrayPatternExportPicture(
    const TExportRequest* request, char* error, std::size_t errorSize);
using TExportEntry = decltype(&ArrayPatternExportPicture);
