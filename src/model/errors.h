#pragma once

#include <stdexcept>

#include "model/msgid.h"

// An arithmetic fault that ends an event handler. Its text is one of the system's messages
// and is shown in the standard error box; the program then goes on with the next event.
class EHandlerError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kInvalidOpText = Msgid("Invalid floating point operation");
inline constexpr const char* kZeroDivideText = Msgid("Floating point division by zero");
inline constexpr const char* kOverflowText = Msgid("Floating point overflow");
