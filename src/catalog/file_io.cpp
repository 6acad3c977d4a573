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
    std::string bytes;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    bool failed = std::ferror(file);
    std::fclose(file);
    if (failed)
        throw VaultError(ErrorKind::FileNotFound, path.string() + ": read error");
    return bytes;
}

namespace {
[[noreturn]] void throwErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}
}  // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    std::filesystem::path dir = path.parent_path();
    if (dir.empty())
        dir = ".";
    std::string hiddenName = ".";
    hiddenName += path.filename().string();
    hiddenName += ".XXXXXX";
    std::string tmpl = (dir / hiddenName).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        throwErrno(path.string());

    mode_t mode = 0644;
    struct stat existing;
    if (::stat(path.c_str(), &existing) == 0)
        mode = existing.st_mode & 07777;
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    auto fail = [&](const std::string& what) {
        int saved = errno;
        ::close(fd);
        ::unlink(tmpl.c_str());
        errno = saved;
        throwErrno(what);
    };
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(path.string());
        }
        written += static_cast<size_t>(n);
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        fail(path.string());
    if (::close(fd) != 0) {
        int saved = errno;
        ::unlink(tmpl.c_str());
        errno = saved;
        throwErrno(path.string());
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        int saved = errno;
        ::unlink(tmpl.c_str());
        errno = saved;
        throwErrno(path.string());
    }
}

}  // namespace vs
