#pragma once

#include <string>

#include "app/arraycase.h"

// Why the engine refused the document, in the studio's terms: the control that mends it.
std::string StudioReasonText(const TCaseFault& fault);
