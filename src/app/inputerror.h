#pragma once

#include <stdexcept>

// A bad option, value or input file of a call; the message names it and fits on one line.
class EUsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A taper the layout does not fit; the message says why, and the face names its taper.
class ETaperError : public EUsageError {
  public:
    using EUsageError::EUsageError;
};
