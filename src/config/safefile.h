#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

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
// the content goes to a temporary file in the same folder, is flushed to disk and renamed
// over the target, which keeps its permission bits. A symbolic link is followed and the file
// it points to replaced; a target that is not a regular file (a device, a fifo) is written in
// place. On failure the temporary file is removed and the target is as it was.
TFileWriteResult ReplaceFileContents(const std::string& path, std::string_view content,
                                     const TWriteFn& write = {});

// The system's description of an error number, without trailing blanks, line breaks and
// full stops.
std::string SystemErrorText(int errnum);
// The absolute form of a path, as a file dialog would report it.
std::string FullPath(const std::string& path);
