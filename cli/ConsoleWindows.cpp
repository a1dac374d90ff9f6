#include "cli/Console.h"

#include "rules/WindowsText.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>
#include <windows.h>

#include <shellapi.h> // after windows.h

namespace zelmar {

namespace {

void allowControlSequences(DWORD which)
{
    HANDLE h = ::GetStdHandle(which);
    DWORD mode = 0;
    if (h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &mode))
        ::SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

} // namespace

void PrepareConsole(int& argc, char**& argv)
{
    // The C runtime would turn LF into CR LF on output and drop CR and
    // Ctrl-Z on input; the tools' bytes are the same as on Linux.
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
    allowControlSequences(STD_ERROR_HANDLE); // the progress bar clears its line

    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return;
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    texts.clear();
    for (int i = 0; i < count; ++i)
        texts.push_back(win::Utf8FromWide(wide[i]));
    ::LocalFree(wide);
    pointers.clear();
    for (std::string& t : texts)
        pointers.push_back(t.data());
    pointers.push_back(nullptr);
    argc = count;
    argv = pointers.data();
}

bool StderrIsConsole()
{
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

} // namespace zelmar
