#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

// Which files a reader takes in.
enum class TFileKinds {
    // Regular files, read as far as their size says; anything else reads as empty, so that a
    // device or a pipe can never stall the reader.
    Regular,
    // Also pipes, fifos, devices and files that report no size (/proc), read to their end. A
    // fifo is waited on until a writer has come and gone, as any reader of a fifo waits.
    Any,
};

struct TFileContent {
    std::string Text;
    int Errno = 0;  // why the file could not be read; EFBIG beyond the limit, EISDIR a folder
};

// The whole content of the file, at most limit bytes; nothing when it cannot be read. With a
// wait, a fifo, pipe or device that has not come to its end within it fails with ETIMEDOUT
// (a reader that must answer cannot wait for a writer that may never come); without one it is
// waited on as long as it takes.
TFileContent ReadFileContent(const std::string& path, std::size_t limit, TFileKinds kinds,
                             std::optional<std::chrono::milliseconds> wait = std::nullopt);
