#include "python/language.h"

#include <dlfcn.h>
#include <libintl.h>

#include <filesystem>

#include "app/inputerror.h"
#include "config/messages.h"

// glibc's count of loaded catalogues: raising it makes gettext look its translations up anew.
extern "C" int _nl_msg_cat_cntr;  // NOLINT(readability-identifier-naming)

namespace {

bool Opened = false;

// The catalogues lie in share/locale beside the build's module folder, or under the prefix
// the module is installed in (lib/python3/dist-packages).
std::string CatalogueDirectory() {
    Dl_info info{};
    if (dladdr(&Opened, &info) == 0 || info.dli_fname == nullptr) return "/usr/share/locale";
    std::error_code error;
    const auto here = std::filesystem::canonical(info.dli_fname, error).parent_path();
    const std::filesystem::path built = here.parent_path() / "share/locale";
    if (std::filesystem::exists(built / "ru/LC_MESSAGES/arraypattern.mo", error))
        return built.string();
    return (here.parent_path().parent_path().parent_path() / "share/locale").string();
}

}  // namespace

void UseLanguage(const std::string& name) {
    const auto language = LanguageNamed(name);
    if (!language) {
        throw EUsageError(TrFormat("lang='%s': 'en' or 'ru'", {name}));
    }
    if (*language == MessageLanguage() && (Opened || *language == TLanguage::English)) return;
    ChooseMessageLanguage(language);
    OpenCatalogue(CatalogueDirectory());
    Opened = true;
    // gettext keeps the translations it found; a new language must not be answered from them.
    ++_nl_msg_cat_cntr;
}
