#include "rules/RuleFolder.h"
#include "rules/RuleFolderSystem.h"

#include "rules/Utf8Path.h"
#include "rules/WindowsText.h"

#include <cerrno>
#include <cstdlib>
#include <windows.h>

namespace zelmar {

const DataFolderNames SystemDataFolder { "AppData/Local", "Zelmar", "USERPROFILE" };

namespace {

std::string environment(const wchar_t* name)
{
    const wchar_t* value = ::_wgetenv(name);
    return value ? win::Utf8FromWide(value) : std::string();
}

} // namespace

RuleFolderPlaces RuleFolderPlacesFor(const std::string& programDir)
{
    RuleFolderPlaces places;
    places.programDir = programDir;
    places.examplesDir
        = Utf8FromPath((PathFromUtf8(programDir) / ZELMAR_EXAMPLES_FROM_BIN).lexically_normal());
    places.dataHome = environment(L"LOCALAPPDATA");
    places.home = environment(L"USERPROFILE");
    return places;
}

namespace system {

bool MayCreateFilesIn(const std::string& dir)
{
    if (dir.empty())
        return false;
    // Rights on Windows come from access lists, attributes and policies; the
    // one sure answer is to try: a hidden file, gone again when closed.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::wstring probe = win::WideFromUtf8(dir) + L"\\.zelmar-probe-"
            + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount64() + attempt);
        HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            return true;
        }
        if (const DWORD e = ::GetLastError(); e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

int MakeFolder(const std::string& dir)
{
    // Under %LOCALAPPDATA% a new folder is the user's alone by inheritance.
    return ::CreateDirectoryW(win::WideFromUtf8(dir).c_str(), nullptr) ? 0 : win::LastErrno();
}

int ReadWholeFile(const std::string& path, std::string& out)
{
    HANDLE h = ::CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return win::LastErrno();
    char buffer[4096];
    DWORD n = 0;
    BOOL ok;
    while ((ok = ::ReadFile(h, buffer, sizeof buffer, &n, nullptr)) && n > 0)
        out.append(buffer, n);
    const int e = ok ? 0 : win::LastErrno();
    ::CloseHandle(h);
    return e;
}

} // namespace system
} // namespace zelmar
