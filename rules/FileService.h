#pragma once
// The file operations the rule files need, one call per step, so that tests
// can make any single step fail. Each call returns 0 or an errno value.
// Nothing stays open between two reads or saves.

#include <string>
#include <string_view>

namespace zelmar {

// What a save's new file is called until it is moved over the rule file:
// the rule file's name, this, and six random characters.
inline constexpr const char* SavingSuffix = ".saving-";

class FileService {
public:
    virtual ~FileService() = default;

    // Opens the file for reading, creating it empty when it is missing, and
    // reads it whole.
    virtual int openRead(const std::string& path, int& fd) = 0; // step "create"/"open"
    virtual int readAll(int fd, std::string& out) = 0; // step "read"
    // Creates a new, empty, private file beside `path` for a safe save.
    virtual int createTemp(const std::string& path, int& fd, std::string& tempPath) = 0; // "create"
    virtual int write(int fd, std::string_view data) = 0; // "write"
    virtual int flush(int fd) = 0; // "flush"
    virtual int close(int fd) = 0;
    virtual int move(const std::string& from, const std::string& to) = 0; // "move"
    virtual void removeQuietly(const std::string& path) = 0;
    // The path a save should replace: a symbolic link is followed to its
    // target so that the link itself survives the save.
    virtual std::string saveTarget(const std::string& path) = 0;
    // 0 when `path` is not a link whose target is missing.
    virtual int checkLink(const std::string& path) = 0;
};

// The real one, on POSIX files.
class PosixFileService : public FileService {
public:
    int openRead(const std::string& path, int& fd) override;
    int readAll(int fd, std::string& out) override;
    int createTemp(const std::string& path, int& fd, std::string& tempPath) override;
    int write(int fd, std::string_view data) override;
    int flush(int fd) override;
    int close(int fd) override;
    int move(const std::string& from, const std::string& to) override;
    void removeQuietly(const std::string& path) override;
    std::string saveTarget(const std::string& path) override;
    int checkLink(const std::string& path) override;
};

// The real one, on Windows files through the wide-character API: paths are
// UTF-8, `fd` numbers the service's open handles.
class WindowsFileService : public FileService {
public:
    int openRead(const std::string& path, int& fd) override;
    int readAll(int fd, std::string& out) override;
    int createTemp(const std::string& path, int& fd, std::string& tempPath) override;
    int write(int fd, std::string_view data) override;
    int flush(int fd) override;
    int close(int fd) override;
    int move(const std::string& from, const std::string& to) override;
    void removeQuietly(const std::string& path) override;
    std::string saveTarget(const std::string& path) override;
    int checkLink(const std::string& path) override;
};

// The one the build is for (the build compiles only its source file).
#ifdef _WIN32
using SystemFileService = WindowsFileService;
#else
using SystemFileService = PosixFileService;
#endif

FileService& defaultFileService();

} // namespace zelmar
