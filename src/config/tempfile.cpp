#include "config/tempfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <utility>

namespace {

// Of the file's name, the temporary name beside it keeps at most this many bytes, so that with
// its dot, random part and mark it stays a legal name however long the file's own name is.
constexpr std::size_t kStemLength = 64;
constexpr std::size_t kRandomLength = 6;
// Marks a name as this program's temporary file: no other program's leftover is ever removed.
constexpr std::string_view kMark = ".arraypattern-new";
constexpr int kNameAttempts = 100;

std::string Prefix(const std::string& base) {
    return "." + base.substr(0, kStemLength) + ".";
}

std::string RandomPart() {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kRandomLength] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Names are also tried one after another, so a weak source only costs attempts.
        static unsigned counter = 0;
        const unsigned seed = static_cast<unsigned>(::getpid()) * 7919u + counter++;
        for (std::size_t i = 0; i < kRandomLength; ++i)
            bytes[i] = static_cast<unsigned char>(seed >> (i * 5));
    }
    std::string part;
    for (const unsigned char b : bytes) part += kAlphabet[b % kAlphabet.size()];
    return part;
}

std::string TempName(const std::string& folder, const std::string& base) {
    return folder + "/" + Prefix(base) + RandomPart() + std::string(kMark);
}

bool IsTempName(std::string_view name, const std::string& prefix) {
    return name.size() == prefix.size() + kRandomLength + kMark.size() &&
           name.starts_with(prefix) && name.ends_with(kMark);
}

// Locked for the file's whole life: a later write removes only files nobody holds. Where the
// file system has no locks the file is simply never removed by another write.
bool LockOrBusy(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

// A named file that a cleaner cannot have taken: created, locked, and still linked.
int CreateNamed(const std::string& folder, const std::string& base, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = TempName(folder, base);
        const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        struct stat st {};
        if (LockOrBusy(fd) && ::fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

std::string DescriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// Gives the unnamed file a name; the first way needs a privilege, the second /proc.
bool LinkUnnamed(int fd, const std::string& name) {
    if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    return ::linkat(AT_FDCWD, DescriptorPath(fd).c_str(), AT_FDCWD, name.c_str(),
                    AT_SYMLINK_FOLLOW) == 0;
}

}  // namespace

TTempFile::TTempFile(TTempFile&& other) noexcept
    : Fd(std::exchange(other.Fd, -1)),
      Folder(std::move(other.Folder)),
      Base(std::move(other.Base)),
      Name(std::move(other.Name)) {}

TTempFile& TTempFile::operator=(TTempFile&& other) noexcept {
    if (this != &other) {
        Discard();
        Fd = std::exchange(other.Fd, -1);
        Folder = std::move(other.Folder);
        Base = std::move(other.Base);
        Name = std::move(other.Name);
    }
    return *this;
}

TTempFile::~TTempFile() {
    Discard();
}

TTempFile TTempFile::Create(const std::string& folder, const std::string& base) {
    TTempFile file;
    file.Folder = folder;
    file.Base = base;
    // Not every file system has unnamed files, and without /proc an unprivileged process
    // cannot name one.
    if (::access("/proc/self/fd", F_OK) == 0) {
        file.Fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (file.Fd >= 0) {
            LockOrBusy(file.Fd);
            return file;
        }
    }
    file.Fd = CreateNamed(folder, base, file.Name);
    if (file.Fd < 0) file.Name.clear();
    return file;
}

bool TTempFile::Link() {
    for (int attempt = 0; Name.empty() && attempt < kNameAttempts; ++attempt) {
        const std::string name = TempName(Folder, Base);
        if (LinkUnnamed(Fd, name)) {
            Name = name;
        } else if (errno != EEXIST) {
            return false;
        }
    }
    if (Name.empty()) errno = EEXIST;
    return !Name.empty();
}

bool TTempFile::Publish(const std::string& target) {
    // A file that does not exist yet gets its name in one step: nothing is left if killed.
    if (Name.empty() && LinkUnnamed(Fd, target)) {
        Discard();
        return true;
    }
    const bool renamed = Link() && ::rename(Name.c_str(), target.c_str()) == 0;
    const int err = errno;
    if (renamed) Name.clear();
    Discard();
    errno = err;
    return renamed;
}

void TTempFile::Discard() {
    if (!Name.empty()) ::unlink(Name.c_str());
    Name.clear();
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
}

void RemoveLeftoverTempFiles(const std::string& folder, const std::string& base) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const std::string prefix = Prefix(base);
    const uid_t user = ::geteuid();
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTempName(entry->d_name, prefix)) continue;
        const std::string path = folder + "/" + entry->d_name;
        constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = ::open(path.c_str(), O_RDONLY | kFlags);
        if (fd < 0) fd = ::open(path.c_str(), O_WRONLY | kFlags);
        if (fd < 0) continue;
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == user &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    }
    ::closedir(dir);
}
