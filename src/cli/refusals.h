#pragma once

#include <string>

#include "app/arraycase.h"

// Why the engine refused a case, in the command line's terms: the options that would mend it.
std::string CaseRefusalText(const TCaseFault& fault);

// The same for wires that cannot be.
std::string CouplingRefusalText(const TCouplingFault& fault);
