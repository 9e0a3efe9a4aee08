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

// Runs the attempt and returns its result (0..254). Root may write anything, so under root the
// attempt runs in a child process as the user "nobody".
inline int RunAsUnprivileged(const std::function<int()>& attempt) {
    if (::geteuid() != 0) return attempt();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(255);
        ::_exit(attempt());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
