#pragma once

#include <stdexcept>

// An arithmetic fault that ends an event handler. Its text is one of the system's messages
// and is shown in the standard error box; the program then goes on with the next event.
class EHandlerError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kInvalidOpText = "Invalid floating point operation";
inline constexpr const char* kZeroDivideText = "Floating point division by zero";
inline constexpr const char* kOverflowText = "Floating point overflow";
