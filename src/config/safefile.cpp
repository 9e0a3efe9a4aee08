#include "config/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "config/tempfile.h"

namespace {

constexpr int kMaxLinkDepth = 40;

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

// What a write's result means: the bytes it wrote (0 when interrupted, to try again), or
// nullopt with errno set when it failed; a write that makes no progress counts as a full disk.
std::optional<std::size_t> Written(long n) {
    if (n < 0) {
        if (errno == EINTR) return 0;
        return std::nullopt;
    }
    if (n == 0) {
        errno = ENOSPC;
        return std::nullopt;
    }
    return static_cast<std::size_t>(n);
}

// False with errno set when a write fails.
bool WriteAll(int fd, std::string_view content, const TWriteFn& write) {
    std::size_t done = 0;
    while (done < content.size()) {
        const auto n = Written(write ? write(fd, content.data() + done, content.size() - done)
                                     : ::write(fd, content.data() + done, content.size() - done));
        if (!n) return false;
        done += *n;
    }
    return true;
}

// Many pieces go in few system calls: a picture's 880 rows in one writev.
bool WriteAll(int fd, TContentPieces content, const TWriteFn& write) {
    if (write) {
        for (const std::string_view piece : content) {
            if (!WriteAll(fd, piece, write)) return false;
        }
        return true;
    }
    std::vector<iovec> vectors;
    for (const std::string_view piece : content) {
        if (!piece.empty()) vectors.push_back({const_cast<char*>(piece.data()), piece.size()});
    }
    std::size_t first = 0;
    while (first < vectors.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(vectors.size() - first, IOV_MAX));
        const auto n = Written(::writev(fd, vectors.data() + first, count));
        if (!n) return false;
        // Skip what was written; a short write resumes inside its piece.
        std::size_t left = *n;
        while (first < vectors.size() && left >= vectors[first].iov_len) {
            left -= vectors[first].iov_len;
            ++first;
        }
        if (left > 0) {
            vectors[first].iov_base = static_cast<char*>(vectors[first].iov_base) + left;
            vectors[first].iov_len -= left;
        }
    }
    return true;
}

std::size_t TotalSize(TContentPieces content) {
    std::size_t size = 0;
    for (const std::string_view piece : content) size += piece.size();
    return size;
}

TFileWriteResult Failed(TFileWriteResult::TStage stage, int err) {
    return TFileWriteResult{stage, err};
}

// Devices and fifos cannot be renamed over; they receive the content directly. A fifo
// without a reader is refused rather than waited for.
TFileWriteResult WriteToDevice(const std::string& path, TContentPieces content,
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

// A regular file that cannot be replaced (its folder takes no new files, or other names link
// to it) is rewritten as the file itself, so that every name and its owner and mode stay. Its
// room is reserved first: a full disk is found before a byte of the old content is lost.
TFileWriteResult RewriteInPlace(const std::string& path, TContentPieces content,
                                const TWriteFn& write) {
    using TStage = TFileWriteResult::TStage;
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Failed(TStage::Create, errno);
    const auto fail = [fd] {
        const int err = errno;
        ::close(fd);
        return Failed(TStage::Write, err);
    };
    const auto size = static_cast<off_t>(TotalSize(content));
    if (size > 0 && ::fallocate(fd, 0, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS &&
        errno != EINVAL) {
        return fail();
    }
    if (!WriteAll(fd, content, write) || ::ftruncate(fd, size) != 0 || ::fsync(fd) != 0) {
        return fail();
    }
    if (::close(fd) != 0) return Failed(TStage::Write, errno);
    return {};
}

// The file a replacement meets behind the path's links, and how it is to be written.
struct TTarget {
    enum class THow { Replace, Device, InPlace };
    std::string Path;
    struct stat Stat {};
    bool Exists = false;
    THow How = THow::Replace;
};

// Fills t, or says why the path cannot be written.
std::optional<TFileWriteResult> Inspect(const std::string& path, TTarget& t) {
    using TStage = TFileWriteResult::TStage;
    if (path.empty()) return Failed(TStage::Create, ENOENT);
    int err = 0;
    if (!ResolveLinks(path, t.Path, err)) return Failed(TStage::Create, err);
    t.Exists = ::stat(t.Path.c_str(), &t.Stat) == 0;
    if (!t.Exists) return std::nullopt;
    if (S_ISDIR(t.Stat.st_mode)) return Failed(TStage::Create, EISDIR);
    if (!S_ISREG(t.Stat.st_mode)) {
        t.How = TTarget::THow::Device;
        return std::nullopt;
    }
    // A read-only file stays read-only: renaming over it would bypass its permissions.
    if (::access(t.Path.c_str(), W_OK) != 0) return Failed(TStage::Create, errno);
    // A new file would leave the other names with the old content.
    if (t.Stat.st_nlink > 1) t.How = TTarget::THow::InPlace;
    return std::nullopt;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The new content in a temporary file beside the target, flushed, with the target's owner and
// permission bits. Leaves temp invalid, with errno set, where the folder takes no new file.
TFileWriteResult WriteBeside(const TTarget& t, TContentPieces content, const TWriteFn& write,
                             TTempFile& temp) {
    using TStage = TFileWriteResult::TStage;
    const std::string folder = DirectoryOf(t.Path);
    const std::string base = BaseNameOf(t.Path);
    RemoveLeftoverTempFiles(folder, base);
    temp = TTempFile::Create(folder, base);
    if (!temp.Valid()) return Failed(TStage::Create, errno);
    const int fd = temp.Descriptor();
    if (t.Exists) {
        // Root replacing another user's file keeps its owner; others cannot and need not.
        if (t.Stat.st_uid != ::geteuid() || t.Stat.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, t.Stat.st_uid, t.Stat.st_gid);
        }
        if (::fchmod(fd, t.Stat.st_mode & 07777) != 0) return Failed(TStage::Create, errno);
    } else if (::fchmod(fd, 0666 & ~CurrentUmask()) != 0) {
        return Failed(TStage::Create, errno);
    }
    if (!WriteAll(fd, content, write) || ::fsync(fd) != 0) return Failed(TStage::Write, errno);
    return {};
}

// Makes the new name itself durable; a folder that cannot be synced still holds the file.
void SyncFolderOf(const std::string& path) {
    const int dirFd = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

}  // namespace

TFileWriteResult ReplaceFileContents(const std::string& path, std::string_view content,
                                     const TWriteFn& write) {
    return ReplaceFileContents(path, TContentPieces(&content, 1), write);
}

TFileWriteResult ReplaceFileContents(const std::string& path, TContentPieces content,
                                     const TWriteFn& write) {
    TTarget t;
    if (const auto refused = Inspect(path, t)) return *refused;
    if (t.How == TTarget::THow::Device) return WriteToDevice(t.Path, content, write);
    if (t.How == TTarget::THow::InPlace) return RewriteInPlace(t.Path, content, write);
    TTempFile temp;
    const TFileWriteResult written = WriteBeside(t, content, write, temp);
    if (!temp.Valid() && t.Exists) return RewriteInPlace(t.Path, content, write);
    if (!written.Ok()) return written;
    if (!temp.Publish(t.Path)) return Failed(TFileWriteResult::TStage::Write, errno);
    SyncFolderOf(t.Path);
    return {};
}

TFileWriteResult TFileSet::Prepare(const std::string& path, TContentPieces content,
                                   const TWriteFn& write) {
    TTarget t;
    if (const auto refused = Inspect(path, t)) return *refused;
    TEntry e{path, t.Path, THow::Replace, {content.begin(), content.end()}, write, {}};
    if (t.How == TTarget::THow::Device) {
        e.How = THow::Device;
    } else {
        // A file with other names is replaced too, and they keep the earlier content: rewritten
        // in place, a kill or a failure could leave it half new under every name.
        const TFileWriteResult written = WriteBeside(t, content, write, e.Temp);
        if (!e.Temp.Valid() && t.Exists) {
            e.How = THow::InPlace;
        } else if (!written.Ok()) {
            return written;
        }
    }
    Entries.push_back(std::move(e));
    return {};
}

std::optional<TFileSet::TFailure> TFileSet::Commit() {
    using TStage = TFileWriteResult::TStage;
    // Whatever happens the set is spent, and what it did not put in place is removed.
    std::vector<TEntry> entries = std::move(Entries);
    Entries.clear();
    const auto failed = [](const TEntry& e, int err) {
        return TFailure{e.Path, Failed(TStage::Write, err)};
    };
    for (TEntry& e : entries) {
        if (e.How == THow::Replace && !e.Temp.Link()) return failed(e, errno);
    }
    // What cannot be renamed is written before anything is: its failure leaves the other files
    // as they were.
    for (const TEntry& e : entries) {
        TFileWriteResult written;
        if (e.How == THow::Device) written = WriteToDevice(e.Target, e.Content, e.Write);
        if (e.How == THow::InPlace) written = RewriteInPlace(e.Target, e.Content, e.Write);
        if (!written.Ok()) return TFailure{e.Path, written};
    }
    for (TEntry& e : entries) {
        if (e.How == THow::Replace && !e.Temp.Publish(e.Target)) return failed(e, errno);
    }
    for (const TEntry& e : entries) {
        if (e.How == THow::Replace) SyncFolderOf(e.Target);
    }
    return std::nullopt;
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
