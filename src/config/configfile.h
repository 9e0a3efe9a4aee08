#pragma once

#include <array>
#include <string>

#include "config/inifile.h"
#include "config/safefile.h"
#include "model/emitters.h"

// Saves the table and the type index into the file (other sections, keys and comments of an
// existing file stay). An emitter switched off at 0, 0, 0 gets a section only where the file
// already has one, so the file always loads back as the table. Throws EHandlerError "Unable to
// write to <fileName>" on failure, in which case the earlier file is unchanged.
void SaveConfiguration(const std::string& fileName, const TArrayModel& model, int typeIndex,
                       const TWriteFn& write = {});

// What a configuration file holds: the table and the type radio group's item index as
// written, not yet limited.
struct TConfiguration {
    std::array<TEmitter, kEmitterCount> Emitters{};
    int TypeIndex = 0;
};

// Reads and checks the whole file; a file that cannot be read reads as empty, a value that
// is no number as 0. Throws EHandlerError "Floating point overflow" for a value beyond the
// double range.
TConfiguration ReadConfiguration(const std::string& fileName);
// The same from a file's text read beforehand.
TConfiguration ReadConfiguration(const TIniFile& file);
