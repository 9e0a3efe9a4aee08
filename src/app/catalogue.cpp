#include "app/catalogue.h"

#include <filesystem>
#include <string>

namespace {

std::string CatalogueDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "/usr/share/locale";
    const std::filesystem::path installed = self.parent_path().parent_path() / "share/locale";
    const std::filesystem::path built = self.parent_path() / "share/locale";
    return std::filesystem::exists(built / "ru/LC_MESSAGES/arraypattern.mo", error)
               ? built.string()
               : installed.string();
}

}  // namespace

void ChooseLanguage(std::optional<TLanguage> asked) {
    if (ChooseMessageLanguage(asked) != TLanguage::English) OpenCatalogue(CatalogueDirectory());
}
