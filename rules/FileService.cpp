#include "rules/FileService.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

namespace {
int lastError()
{
    return errno != 0 ? errno : EIO;
}
} // namespace

int PosixFileService::openRead(const std::string& path, int& fd)
{
    // Non-blocking, so that a named pipe cannot stall the open; anything but
    // a plain file (a pipe, a device that never ends) is refused.
    fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0)
        return lastError();
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fd = -1;
        return EINVAL;
    }
    return 0;
}

int PosixFileService::readAll(int fd, std::string& out)
{
    out.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (n == 0)
            return 0;
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

int PosixFileService::createTemp(const std::string& path, int& fd, std::string& tempPath)
{
    // A folder in the file's place could never be replaced: say so before
    // anything is written.
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return EISDIR;
    std::string pattern = path + SavingSuffix + "XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return lastError();
    tempPath = pattern;
    ::fchmod(fd, 0644);
    return 0;
}

int PosixFileService::write(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int PosixFileService::flush(int fd)
{
    return ::fsync(fd) == 0 ? 0 : lastError();
}

int PosixFileService::close(int fd)
{
    return ::close(fd) == 0 ? 0 : lastError();
}

int PosixFileService::move(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        return lastError();
    // Make the new name durable too.
    const std::string folder = std::filesystem::path(to).parent_path().string();
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

void PosixFileService::removeQuietly(const std::string& path)
{
    ::unlink(path.c_str());
}

std::string PosixFileService::saveTarget(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            break;
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();
}

int PosixFileService::checkLink(const std::string& path)
{
    struct stat link { };
    struct stat target { };
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && ::stat(path.c_str(), &target) != 0)
        return errno == ELOOP ? ELOOP : ENOENT;
    return 0;
}

FileService& defaultFileService()
{
    static PosixFileService service;
    return service;
}

} // namespace zelmar
