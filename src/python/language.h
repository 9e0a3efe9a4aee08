#pragma once

#include <string>

// Words the engine's and the module's messages from now on in the language named, "en" or
// "ru". Call with the interpreter's lock held. Throws EUsageError for any other name.
void UseLanguage(const std::string& name);
