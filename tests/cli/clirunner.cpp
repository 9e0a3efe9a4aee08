#include "clirunner.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "config/cp1251.h"
#include "config/numtext.h"
#include "config_tempdir.h"

extern char** environ;

namespace {

std::vector<std::string> ChildEnvironment(const std::map<std::string, std::string>& env) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        const auto eq = entry.find('=');
        if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG", "LANGUAGE"}) vars.erase(name);
    vars["LC_ALL"] = "C";
    for (const auto& [name, value] : env) vars[name] = value;
    std::vector<std::string> out;
    for (const auto& [name, value] : vars) out.push_back(name + "=" + value);
    return out;
}

std::string Slurp(int fd) {
    std::string text;
    ::lseek(fd, 0, SEEK_SET);
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

int TempFileDescriptor() {
    char name[] = "/tmp/arraypattern-cli-run-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    ::unlink(name);
    return fd;
}

}  // namespace

TCliRun RunCli(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
               const std::string& stdoutPath, TCliUser user, std::size_t fileSizeLimit) {
    const int outFd = stdoutPath.empty() ? TempFileDescriptor()
                                         : ::open(stdoutPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (outFd < 0) throw std::runtime_error("cannot open " + stdoutPath);
    const int errFd = TempFileDescriptor();
    std::vector<std::string> argStrings = {ARRAYPATTERN_CLI};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = ChildEnvironment(env);
    std::vector<char*> envp;
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (user == TCliUser::Unprivileged && !BecomeUnprivileged()) ::_exit(126);
        if (fileSizeLimit != 0) {
            // Ignored, the signal leaves the write to fail with EFBIG, as a full disk's does.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(125);
        }
        const int nullFd = ::open("/dev/null", O_RDONLY);
        ::dup2(nullFd, 0);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    TCliRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (stdoutPath.empty()) run.Out = Slurp(outFd);
    run.Err = Slurp(errFd);
    ::close(outFd);
    ::close(errFd);
    return run;
}

TTempDir::TTempDir() {
    char name[] = "/tmp/arraypattern-cli-test-XXXXXX";
    if (::mkdtemp(name) == nullptr) throw std::runtime_error("mkdtemp failed");
    Folder = name;
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::permissions(Folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(Folder, ignored);
}

std::vector<std::string> TTempDir::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

std::string ConfigText(const TArray& model, int typeIndex) {
    const char mark = DecimalMark();
    SetDecimalMark(',');
    std::string text = "[" + std::string(kAllEmittersSection) + "]\r\n" + std::string(kTypeKey) +
                       "=" + FormatInteger(typeIndex) + "\r\n";
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = model.Emitter(k);
        text += "[" + std::string(kEmitterSectionPrefix) + FormatInteger(k) + "]\r\n";
        text += std::string(kEnabledKey) + "=" + (e.Enabled ? "1" : "0") + "\r\n";
        text += std::string(kXKey) + "=" + FormatGeneral(e.X) + "\r\n";
        text += std::string(kYKey) + "=" + FormatGeneral(e.Y) + "\r\n";
        text += std::string(kPhaseKey) + "=" + FormatGeneral(e.Phase) + "\r\n";
    }
    SetDecimalMark(mark);
    return text;
}

TArray ModelOf(const std::vector<TEmitter>& emitters) {
    TArray model;
    for (std::size_t i = 0; i < emitters.size(); ++i) {
        model.Emitters[i] = emitters[i];
        model.Emitters[i].Enabled = true;
    }
    return model;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
