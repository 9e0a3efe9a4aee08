#pragma once

#include <string>

#include "model/errors.h"

inline constexpr const char* kStreamWriteErrorText = "Stream write error";

// The text the standard error box shows: a full stop is appended when the message's last
// character sorts after "." (so a message that already ends in a full stop gets none).
std::string ErrorBoxText(const std::string& message);
