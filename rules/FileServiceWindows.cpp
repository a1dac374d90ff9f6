// The file service on Windows: wide-character Win32 calls on UTF-8 paths,
// bytes read and written exactly as they are (no text mode anywhere), and
// the same guarantees as on POSIX: a save is written and flushed beside the
// file and then moved over it in one step.

#include "rules/FileService.h"

#include "rules/WindowsText.h"

#include <cerrno>
#include <mutex>
#include <random>
#include <vector>
#include <windows.h>

namespace zelmar {

namespace {

using win::LastErrno;
using win::WideFromUtf8;

// The open handles; an fd is an index here.
class Handles {
public:
    int add(HANDLE h)
    {
        std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < m_handles.size(); ++i) {
            if (m_handles[i] == INVALID_HANDLE_VALUE) {
                m_handles[i] = h;
                return static_cast<int>(i);
            }
        }
        m_handles.push_back(h);
        return static_cast<int>(m_handles.size() - 1);
    }
    HANDLE get(int fd)
    {
        std::lock_guard lock(m_mutex);
        return fd >= 0 && static_cast<std::size_t>(fd) < m_handles.size() ? m_handles[fd]
                                                                          : INVALID_HANDLE_VALUE;
    }
    HANDLE take(int fd)
    {
        std::lock_guard lock(m_mutex);
        if (fd < 0 || static_cast<std::size_t>(fd) >= m_handles.size())
            return INVALID_HANDLE_VALUE;
        HANDLE h = m_handles[fd];
        m_handles[fd] = INVALID_HANDLE_VALUE;
        return h;
    }

private:
    std::mutex m_mutex;
    std::vector<HANDLE> m_handles;
};

Handles& handles()
{
    static Handles all;
    return all;
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Six characters of the same kind mkstemp uses.
std::string randomSuffix()
{
    static std::mutex mutex;
    static std::mt19937_64 generator { std::random_device {}() ^ ::GetTickCount64()
        ^ ::GetCurrentProcessId() };
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::lock_guard lock(mutex);
    std::string suffix(6, 'X');
    for (char& c : suffix)
        c = letters[generator() % (sizeof letters - 1)];
    return suffix;
}

// Why a file that may not be replaced is refused: held open by another
// program that does not share it, or truly not the user's to change.
int whyNotReplaced(const std::wstring& target)
{
    HANDLE h = ::CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? EBUSY : EACCES;
    ::CloseHandle(h);
    return EACCES;
}

} // namespace

int WindowsFileService::openRead(const std::string& path, int& fd)
{
    fd = -1;
    const std::wstring wide = WideFromUtf8(path);
    // Others may go on reading, writing or replacing the file meanwhile.
    HANDLE h
        = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const int e = LastErrno();
        return e == EACCES && isFolder(wide) ? EISDIR : e;
    }
    // A pipe, a console or a device is refused, as on POSIX.
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return EINVAL;
    }
    fd = handles().add(h);
    return 0;
}

int WindowsFileService::readAll(int fd, std::string& out)
{
    out.clear();
    HANDLE h = handles().get(fd);
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(h, buffer, sizeof buffer, &n, nullptr))
            return LastErrno();
        if (n == 0)
            return 0;
        out.append(buffer, n);
    }
}

int WindowsFileService::createTemp(const std::string& path, int& fd, std::string& tempPath)
{
    fd = -1;
    // A folder in the file's place could never be replaced: say so before
    // anything is written.
    if (isFolder(WideFromUtf8(path)))
        return EISDIR;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = path + SavingSuffix + randomSuffix();
        HANDLE h = ::CreateFileW(WideFromUtf8(candidate).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            fd = handles().add(h);
            tempPath = candidate;
            return 0;
        }
        if (const DWORD error = ::GetLastError(); error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return win::ErrnoFromError(error);
    }
    return EEXIST;
}

int WindowsFileService::write(int fd, std::string_view data)
{
    HANDLE h = handles().get(fd);
    while (!data.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        DWORD n = 0;
        if (!::WriteFile(h, data.data(), chunk, &n, nullptr))
            return LastErrno();
        data.remove_prefix(n);
    }
    return 0;
}

int WindowsFileService::flush(int fd)
{
    return ::FlushFileBuffers(handles().get(fd)) ? 0 : LastErrno();
}

int WindowsFileService::close(int fd)
{
    HANDLE h = handles().take(fd);
    if (h == INVALID_HANDLE_VALUE)
        return EBADF;
    return ::CloseHandle(h) ? 0 : LastErrno();
}

int WindowsFileService::move(const std::string& from, const std::string& to)
{
    const std::wstring source = WideFromUtf8(from);
    const std::wstring target = WideFromUtf8(to);
    constexpr DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (::MoveFileExW(source.c_str(), target.c_str(), flags))
        return 0;
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED)
        return win::ErrnoFromError(error);
    // A rule file marked read-only is still saved, as on POSIX, where the
    // folder and not the file decides: the mark is taken off for the move
    // and put back if the move fails all the same.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)
        && !(attributes & FILE_ATTRIBUTE_DIRECTORY)
        && ::SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        if (::MoveFileExW(source.c_str(), target.c_str(), flags))
            return 0;
        const int e = whyNotReplaced(target);
        ::SetFileAttributesW(target.c_str(), attributes);
        return e;
    }
    return whyNotReplaced(target);
}

void WindowsFileService::removeQuietly(const std::string& path)
{
    ::DeleteFileW(WideFromUtf8(path).c_str());
}

std::string WindowsFileService::saveTarget(const std::string& path)
{
    // Links are rare on Windows and need rights users lack; the file is
    // replaced where it is named.
    return path;
}

int WindowsFileService::checkLink(const std::string&)
{
    return 0;
}

FileService& defaultFileService()
{
    static WindowsFileService service;
    return service;
}

} // namespace zelmar
