#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "clirunner.h"

namespace {

const std::string kWires = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/four-square-monopoles.txt";

// Every occurrence of the file's name replaced, so that outputs of one array read from
// different places compare.
std::string Unnamed(std::string text, const std::string& name) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
        text.replace(at, name.size(), "FILE");
    }
    return text;
}

// The run with the file's text fed to a fifo by another process, as a shell's <(...) does.
TCliRun RunThroughFifo(const std::string& fifo, const std::string& text,
                       const std::vector<std::string>& args) {
    const pid_t writer = ::fork();
    if (writer == 0) {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(ok ? 0 : 1);
    }
    const TCliRun run = RunCli(args);
    int status = 0;
    ::waitpid(writer, &status, 0);
    return run;
}

// The program with its standard input taken from a file.
TCliRun RunWithInput(const TTempDir& dir, const std::string& input, const std::string& args) {
    const std::string out = dir.Path("stdout");
    const std::string err = dir.Path("stderr");
    const int status = std::system((std::string(ARRAYPATTERN_CLI) + " " + args + " <'" + input +
                                    "' >'" + out + "' 2>'" + err + "'")
                                       .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
}

// A wire array's file through a fifo and on standard input gives what it gives on disk, the
// coupling of its wires included: the text is read once, for the array and the wires alike.
TEST(CliBatch, FifoAndStandardInputReadAsTheFileOnDisk) {
    TTempDir dir;
    const std::string fifo = dir.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string text = ReadBytes(kWires);
    for (const std::string format : {"json", "text"}) {
        SCOPED_TRACE(format);
        const TCliRun disk = RunCli({"pattern", "--format", format, "--config", kWires});
        ASSERT_EQ(disk.ExitCode, 0) << disk.Err;
        if (format == "json") {
            EXPECT_NE(disk.Out.find("\"coupling\": {"), std::string::npos);
        }
        const TCliRun piped =
            RunThroughFifo(fifo, text, {"pattern", "--format", format, "--config", fifo});
        EXPECT_EQ(piped.ExitCode, 0) << piped.Err;
        EXPECT_EQ(Unnamed(piped.Out, fifo), Unnamed(disk.Out, kWires));
        EXPECT_EQ(Unnamed(piped.Err, fifo), Unnamed(disk.Err, kWires));
        const TCliRun standard =
            RunWithInput(dir, kWires, "pattern --format " + format + " --config -");
        EXPECT_EQ(standard.ExitCode, 0) << standard.Err;
        EXPECT_EQ(Unnamed(standard.Out, "\"config\": \"-\""),
                  Unnamed(disk.Out, "\"config\": \"" + kWires + "\""));
    }
}

// Standard input gives its text once: a second --config - would load an empty array.
TEST(CliBatch, StandardInputTwiceIsAUsageError) {
    const TCliRun run = RunCli({"pattern", "--config", "-", "--config", kWires, "--config", "-"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err,
              "arraypattern-cli: --config - is given more than once: standard input is read only "
              "once\n");
}

// A configuration of two emitters whose phase differs with n, so that every file's output is
// its own.
std::string SmallConfig(int n) {
    return "[\xc8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xfc 1]\r\n\xc2\xea\xeb\xfe\xf7\xe5\xed=1\r\n"
           "[\xc8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xfc 2]\r\n\xc2\xea\xeb\xfe\xf7\xe5\xed=1\r\n"
           "X=0,25\r\n\xd4\xe0\xe7\xe0=0," +
           std::to_string(1000 + n).substr(1) + "\r\n";
}

// A file's JSON alone as a batch gives it: on one line. No string holds a raw line break.
std::string OnOneLine(const std::string& json) {
    std::string line;
    for (std::size_t i = 0; i < json.size(); ++i) {
        if (json[i] != '\n') {
            line += json[i];
            continue;
        }
        while (i + 1 < json.size() && json[i + 1] == ' ') ++i;
    }
    return line;
}

struct TBatch {
    std::vector<std::string> Files;
    std::vector<std::string> Args;
};

// count files as options of `pattern`; the files at the indices of missing are never written.
TBatch MakeBatch(const TTempDir& dir, int count, const std::string& format,
                 const std::vector<int>& missing = {}) {
    TBatch batch{{}, {"pattern", "--format", format, "--decimal-mark", "."}};
    for (int n = 0; n < count; ++n) {
        batch.Files.push_back(dir.Path(std::to_string(n) + ".txt"));
        if (std::find(missing.begin(), missing.end(), n) == missing.end())
            WriteBytes(batch.Files.back(), SmallConfig(n));
        batch.Args.insert(batch.Args.end(), {"--config", batch.Files.back()});
    }
    return batch;
}

// A thousand files in one call: one JSON line each, in the order given, each the line the file
// gives alone.
TEST(CliBatch, ThousandFilesGiveEachFilesOwnLineInOrder) {
    TTempDir dir;
    const TBatch batch = MakeBatch(dir, 1000, "json");
    const TCliRun run = RunCli(batch.Args);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 1000u);
    for (const int n : {0, 1, 2, 17, 499, 998, 999}) {
        const TCliRun alone = RunCli(
            {"pattern", "--format", "json", "--decimal-mark", ".", "--config", batch.Files[n]});
        EXPECT_EQ(lines[n], OnOneLine(alone.Out)) << n;
    }
}

// Whatever the number of workers, the output and the messages are the same bytes: failed files
// reported in their place, the first file that succeeds leading the CSV with its header.
TEST(CliBatch, OutputIsTheSameWithOneWorkerOrSeveral) {
    TTempDir dir;
    for (const std::string format : {"csv", "text", "json"}) {
        SCOPED_TRACE(format);
        const TBatch batch = MakeBatch(dir, 120, format, {0, 1, 60});
        const TCliRun one = RunCli(batch.Args, {{"ARRAYPATTERN_CLI_WORKERS", "1"}});
        EXPECT_EQ(one.ExitCode, 2);
        const std::vector<std::string> errors = Lines(one.Err);
        ASSERT_EQ(errors.size(), 3u) << one.Err;
        EXPECT_NE(errors[2].find(batch.Files[60] + ": No such file"), std::string::npos);
        const std::string lead = format == "csv"    ? "config,index,"
                                 : format == "text" ? "== " + batch.Files[2]
                                                    : "{";
        EXPECT_EQ(one.Out.rfind(lead, 0), 0u) << one.Out.substr(0, 80);
        for (const std::string workers : {"2", "5"}) {
            const TCliRun many = RunCli(batch.Args, {{"ARRAYPATTERN_CLI_WORKERS", workers}});
            EXPECT_EQ(many.ExitCode, one.ExitCode);
            EXPECT_TRUE(many.Out == one.Out) << workers;
            EXPECT_EQ(many.Err, one.Err);
        }
    }
}

}  // namespace
