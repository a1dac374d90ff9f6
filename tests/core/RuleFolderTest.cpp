// Where the rule files go, for a portable and an installed program. Every
// choice runs as a user who owns none of the test's folders: as "nobody"
// when the tests run as root (root may write into any folder), else as the
// test's own user. A folder meant to be unwritable is made read-only and the
// chosen user is checked to be refused by it, so such a case cannot pass
// because the folder was writable after all.
//
// On Windows the same table runs with Windows places (examples under the
// program's folder, %LOCALAPPDATA%\Zelmar). Under wine, which keeps no
// access lists, a folder refuses new files by the bits of the Linux folder
// behind it, set through wine; cmake/wine-run.sh already runs the tests as
// "nobody" when started by root.

#include "rules/RuleFolder.h"
#include "rules/RuleFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zelmar::test {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
void giveToUser(const fs::path&)
{
}

bool writable(const fs::path& dir)
{
    const fs::path probe = dir / "probe.tmp";
    const bool created = static_cast<bool>(std::ofstream(probe));
    std::error_code ec;
    fs::remove(probe, ec);
    return created;
}

// False where that cannot be done: on Windows itself it needs an access list,
// and under wine run as root the mode does not stop root.
bool setWritable(const fs::path& dir, bool on)
{
    using UnixName = char*(CDECL*)(const wchar_t*);
    using UnixSpawn = LONG(CDECL*)(char* const*, int);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    const auto unixSpawn = reinterpret_cast<UnixSpawn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll"), "__wine_unix_spawnvp")));
    if (unixName == nullptr || unixSpawn == nullptr)
        return false;
    char* name = unixName(dir.c_str());
    if (name == nullptr)
        return false;
    std::string program = "/bin/chmod";
    std::string mode = on ? "0755" : "0555";
    std::string path = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    char* const argv[] = { program.data(), mode.data(), path.data(), nullptr };
    return unixSpawn(argv, TRUE) == 0 // waits for chmod to finish
        && writable(dir) == on;
}
#else
constexpr uid_t Nobody = 65534;

bool asRoot()
{
    return ::geteuid() == 0;
}

// Lets the chosen user write into `dir`.
void giveToUser(const fs::path& dir)
{
    if (asRoot() && ::chown(dir.c_str(), Nobody, Nobody) != 0)
        throw std::runtime_error("chown failed");
}

bool writable(const fs::path& dir)
{
    return ::access(dir.c_str(), W_OK) == 0;
}

bool setWritable(const fs::path& dir, bool on)
{
    fs::permissions(dir, fs::perms(on ? 0755 : 0555));
    return true;
}
#endif

struct Outcome {
    RuleFolderChoice choice;
    bool programDirWritable = false;
    bool dataHomeWritable = false;
};

// The fields joined by NUL bytes: what a child process sends back.
std::string encode(const Outcome& o)
{
    std::string s
        = o.choice.folder + '\0' + (o.programDirWritable ? '1' : '0') + (o.dataHomeWritable ? '1' : '0');
    for (const std::string& r : o.choice.reports)
        s += '\0' + r;
    return s;
}

Outcome decode(const std::string& s)
{
    std::vector<std::string> parts(1);
    for (char c : s) {
        if (c == '\0')
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    Outcome o;
    o.choice.folder = parts.at(0);
    o.programDirWritable = parts.at(1).at(0) == '1';
    o.dataHomeWritable = parts.at(1).at(1) == '1';
    o.choice.reports.assign(parts.begin() + 2, parts.end());
    return o;
}

Outcome chooseAsUser(const RuleFolderPlaces& places)
{
    auto choose = [&] {
        Outcome o;
        o.programDirWritable = writable(PathFromUtf8(places.programDir));
        o.dataHomeWritable = writable(PathFromUtf8(places.dataHome));
        o.choice = ChooseRuleFolder(places);
        return encode(o);
    };
#ifdef _WIN32
    return decode(choose());
#else
    if (!asRoot())
        return decode(choose());
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(3);
        const std::string out = choose();
        const bool sent = ::write(pipeFds[1], out.data(), out.size()) == static_cast<ssize_t>(out.size());
        ::_exit(sent ? 0 : 4);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the child choosing as nobody failed");
    return decode(out);
#endif
}

enum class Where { ProgramDir, DataHome, HomeDefault };

struct Case {
    const char* name;
    bool programWritable;
    bool programHoldsAFile; // the win file
    const char* dataHome; // "set", "" (unset) or "relative"
    bool dataHomeWritable;
    const char* dataHolds; // "", "lost", "both", or "folder" (an empty, read-only zelmar folder)
    bool examplesShipped;
    Where expected;
    bool examplesCopied;
    const char* report; // what a report must contain, or nullptr for none
};

const Case Cases[] = {
    { "portableWhereTheUserMayWrite", true, false, "set", true, "", false, Where::ProgramDir, false,
        nullptr },
    // root running the installed program must not leave rule files in /usr/bin
    { "installedFolderGetsNoFilesFromAUserWhoMayWriteThere", true, false, "set", true, "", true,
        Where::DataHome, true, nullptr },
    { "portableWinsInUnwritableFolderHoldingAFile", false, true, "set", true, "", true, Where::ProgramDir,
        false, nullptr },
    { "installedFirstStartGetsTheExamples", false, false, "set", true, "", true, Where::DataHome, true,
        nullptr },
    { "installedWithoutXdgDataHomeUsesLocalShare", false, false, "", true, "", true, Where::HomeDefault, true,
        nullptr },
    { "relativeXdgDataHomeIsIgnored", false, false, "relative", true, "", true, Where::HomeDefault, true,
        nullptr },
    { "installedLaterStartKeepsTheUsersFiles", false, false, "set", true, "both", true, Where::DataHome,
        false, nullptr },
    { "installedMissingFileIsNotReplacedByAnExample", false, false, "set", true, "lost", true,
        Where::DataHome, false, nullptr },
    { "installedWithoutShippedExamplesStartsEmpty", false, false, "set", true, "", false, Where::DataHome,
        false, "规则文件在 " },
    { "unwritableDataHomeIsReported", false, false, "set", false, "", true, Where::DataHome, false,
        "无法创建存放规则文件的文件夹" },
    { "unwritableDataFolderIsReported", false, false, "set", true, "folder", true, Where::DataHome, false,
        "无法把示例规则复制到" },
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class ChooseRuleFolderCase : public ::testing::TestWithParam<Case> { };

TEST_P(ChooseRuleFolderCase, choosesAndPrepares)
{
    const Case& c = GetParam();
    TempFolder top;
    fs::permissions(top.path, fs::perms(0755));
    const fs::path zelmarData = top.path / "data" / SystemDataFolder.name;
    struct Writable { // so that the folder can be removed afterwards
        std::vector<fs::path> dirs;
        ~Writable()
        {
            for (const fs::path& dir : dirs)
                if (fs::exists(dir))
                    setWritable(dir, true);
        }
    } restore { { top.path / "bin", top.path / "data", zelmarData } };
    const fs::path program = top.path / "bin";
    const fs::path examples = top.path / "share" / "examples";
    const fs::path data = top.path / "data";
    const fs::path home = top.path / "home";
    for (const fs::path& dir : { program, data, home })
        fs::create_directories(dir);
    giveToUser(home);

    const std::string exampleWin = "1,1,2,3";
    const std::string exampleLost = "1,1,2,3\r\n2,2,4,6";
    if (c.examplesShipped) {
        fs::create_directories(examples);
        writeFile(examples / WinFileName, exampleWin);
        writeFile(examples / LostFileName, exampleLost);
    }
    if (c.programHoldsAFile)
        writeFile(program / WinFileName, "5");
    const std::string dataHolds = c.dataHolds;
    if (!dataHolds.empty())
        fs::create_directory(zelmarData);
    if (dataHolds == "both")
        writeFile(zelmarData / WinFileName, "7,7");
    if (dataHolds == "both" || dataHolds == "lost")
        writeFile(zelmarData / LostFileName, "9");
    bool lockedAsAsked = true;
    if (dataHolds == "folder")
        lockedAsAsked &= setWritable(zelmarData, false);
    else if (!dataHolds.empty())
        giveToUser(zelmarData);
    if (c.programWritable)
        giveToUser(program);
    lockedAsAsked &= setWritable(program, c.programWritable);
    if (c.dataHomeWritable)
        giveToUser(data);
    lockedAsAsked &= setWritable(data, c.dataHomeWritable);
    if (!lockedAsAsked)
        GTEST_SKIP() << "folders cannot be made read-only here";

    RuleFolderPlaces places;
    places.programDir = program.string();
    places.examplesDir = examples.string();
    places.dataHome = std::string(c.dataHome) == "set" ? data.string()
        : std::string(c.dataHome) == "relative"        ? "data"
                                                       : "";
    places.home = home.string();
    const Outcome o = chooseAsUser(places);

    ASSERT_EQ(o.programDirWritable, c.programWritable) << "the program folder is not as the case says";
    if (std::string(c.dataHome) == "set") {
        ASSERT_EQ(o.dataHomeWritable, c.dataHomeWritable) << "the data folder is not as the case says";
    }

    const fs::path expected = c.expected == Where::ProgramDir ? program
        : c.expected == Where::DataHome                       ? zelmarData
                                        : home / SystemDataFolder.underHome / SystemDataFolder.name;
    EXPECT_EQ(PathFromUtf8(o.choice.folder).lexically_normal(), expected.lexically_normal());
    if (c.report) {
        ASSERT_EQ(o.choice.reports.size(), 1u);
        EXPECT_NE(o.choice.reports[0].find(c.report), std::string::npos) << o.choice.reports[0];
        // A failure says why; the empty files say where they are.
        const bool failed = o.choice.reports[0].find("无法") == 0;
        EXPECT_NE(o.choice.reports[0].find(failed ? "没有权限" : o.choice.folder + "。"), std::string::npos)
            << o.choice.reports[0];
    } else {
        EXPECT_EQ(o.choice.reports, std::vector<std::string> {});
    }

    if (c.expected == Where::ProgramDir) {
        EXPECT_FALSE(fs::exists(zelmarData)) << "a portable program leaves the data folder alone";
        EXPECT_FALSE(fs::exists(program / LostFileName)) << "the choice itself creates no rule file";
        return;
    }
    EXPECT_FALSE(fs::exists(program / WinFileName));
    if (c.examplesCopied) {
        EXPECT_EQ(readFile(expected / WinFileName), exampleWin);
        EXPECT_EQ(readFile(expected / LostFileName), exampleLost);
#ifndef _WIN32 // a folder under %LOCALAPPDATA% is the user's by its access list
        EXPECT_EQ(fs::status(expected).permissions(), fs::perms(0700))
            << "the data folder is the user's alone";
#endif
    } else if (dataHolds == "both") {
        EXPECT_EQ(readFile(expected / WinFileName), "7,7");
        EXPECT_EQ(readFile(expected / LostFileName), "9");
    } else {
        EXPECT_FALSE(fs::exists(expected / WinFileName));
        EXPECT_EQ(fs::exists(expected / LostFileName), dataHolds == "lost");
    }
}

INSTANTIATE_TEST_SUITE_P(Places, ChooseRuleFolderCase, ::testing::ValuesIn(Cases),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zelmar::test
