#pragma once

#include "config/numtext.h"

// Sets the decimal mark for the life of a test and restores the previous one after it. The
// grid, the labels and the files are written for a Russian user, so most tests use a comma.
class TDecimalMarkScope {
  public:
    explicit TDecimalMarkScope(char mark = ',') : Saved(DecimalMark()) { SetDecimalMark(mark); }
    ~TDecimalMarkScope() { SetDecimalMark(Saved); }
    TDecimalMarkScope(const TDecimalMarkScope&) = delete;
    TDecimalMarkScope& operator=(const TDecimalMarkScope&) = delete;

  private:
    char Saved;
};
