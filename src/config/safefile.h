#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <span>
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

// Whether the file could be replaced now: the checks and the temporary file of a replacement,
// with nothing written and the temporary file removed. A call that writes several files probes
// each first, so that a bad destination leaves no new file.
TFileWriteResult ProbeFileReplacement(const std::string& path);

// The system's description of an error number, without trailing blanks, line breaks and
// full stops.
std::string SystemErrorText(int errnum);
// The absolute form of a path, as a file dialog would report it.
std::string FullPath(const std::string& path);
