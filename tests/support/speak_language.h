#pragma once

#include <clocale>
#include <filesystem>

#include "config/messages.h"

// Switches the texts of the faces to a language through the built catalogue, as a face's own
// start-up does. gettext keeps what it has looked up until the messages' locale changes, so
// the locale moves first.
inline void SpeakLanguage(TLanguage language) {
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    std::setlocale(LC_MESSAGES, "C");
    ChooseMessageLanguage(language);
    OpenCatalogue((self.parent_path().parent_path() / "share/locale").string());
}
