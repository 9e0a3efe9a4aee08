#include "config/filecontent.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 20;

using TClock = std::chrono::steady_clock;
using TDeadline = TClock::time_point;
constexpr TDeadline kNoDeadline = TDeadline::max();  // waited on as long as it takes

// Waits until the file can be read, at its end too; ETIMEDOUT once the deadline has passed.
int AwaitReadable(int fd, TDeadline deadline) {
    pollfd poller{fd, POLLIN, 0};
    for (;;) {
        int timeout = -1;
        if (deadline != kNoDeadline) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now()).count();
            if (left <= 0) return ETIMEDOUT;
            timeout = static_cast<int>(std::min<long long>(left, INT_MAX));
        }
        const int ready = ::poll(&poller, 1, timeout);
        if (ready > 0) return 0;
        if (ready == 0) return ETIMEDOUT;
        if (errno != EINTR) return errno;
    }
}

// Reads until the end, or fails with EFBIG once more than limit bytes have come. The blocks
// are joined at the end so that the text is never held twice over. A file read without
// blocking is waited on until the deadline.
int ReadToEnd(int fd, std::size_t limit, TDeadline deadline, std::string& text) {
    std::vector<std::string> blocks;
    std::size_t total = 0;
    for (;;) {
        std::string block(kBlock, '\0');
        std::size_t filled = 0;
        while (filled < block.size()) {
            const auto n = ::read(fd, block.data() + filled, block.size() - filled);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (const int err = AwaitReadable(fd, deadline)) return err;
                continue;
            }
            if (n < 0) return errno;
            if (n == 0) break;
            filled += static_cast<std::size_t>(n);
        }
        total += filled;
        if (total > limit) return EFBIG;
        block.resize(filled);
        blocks.push_back(std::move(block));
        if (filled < kBlock) break;
    }
    text.reserve(total);
    for (std::string& block : blocks) {
        text += block;
        std::string().swap(block);
    }
    return 0;
}

// As many bytes as the file says it holds.
int ReadSize(int fd, std::size_t size, std::string& text) {
    text.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const auto n = ::read(fd, text.data() + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    text.resize(done);
    return 0;
}

int ReadOpened(int fd, std::size_t limit, TFileKinds kinds, TDeadline deadline, std::string& text) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return errno;
    if (S_ISDIR(st.st_mode)) return kinds == TFileKinds::Regular ? 0 : EISDIR;
    const auto size = static_cast<std::size_t>(st.st_size);
    if (S_ISREG(st.st_mode) && size > limit) return EFBIG;
    if (kinds == TFileKinds::Regular) return S_ISREG(st.st_mode) ? ReadSize(fd, size, text) : 0;
    // A file that tells its size is read at once; /proc files tell none.
    if (S_ISREG(st.st_mode) && size > 0) return ReadSize(fd, size, text);
    // A fifo opened without blocking reports its end until a writer has opened it: wait until
    // one has written or gone.
    if (S_ISFIFO(st.st_mode)) {
        if (const int err = AwaitReadable(fd, deadline)) return err;
    }
    if (deadline == kNoDeadline && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        return errno;
    return ReadToEnd(fd, limit, deadline, text);
}

}  // namespace

TFileContent ReadFileContent(const std::string& path, std::size_t limit, TFileKinds kinds,
                             std::optional<std::chrono::milliseconds> wait) {
    const TDeadline deadline = wait ? TClock::now() + *wait : kNoDeadline;
    TFileContent content;
    // Without blocking: opening a fifo would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        content.Errno = errno;
        return content;
    }
    content.Errno = ReadOpened(fd, limit, kinds, deadline, content.Text);
    if (content.Errno != 0) content.Text.clear();
    ::close(fd);
    return content;
}
