#pragma once

#include <string>

#include "app/arraycase.h"

// Why the engine refused an array, in the module's terms: the keyword that mends it.
std::string ModuleReasonText(const TCaseFault& fault);

// The same for wires that cannot be.
std::string ModuleCouplingText(const TCouplingFault& fault);

// Why a real ground cannot be without its soil.
std::string SoilNeededText();
