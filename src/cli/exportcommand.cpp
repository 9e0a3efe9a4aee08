#include "cli/exportcommand.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "cli/exportmodule.h"
#include "config/errors.h"
#include "config/numtext.h"
#include "config/safefile.h"

namespace {

std::string ExecutableFolder() {
    std::array<char, PATH_MAX> path{};
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return ".";
    std::string folder(path.data(), static_cast<std::size_t>(n));
    return folder.substr(0, folder.find_last_of('/'));
}

// Beside the program in the build tree; in the library folder once installed.
void* LoadExportModule() {
    const std::string folder = ExecutableFolder();
    const std::vector<std::string> candidates = {
        folder + "/" + kExportModuleFile,
        folder + "/" + ARRAYPATTERN_CLI_MODULE_RELDIR + "/" + kExportModuleFile,
    };
    std::string failure;
    for (const auto& candidate : candidates) {
        if (::access(candidate.c_str(), F_OK) != 0) continue;
        if (void* module = ::dlopen(candidate.c_str(), RTLD_LAZY | RTLD_LOCAL)) return module;
        failure = ::dlerror();
    }
    if (failure.empty()) failure = std::string(kExportModuleFile) + " not found";
    throw EHandlerError("Cannot load the picture export: " + failure);
}

}  // namespace

void ExportPicture(TArrayModel& model, long double elevationDegrees, const std::string& fileName) {
    void* module = LoadExportModule();
    const auto entry = reinterpret_cast<TExportEntry>(::dlsym(module, kExportEntryName));
    if (entry == nullptr)
        throw EHandlerError("Cannot load the picture export: " + std::string(kExportEntryName) +
                            " missing");
    const std::string fullPath = FullPath(fileName);
    TExportRequest request;
    request.Model = &model;
    request.ElevationDegrees = elevationDegrees;
    request.FileName = fullPath.c_str();
    request.DecimalMark = DecimalMark();
    std::array<char, 4096> error{};
    if (!entry(&request, error.data(), error.size())) throw EHandlerError(error.data());
}
