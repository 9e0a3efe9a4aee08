#pragma once

#include <optional>

#include "config/messages.h"

// Chooses the language asked for, or the locale's, and opens its catalogue from the folder
// installed beside the program (share/locale next to it in the build folder, ../share/locale
// when installed). The command line and the studio read the same catalogue.
void ChooseLanguage(std::optional<TLanguage> asked);
