#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The command line's own entry, compiled into this target under another name.
int ArrayPatternCliMain(int argc, char** argv);

namespace {

// A private folder on a memory file system where there is one: the configuration the input
// carries is written there, and every file the command writes stays there.
const std::string& Scratch() {
    static const std::string path = [] {
        std::string dir =
            std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/clifuzz.XXXXXX";
        if (mkdtemp(dir.data()) == nullptr) __builtin_trap();
        return dir;
    }();
    return path;
}

// Names that could reach beyond the folder, or a terminal or pipe that would wait for input,
// are not passed on: the command reads and writes only inside the folder.
bool Confined(const std::string& arg) {
    return arg.find('/') == std::string::npos && arg != ".." && arg != ".";
}

// Standard output and error go nowhere while the command runs.
class TSilence {
  public:
    TSilence() : Out(dup(1)), Err(dup(2)) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        close(null);
    }
    ~TSilence() {
        fflush(stdout);
        fflush(stderr);
        dup2(Out, 1);
        dup2(Err, 2);
        close(Out);
        close(Err);
    }

  private:
    int Out;
    int Err;
};

}  // namespace

// The input: arguments separated by NUL bytes, then a 0xFF byte, then the bytes of the file
// "c.txt" that the arguments may name as --config. Every command, option and picture format is
// reached this way, the drawing of charts and reports included.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\xFF');
    const std::string arguments = input.substr(0, split);
    const std::string config = split == std::string::npos ? "" : input.substr(split + 1);

    std::vector<std::string> args = {"arraypattern-cli"};
    for (std::size_t start = 0; start <= arguments.size();) {
        const std::size_t end = std::min(arguments.find('\0', start), arguments.size());
        args.push_back(arguments.substr(start, end - start));
        if (!Confined(args.back()) || args.size() > 40) return 0;
        start = end + 1;
    }
    for (const auto& entry : std::filesystem::directory_iterator(Scratch())) {
        std::filesystem::remove_all(entry.path());
    }
    const int fd = open((Scratch() + "/c.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || write(fd, config.data(), config.size()) != static_cast<ssize_t>(config.size())) {
        __builtin_trap();
    }
    close(fd);

    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // The command runs in the folder, as its names are relative; the fuzzer's own paths (its
    // corpus, given relative to where it started) are read from where it started.
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(Scratch());
    {
        const TSilence silence;
        ArrayPatternCliMain(static_cast<int>(args.size()), argv.data());
    }
    std::filesystem::current_path(started);
    return 0;
}
