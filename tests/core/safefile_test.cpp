#include "config/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "config_tempdir.h"

namespace {

class SafeFileTest : public TTempDirTest {};

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST_F(SafeFileTest, CreatesMissingFileWithUmaskPermissions) {
    const std::string path = PathOf("new.txt");
    const mode_t mask = ::umask(022);
    const auto result = ReplaceFileContents(path, "abc\r\n");
    ::umask(mask);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(ReadBytes(path), "abc\r\n");
    EXPECT_EQ(ModeOf(path), 0644u);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(SafeFileTest, ReplacingKeepsPermissionBits) {
    const std::string path = PathOf("kept.txt");
    WriteBytes(path, "old content that is longer");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileContents(path, "new").Ok());
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ModeOf(path), 0640u);
}

TEST_F(SafeFileTest, SymbolicLinksStayLinksAndTheirTargetIsReplaced) {
    const std::string target = PathOf("real.txt");
    WriteBytes(target, "old");
    std::filesystem::create_symlink("real.txt", Dir / "link.txt");
    std::filesystem::create_symlink("link.txt", Dir / "link2.txt");
    ASSERT_TRUE(ReplaceFileContents(PathOf("link2.txt"), "new").Ok());
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "link.txt"));
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "link2.txt"));
    EXPECT_EQ(ReadBytes(target), "new");

    std::filesystem::create_symlink("missing.txt", Dir / "dangling.txt");
    ASSERT_TRUE(ReplaceFileContents(PathOf("dangling.txt"), "made").Ok());
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "dangling.txt"));
    EXPECT_EQ(ReadBytes(PathOf("missing.txt")), "made");
}

// The temporary name beside the file must itself be a legal name, however long the file's.
TEST_F(SafeFileTest, NamesOfTheLongestLengthAreWritten) {
    for (const std::size_t length : {std::size_t{240}, std::size_t{248}, std::size_t{255}}) {
        SCOPED_TRACE(length);
        const std::string path = PathOf(std::string(length, 'n'));
        ASSERT_TRUE(ReplaceFileContents(path, "first").Ok());
        ASSERT_TRUE(ReplaceFileContents(path, "second").Ok());
        EXPECT_EQ(ReadBytes(path), "second");
        std::filesystem::remove(path);
        EXPECT_EQ(EntryCount(), 0u);
    }
}

TEST_F(SafeFileTest, LinkLoopIsRefused) {
    std::filesystem::create_symlink("b", Dir / "a");
    std::filesystem::create_symlink("a", Dir / "b");
    const auto result = ReplaceFileContents(PathOf("a"), "x");
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Errno, ELOOP);
}

TEST_F(SafeFileTest, DeviceIsWrittenInPlace) {
    ASSERT_TRUE(ReplaceFileContents("/dev/null", "discarded").Ok());
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(SafeFileTest, FifoWithoutReaderFailsAtOnce) {
    const std::string path = PathOf("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const auto result = ReplaceFileContents(path, "x");
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Errno, ENXIO);
}

// Each failure leaves the earlier file as it was and no temporary file beside it.
TEST_F(SafeFileTest, FailuresLeaveEarlierFileIntact) {
    const std::string path = PathOf("config.txt");
    const std::string earlier = "[kept]\r\nkey=1\r\n";
    const std::string content(100000, 'x');

    struct TCase {
        const char* Name;
        TWriteFn Write;
        TFileWriteResult::TStage Stage;
        int Errno;
    };
    long calls = 0;
    const TCase cases[] = {
        {"full disk after a few bytes",
         [&calls](int fd, const void* data, std::size_t count) -> long {
             if (calls++ == 0) return ::write(fd, data, count < 10 ? count : 10);
             errno = ENOSPC;
             return -1;
         },
         TFileWriteResult::TStage::Write, ENOSPC},
        {"writer reports nothing written", [](int, const void*, std::size_t) { return 0L; },
         TFileWriteResult::TStage::Write, ENOSPC},
        {"input-output error",
         [](int, const void*, std::size_t) -> long {
             errno = EIO;
             return -1;
         },
         TFileWriteResult::TStage::Write, EIO},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        calls = 0;
        WriteBytes(path, earlier);
        const auto result = ReplaceFileContents(path, content, c.Write);
        EXPECT_EQ(result.Stage, c.Stage);
        EXPECT_EQ(result.Errno, c.Errno);
        EXPECT_EQ(ReadBytes(path), earlier);
        EXPECT_EQ(EntryCount(), 1u);
    }
}

TEST_F(SafeFileTest, InterruptedWritesAreResumed) {
    const std::string path = PathOf("slow.txt");
    bool interrupted = false;
    const auto result =
        ReplaceFileContents(path, "abcdef", [&](int fd, const void* data, std::size_t count) {
            if (!interrupted) {
                interrupted = true;
                errno = EINTR;
                return -1L;
            }
            return static_cast<long>(::write(fd, data, count > 2 ? 2 : count));
        });
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(ReadBytes(path), "abcdef");
}

TEST_F(SafeFileTest, UnwritableTargetsAreRefused) {
    const auto missingFolder = ReplaceFileContents(PathOf("no/such/file.txt"), "x");
    EXPECT_EQ(missingFolder.Stage, TFileWriteResult::TStage::Create);
    EXPECT_EQ(missingFolder.Errno, ENOENT);

    std::filesystem::create_directory(Dir / "folder");
    const auto folder = ReplaceFileContents(PathOf("folder"), "x");
    EXPECT_EQ(folder.Errno, EISDIR);
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "folder"));
    EXPECT_TRUE(std::filesystem::is_empty(Dir / "folder"));
    EXPECT_EQ(EntryCount(), 1u);
}

// The error of a replacement refused before anything is written, as a user; 0 if it was not.
int RefusalAsUser(const std::string& path) {
    return RunAsUnprivileged([&path] {
        const TFileWriteResult result = ReplaceFileContents(path, "new");
        return result.Stage == TFileWriteResult::TStage::Create ? result.Errno : 0;
    });
}

// A read-only file stays as it is; a writable one in a folder that takes no new files is
// rewritten as the file itself, as the window's file functions have always written it.
TEST_F(SafeFileTest, ReadOnlyFileIsRefusedAndWritableOneInALockedFolderRewritten) {
    const std::string path = PathOf("ro.txt");
    WriteBytes(path, "earlier");
    // The folder is open to everyone, so only the file's own bits forbid the replacement.
    ASSERT_EQ(::chmod(Dir.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(RefusalAsUser(path), EACCES);
    EXPECT_EQ(ReadBytes(path), "earlier");

    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(Dir.c_str(), 0555), 0);
    EXPECT_EQ(RefusalAsUser(path), 0);
    ASSERT_EQ(::chmod(Dir.c_str(), 0755), 0);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ModeOf(path), 0666u);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST(SystemErrorTextTest, HasNoTrailingFullStopOrBlank) {
    for (const int err : {ENOENT, EACCES, ENOSPC, EISDIR}) {
        const std::string text = SystemErrorText(err);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), '.');
        EXPECT_NE(text.back(), ' ');
    }
}

TEST(FullPathTest, MakesRelativePathsAbsoluteAndNormal) {
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(FullPath("a/../b.txt"), cwd + "/b.txt");
    EXPECT_EQ(FullPath("/x/./y.txt"), "/x/y.txt");
    EXPECT_EQ(FullPath(""), "");
}

}  // namespace
