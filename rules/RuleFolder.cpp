#include "rules/RuleFolder.h"

#include "rules/RuleFiles.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

namespace {

namespace fs = std::filesystem;

// A dangling link or anything else under a rule file's name counts: reading
// it later reports what is wrong with it.
bool holdsRuleFile(const fs::path& dir)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(dir / WinFileName, ec))
        || fs::exists(fs::symlink_status(dir / LostFileName, ec));
}

bool mayCreateFilesIn(const std::string& dir)
{
    return !dir.empty() && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// Creates `dir` with the parents it lacks, each readable by the user alone
// as the freedesktop.org base-directory rules ask. 0 or an errno value.
int makeFolders(const fs::path& dir)
{
    std::error_code ec;
    if (fs::is_directory(dir, ec))
        return 0;
    const fs::path parent = dir.parent_path();
    if (parent != dir)
        if (int e = makeFolders(parent))
            return e;
    if (::mkdir(dir.c_str(), 0700) == 0)
        return 0;
    const int e = errno;
    return e == EEXIST && !fs::is_directory(dir, ec) ? ENOTDIR : (e == EEXIST ? 0 : e);
}

int readWhole(const fs::path& path, std::string& out)
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

// Both example files, written as a save writes them: each in full beside its
// place before either is moved in.
void copyExamples(const fs::path& examples, const std::string& folder, std::vector<std::string>& reports)
{
    std::error_code ec;
    if (!fs::is_directory(examples, ec))
        return; // the examples have been removed since the start
    std::string texts[2];
    const char* names[2] = { WinFileName, LostFileName };
    for (int i = 0; i < 2; ++i) {
        if (int e = readWhole(examples / names[i], texts[i])) {
            reports.push_back("无法读取示例规则 " + (examples / names[i]).string() + "：" + ErrorReason(e));
            return;
        }
    }
    if (SaveError e = RuleFiles(folder).SaveRuleTexts(texts[0], texts[1]))
        reports.push_back("无法把示例规则复制到 " + folder + "。\n" + *e);
}

} // namespace

RuleFolderChoice ChooseRuleFolder(const RuleFolderPlaces& places)
{
    RuleFolderChoice choice;
    std::error_code ec;
    const bool installed = fs::is_directory(places.examplesDir, ec);
    if (holdsRuleFile(places.programDir) || (!installed && mayCreateFilesIn(places.programDir))) {
        choice.folder = places.programDir;
        return choice;
    }

    fs::path data;
    if (fs::path(places.dataHome).is_absolute())
        data = places.dataHome;
    else if (!places.home.empty())
        data = fs::path(places.home) / ".local" / "share";
    if (data.empty()) {
        choice.folder = places.programDir;
        choice.reports.push_back("无法确定存放规则文件的文件夹：没有设置 HOME");
        return choice;
    }
    data = (data / "zelmar").lexically_normal();
    choice.folder = data.string();
    if (int e = makeFolders(data)) {
        choice.reports.push_back("无法创建存放规则文件的文件夹 " + choice.folder + "：" + ErrorReason(e));
        return choice;
    }
    if (!holdsRuleFile(data))
        copyExamples(places.examplesDir, choice.folder, choice.reports);
    return choice;
}

RuleFolderPlaces RuleFolderPlacesFor(const std::string& programDir)
{
    RuleFolderPlaces places;
    places.programDir = programDir;
    places.examplesDir = (fs::path(programDir) / ZELMAR_EXAMPLES_FROM_BIN).lexically_normal().string();
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"))
        places.dataHome = dataHome;
    if (const char* home = std::getenv("HOME"); home && *home)
        places.home = home;
    else if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
        places.home = account->pw_dir;
    return places;
}

} // namespace zelmar
