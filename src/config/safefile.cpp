#include "config/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr int kMaxLinkDepth = 40;
// Of the file's name, the temporary name beside it keeps at most this many bytes, so that with
// its dot and suffix it stays a legal name however long the file's own name is.
constexpr std::size_t kTempStemLength = 64;

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows a chain of symbolic links to the name that is finally written, also when the last
// link dangles (the file it names is then created).
bool ResolveLinks(const std::string& path, std::string& resolved, int& err) {
    resolved = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat st {};
        if (::lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        // One byte more than a link can hold, so that a cut-off target shows.
        std::string target(PATH_MAX + 1, '\0');
        const auto n = ::readlink(resolved.c_str(), target.data(), target.size());
        if (n < 0) {
            err = errno;
            return false;
        }
        if (n > PATH_MAX) {
            err = ENAMETOOLONG;
            return false;
        }
        target.resize(static_cast<std::size_t>(n));
        resolved = target.starts_with('/') ? target : DirectoryOf(resolved) + "/" + target;
    }
    err = ELOOP;
    return false;
}

// False with errno set when a write fails; a write that makes no progress counts as a full disk.
bool WriteAll(int fd, std::string_view content, const TWriteFn& write) {
    std::size_t done = 0;
    while (done < content.size()) {
        const long n = write ? write(fd, content.data() + done, content.size() - done)
                             : ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

TFileWriteResult Failed(TFileWriteResult::TStage stage, int err) {
    return TFileWriteResult{stage, err};
}

// Devices and fifos cannot be renamed over; they receive the content directly. A fifo
// without a reader is refused rather than waited for.
TFileWriteResult WriteInPlace(const std::string& path, std::string_view content,
                              const TWriteFn& write) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Failed(TFileWriteResult::TStage::Create, errno);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!WriteAll(fd, content, write)) {
        const int err = errno;
        ::close(fd);
        return Failed(TFileWriteResult::TStage::Write, err);
    }
    if (::close(fd) != 0) return Failed(TFileWriteResult::TStage::Write, errno);
    return {};
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

TFileWriteResult ReplaceFileContents(const std::string& path, std::string_view content,
                                     const TWriteFn& write) {
    using TStage = TFileWriteResult::TStage;
    if (path.empty()) return Failed(TStage::Create, ENOENT);
    std::string target;
    int err = 0;
    if (!ResolveLinks(path, target, err)) return Failed(TStage::Create, err);

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return Failed(TStage::Create, EISDIR);
        if (!S_ISREG(st.st_mode)) return WriteInPlace(target, content, write);
        // A read-only file stays read-only: renaming over it would bypass its permissions.
        if (::access(target.c_str(), W_OK) != 0) return Failed(TStage::Create, errno);
    }

    std::string temp =
        DirectoryOf(target) + "/." + BaseNameOf(target).substr(0, kTempStemLength) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return Failed(TStage::Create, errno);
    const auto fail = [&](TStage stage) {
        const int e = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return Failed(stage, e);
    };

    if (exists) {
        // Root replacing another user's file keeps its owner; others cannot and need not.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
        }
        if (::fchmod(fd, st.st_mode & 07777) != 0) return fail(TStage::Create);
    } else if (::fchmod(fd, 0666 & ~CurrentUmask()) != 0) {
        return fail(TStage::Create);
    }
    if (!WriteAll(fd, content, write)) return fail(TStage::Write);
    if (::fsync(fd) != 0) return fail(TStage::Write);
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        return Failed(TStage::Write, e);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        return Failed(TStage::Write, e);
    }
    // Make the rename itself durable; a folder that cannot be synced still holds the file.
    const int dirFd = ::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

std::string SystemErrorText(int errnum) {
    std::string text = std::strerror(errnum);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r' ||
                             text.back() == '\t' || text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

std::string FullPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    if (ec) return path;
    return absolute.lexically_normal().string();
}
