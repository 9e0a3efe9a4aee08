#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "clirunner.h"

namespace {

const std::string kCardioid = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/cardioid.txt";

TCliRun PatternOf(const std::string& config) {
    return RunCli({"pattern", "--decimal-mark", ",", "--config", config});
}

// A pipe or a fifo holds the configuration as a file would: it is read to its end, also when
// the writer sends it in parts, and gives the same result.
TEST(CliConfigInput, PipesAndFifosAreReadToTheirEnd) {
    const TCliRun expected = PatternOf(kCardioid);
    ASSERT_EQ(expected.ExitCode, 0);
    const std::string text = ReadBytes(kCardioid);
    TTempDir dir;

    const std::string fifo = dir.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t writer = ::fork();
    if (writer == 0) {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        const std::size_t half = text.size() / 2;
        bool ok = ::write(fd, text.data(), half) == static_cast<ssize_t>(half);
        ::usleep(50000);
        ok = ok && ::write(fd, text.data() + half, text.size() - half) ==
                       static_cast<ssize_t>(text.size() - half);
        ::_exit(ok ? 0 : 1);
    }
    const TCliRun fromFifo = PatternOf(fifo);
    int status = 0;
    ::waitpid(writer, &status, 0);
    EXPECT_EQ(fromFifo.ExitCode, 0) << fromFifo.Err;
    EXPECT_EQ(fromFifo.Out, expected.Out);

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(ends[1]);
    const TCliRun fromPipe = PatternOf("/dev/fd/" + std::to_string(ends[0]));
    ::close(ends[0]);
    EXPECT_EQ(fromPipe.ExitCode, 0) << fromPipe.Err;
    EXPECT_EQ(fromPipe.Out, expected.Out);
}

// A device without end is read up to the size limit, then refused naming it.
TEST(CliConfigInput, EndlessDeviceIsRefusedAtTheSizeLimit) {
    const TCliRun run = PatternOf("/dev/zero");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "arraypattern-cli: cannot read --config /dev/zero: File too large\n");
}

}  // namespace
