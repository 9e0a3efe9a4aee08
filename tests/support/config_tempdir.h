#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

// A private folder for one test's files, removed with everything in it afterwards.
class TTempDirTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "cfgtest.XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        Dir = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(Dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(Dir, ec);
    }

    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Names in the folder; a leftover temporary file shows up here.
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(Dir),
                                                      std::filesystem::directory_iterator()));
    }

    std::filesystem::path Dir;
};

// Permission bits do not stop root: under root this process becomes the user "nobody", whom
// they stop; false if it could not. Elsewhere it does nothing.
inline bool BecomeUnprivileged() {
    if (::geteuid() != 0) return true;
    return ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

// Runs the attempt and returns its text; under root in a child process as "nobody", whose
// text comes back through a pipe. The files it touches must be open to that user.
inline std::string RunAsUnprivileged(const std::function<std::string()>& attempt) {
    if (::geteuid() != 0) return attempt();
    int fds[2];
    if (::pipe(fds) != 0) return "(no pipe to the unprivileged step)";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (!BecomeUnprivileged()) ::_exit(255);
        const std::string text = attempt();
        const bool written =
            ::write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(written ? 0 : 254);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "(the step as nobody failed)";
    return text;
}

// The same for an attempt that returns a number; -1 when the step could not run.
inline int RunAsUnprivileged(const std::function<int()>& attempt) {
    const std::string text = RunAsUnprivileged([&attempt] { return std::to_string(attempt()); });
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && *end == '\0' ? static_cast<int>(value) : -1;
}
