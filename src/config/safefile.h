#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/tempfile.h"

// Where replacing a file failed, with the system's error number.
struct TFileWriteResult {
    enum class TStage { Ok, Create, Write };
    TStage Stage = TStage::Ok;
    int Errno = 0;
    bool Ok() const { return Stage == TStage::Ok; }
};

// Writes count bytes to an open descriptor; returns the number written or -1 with errno set.
// Tests inject a short writer to play a full disk.
using TWriteFn = std::function<long(int fd, const void* data, std::size_t count)>;

// Replaces the file's whole content so that no failure leaves a truncated or partial file:
// the content goes to a temporary file in the same folder (unnamed where the file system
// allows, so that a killed process leaves nothing), is flushed to disk and put in place of the
// target, which keeps its owner and permission bits. A symbolic link is followed and the file
// it points to replaced. On failure the temporary file is removed and the target is as it was.
// Written in place instead, as the file itself: a device or a fifo; a file with other hard
// links, which keep sharing it; and a writable file whose folder takes no new files. There a
// full disk is still found before anything changes, but another failure can leave the file
// cut short.
TFileWriteResult ReplaceFileContents(const std::string& path, std::string_view content,
                                     const TWriteFn& write = {});

// Content given in pieces, written one after another: a picture's rows straight from its
// pixels, without a copy of the whole file.
using TContentPieces = std::span<const std::string_view>;
TFileWriteResult ReplaceFileContents(const std::string& path, TContentPieces content,
                                     const TWriteFn& write = {});

// Files replaced together, all or none: Prepare writes each new content beside its file and
// flushes it, and Commit, once every one is ready, puts them in place by renaming. A file with
// other hard links is replaced as well, its other names keeping the earlier content, so that no
// regular file is written over in place but one whose folder takes no new file; such a file,
// and a device or fifo, is written at Commit before anything is renamed. What a set has not put
// in place is removed with it. The content must live until Commit.
class TFileSet {
  public:
    struct TFailure {
        std::string Path;  // as given to Prepare
        TFileWriteResult Result;
    };

    TFileWriteResult Prepare(const std::string& path, TContentPieces content,
                             const TWriteFn& write = {});
    // Nothing when every file is in place. After a failure no file has changed, except where a
    // rename itself fails: the files renamed before it stand.
    std::optional<TFailure> Commit();

  private:
    enum class THow { Replace, Device, InPlace };
    struct TEntry {
        std::string Path;
        std::string Target;  // behind the path's links
        THow How;
        std::vector<std::string_view> Content;
        TWriteFn Write;
        TTempFile Temp;
    };
    std::vector<TEntry> Entries;
};

// The system's description of an error number, without trailing blanks, line breaks and
// full stops.
std::string SystemErrorText(int errnum);
// The absolute form of a path, as a file dialog would report it.
std::string FullPath(const std::string& path);
