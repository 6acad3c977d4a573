#include "catalog/file_io.h"

#include "catalog/vault_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vs {

std::string readFileBytes(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw VaultError(ErrorKind::FileNotFound, path.string());
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw VaultError(ErrorKind::FileNotFound, path.string() + ": " + std::strerror(errno));
    // Read straight into the string, sized once from the file's size; a file
    // that grows meanwhile is read on to its end.
    std::string bytes;
    std::error_code sizeError;
    const std::uintmax_t expected = std::filesystem::file_size(path, sizeError);
    size_t size = 0;
    bytes.resize(sizeError ? size_t{65536} : static_cast<size_t>(expected) + 1);
    while (true) {
        size += std::fread(bytes.data() + size, 1, bytes.size() - size, file);
        if (size < bytes.size())
            break;
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(size);
    bool failed = std::ferror(file);
    std::fclose(file);
    if (failed)
        throw VaultError(ErrorKind::FileNotFound, path.string() + ": read error");
    return bytes;
}

namespace {

[[noreturn]] void throwError(int code, const std::filesystem::path& path)
{
    throw std::system_error(code, std::generic_category(), path.string());
}

// How many links one save follows before it gives up as the kernel does.
constexpr int kMaxLinkHops = 40;

// The file a write to `path` lands on: links in the last component are followed
// until something that is not a link, or nothing yet, is named. A relative link
// is read from the folder that holds it, which the kernel resolves for us when
// the link's folder path is prefixed unchanged.
std::filesystem::path followLinks(const std::filesystem::path& path)
{
    std::filesystem::path current = path;
    for (int hops = 0;; ++hops) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return current;
            throwError(errno, path);
        }
        if (!S_ISLNK(info.st_mode))
            return current;
        if (hops == kMaxLinkHops)
            throwError(ELOOP, path);
        std::error_code ec;
        std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec)
            throwError(ec.value(), path);
        if (next.is_relative() && current.has_parent_path())
            next = current.parent_path() / next;
        current = std::move(next);
    }
}

// False with errno set when a write fails; short writes are continued.
bool writeAll(int fd, std::string_view bytes)
{
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

// Errors that mean the folder refuses us, not that the disk or the file failed.
bool folderRefused(int code)
{
    return code == EACCES || code == EPERM || code == EROFS;
}

// An open descriptor that is closed on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes now so that a failing close() is seen; false with errno set then.
    bool close()
    {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// The temporary file's name, removed unless the rename took it.
class TemporaryName {
public:
    explicit TemporaryName(std::string name) : name_(std::move(name)) {}
    ~TemporaryName()
    {
        if (!name_.empty()) {
            int saved = errno;
            ::unlink(name_.c_str());
            errno = saved;
        }
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;

    const char* c_str() const { return name_.c_str(); }
    void release() { name_.clear(); }

private:
    std::string name_;
};

// Overwrites an existing file through its own inode, for folders that take no
// new files. The mode, owner and links to it stay as they were.
void writeInPlace(const std::filesystem::path& target, std::string_view bytes,
                  const std::filesystem::path& path)
{
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        throwError(errno, path);
    if (!writeAll(fd.get(), bytes) || ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 ||
        ::fsync(fd.get()) != 0 || !fd.close())
        throwError(errno, path);
}

// Flushes the rename to disk where the system allows it; a folder that cannot be
// opened or synced does not undo a save that already happened.
void syncFolder(const std::filesystem::path& dir)
{
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Gives the temporary file the old file's owner and group as far as the process
// may: root fully, other users only a group they belong to. False when nothing
// could be kept.
bool copyOwner(int fd, const struct stat& old)
{
    if (old.st_uid == ::geteuid() && old.st_gid == ::getegid())
        return true;
    return ::fchown(fd, old.st_uid, old.st_gid) == 0 ||
           ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

mode_t modeForNewFile()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    const std::filesystem::path target = followLinks(path);

    struct stat existing;
    bool exists = false;
    if (::stat(target.c_str(), &existing) == 0) {
        exists = true;
        if (S_ISDIR(existing.st_mode))
            throwError(EISDIR, path);
        // access() lets root write anything; a file nobody may write stays so.
        if ((existing.st_mode & 0222) == 0)
            throwError(EACCES, path);
        if (::access(target.c_str(), W_OK) != 0)
            throwError(errno, path);
    } else if (errno != ENOENT) {
        throwError(errno, path);
    }
    const bool inPlacePossible = exists && S_ISREG(existing.st_mode);

    std::filesystem::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    std::string hidden = ".";  // a hidden name beside the target
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string tmpl = (dir / hidden).string();
    Descriptor fd(::mkostemp(tmpl.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        int code = errno;
        if (inPlacePossible && folderRefused(code)) {
            writeInPlace(target, bytes, path);
            return;
        }
        throwError(code, path);
    }
    TemporaryName temporary(tmpl);

    if (exists)
        copyOwner(fd.get(), existing);  // not permitted: the replacement is ours
    // After fchown, which clears set-id bits.
    const mode_t mode = exists ? (existing.st_mode & 07777) : modeForNewFile();
    if (!writeAll(fd.get(), bytes) || ::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0 ||
        !fd.close())
        throwError(errno, path);

    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        int code = errno;
        // A sticky folder lets us add a file but not replace another user's.
        if (inPlacePossible && folderRefused(code)) {
            writeInPlace(target, bytes, path);
            return;
        }
        throwError(code, path);
    }
    temporary.release();
    syncFolder(dir);
}

bool keepBackupCopy(const std::filesystem::path& path)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() != std::filesystem::file_type::regular)
        return false;
    if (::access(path.c_str(), R_OK) != 0)
        throw std::system_error(errno, std::generic_category(), path.string());
    std::string bytes;
    try {
        bytes = readFileBytes(path);
    } catch (const VaultError&) {
        throw std::system_error(EIO, std::generic_category(), path.string());
    }
    std::filesystem::path backup = path;
    backup += ".bak";
    // The copy is a file of its own: a link in its place is replaced, never followed.
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(backup, ec)) &&
        !std::filesystem::remove(backup, ec))
        throw std::system_error(ec, backup.string());
    writeFileAtomically(backup, bytes);
    std::filesystem::permissions(backup, status.permissions() & std::filesystem::perms::all, ec);
    return true;
}

}  // namespace vs
