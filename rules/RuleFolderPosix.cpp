#include "rules/RuleFolder.h"
#include "rules/RuleFolderSystem.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

const DataFolderNames SystemDataFolder { ".local/share", "zelmar", "HOME" };

RuleFolderPlaces RuleFolderPlacesFor(const std::string& programDir)
{
    RuleFolderPlaces places;
    places.programDir = programDir;
    places.examplesDir
        = (std::filesystem::path(programDir) / ZELMAR_EXAMPLES_FROM_BIN).lexically_normal().string();
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"))
        places.dataHome = dataHome;
    if (const char* home = std::getenv("HOME"); home && *home)
        places.home = home;
    else if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
        places.home = account->pw_dir;
    return places;
}

namespace system {

bool MayCreateFilesIn(const std::string& dir)
{
    return !dir.empty() && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

int MakeFolder(const std::string& dir)
{
    // Readable by the user alone, as the freedesktop.org base-directory
    // rules ask.
    return ::mkdir(dir.c_str(), 0700) == 0 ? 0 : errno;
}

int ReadWholeFile(const std::string& path, std::string& out)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    const int e = n < 0 ? errno : 0;
    ::close(fd);
    return e;
}

} // namespace system
} // namespace zelmar
