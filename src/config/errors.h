#pragma once

#include <string>

#include "model/errors.h"

inline constexpr const char* kStreamWriteErrorText = Msgid("Stream write error");

// A file that could not be written, where the window's text does not say why. The window
// shows the text alone; the command line adds the system's reason.
class EFileError : public EHandlerError {
  public:
    EFileError(const std::string& text, int errnum) : EHandlerError(text), Errno(errnum) {}
    int Errno;
};

// The text the standard error box shows: a full stop is appended when the message's last
// character sorts after "." (so a message that already ends in a full stop gets none).
std::string ErrorBoxText(const std::string& message);
