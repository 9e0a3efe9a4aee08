#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "config/safefile.h"
#include "config_tempdir.h"

namespace {

class SafeFileReplaceTest : public TTempDirTest {
  protected:
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_ino;
}

TEST_F(SafeFileReplaceTest, HardLinkedFileIsRewrittenForEveryName) {
    const std::string path = PathOf("design.txt");
    WriteBytes(path, "earlier content, longer than the new");
    ASSERT_EQ(::link(path.c_str(), PathOf("copy.txt").c_str()), 0);
    const ino_t inode = InodeOf(path);
    ASSERT_TRUE(ReplaceFileContents(path, "new").Ok());
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ReadBytes(PathOf("copy.txt")), "new");
    EXPECT_EQ(InodeOf(path), inode);
    EXPECT_EQ(Names(), (std::vector<std::string>{"copy.txt", "design.txt"}));
}

// A writer killed at any point of its write leaves the earlier file and nothing beside it.
TEST_F(SafeFileReplaceTest, KilledWriterLeavesNothingBehind) {
    const std::string path = PathOf("design.txt");
    for (const bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "replacing a file" : "making a new file");
        std::filesystem::remove(path);
        if (existing) WriteBytes(path, "earlier");
        const pid_t child = ::fork();
        if (child == 0) {
            ReplaceFileContents(path, std::string(100000, 'x'),
                                [](int fd, const void* data, std::size_t count) -> long {
                                    [[maybe_unused]] const auto n = ::write(fd, data, count / 2);
                                    ::raise(SIGKILL);
                                    return -1;
                                });
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(Names(),
                  existing ? std::vector<std::string>{"design.txt"} : std::vector<std::string>{});
        if (existing) {
            EXPECT_EQ(ReadBytes(path), "earlier");
        }
    }
}

// Where a leftover cannot be avoided (a file system without unnamed files, or a kill between
// naming the new file and renaming it), the next write removes it, and only it: not a live
// writer's file, not another program's.
TEST_F(SafeFileReplaceTest, NextWriteRemovesOnlyDeadLeftoversOfItsOwn) {
    const std::string path = PathOf("design.txt");
    const std::string dead = PathOf(".design.txt.Ab3dE9.arraypattern-new");
    const std::string live = PathOf(".design.txt.Zz0000.arraypattern-new");
    const std::string foreign = PathOf(".design.txt.Ab3dE9");
    for (const auto& name : {dead, live, foreign}) WriteBytes(name, "partial");
    const int holder = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    ASSERT_TRUE(ReplaceFileContents(path, "new").Ok());
    ::close(holder);
    EXPECT_EQ(Names(),
              (std::vector<std::string>{".design.txt.Ab3dE9", ".design.txt.Zz0000.arraypattern-new",
                                        "design.txt"}));
}

// Two processes replacing one file at once: every write succeeds and none leaves a file.
TEST_F(SafeFileReplaceTest, ConcurrentWritersNeverFailNorLeaveFiles) {
    const std::string path = PathOf("design.txt");
    pid_t children[2];
    for (int n = 0; n < 2; ++n) {
        children[n] = ::fork();
        if (children[n] == 0) {
            int failures = 0;
            for (int i = 0; i < 40; ++i) {
                failures += ReplaceFileContents(path, std::string(1000 + n, 'a')).Ok() ? 0 : 1;
            }
            ::_exit(failures);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"design.txt"});
}

}  // namespace
