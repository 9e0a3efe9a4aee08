#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/emitters.h"

// One finished run of the command-line program.
struct TCliRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// Who runs the program. Root may write anything, so a read-only file is tried as "nobody".
enum class TCliUser { Same, Unprivileged };

// Runs the built program with the arguments, under the C locale unless env overrides it
// (LC_ALL, LANG...). Standard input is empty; stdoutPath, when given, receives standard output.
// With fileSizeLimit (bytes) no file grows beyond it, as on a full disk, root or not.
TCliRun RunCli(const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env = {},
               const std::string& stdoutPath = "", TCliUser user = TCliUser::Same,
               std::size_t fileSizeLimit = 0);

// A private folder removed with its contents at the end of the test.
class TTempDir {
  public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    std::string Path(const std::string& name) const { return Folder + "/" + name; }
    // Names of the folder's entries, sorted.
    std::vector<std::string> Entries() const;

  private:
    std::string Folder;
};

std::string ReadBytes(const std::string& path);
// The text's lines without their line breaks.
std::vector<std::string> Lines(const std::string& text);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// A configuration file as the window writes it (Windows-1251 names, CR LF, comma as the
// decimal separator) holding every emitter's section and the type.
std::string ConfigText(const TArray& model, int typeIndex);
// A model with only the given emitters: (X, Y, Phase), all enabled, the rest off and zero.
TArray ModelOf(const std::vector<TEmitter>& emitters);
