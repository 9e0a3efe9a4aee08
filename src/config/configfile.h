#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "config/inifile.h"
#include "config/safefile.h"
#include "model/emitters.h"
#include "model/ground.h"

// Saves the table and the type index into the file (other sections, keys and comments of an
// existing file stay). An emitter switched off at 0, 0, 0 gets a section only where the file
// already has one, so the file always loads back as the table. The command line's save gives
// its ground, of any kind: then the ground's keys are written, or an earlier file's ground is
// set to none, and an earlier amplitude is overwritten even with 1. Throws EHandlerError "Unable to write to
// <fileName>" on failure, in which case the earlier file is unchanged.
void SaveConfiguration(const std::string& fileName, const TArray& array, int typeIndex,
                       const TWriteFn& write = {}, const TGround* ground = nullptr);

// The same in two steps: the file as it would be written, its text in memory, then written.
TIniFile ConfigurationUpdate(const std::string& fileName, const TArray& array, int typeIndex,
                             const TGround* ground);
void CommitConfiguration(TIniFile& file, const std::string& fileName, const TWriteFn& write = {});

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

// The ground the file describes; nullopt when it names none ("Земля" missing or 0). A kind
// other than 0, 1 or 2 reads as none; values that do not parse as 0.
std::optional<TGround> ReadGround(const TIniFile& file);

// The emitters' relative currents ("Амплитуда", 1 where missing) and a warning line for each
// value that is negative or no number, read as 0 as the file reads a bad number. name is the
// file's, for the warnings.
struct TAmplitudes {
    std::array<long double, kEmitterCount> Values{};
    std::vector<std::string> Warnings;
};
TAmplitudes ReadAmplitudes(const TIniFile& file, const std::string& name);
