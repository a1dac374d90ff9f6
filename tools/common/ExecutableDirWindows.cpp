#include "tools/common/ExecutableDir.h"

#include "rules/Utf8Path.h"
#include "rules/WindowsText.h"

#include <string>
#include <windows.h>

namespace zelmar {

std::string executableDir(const char* argv0)
{
    namespace fs = std::filesystem;
    // The wide name, whatever the code page; grown until it fits.
    std::wstring self(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (n == 0) {
            std::error_code ec;
            return Utf8FromPath(fs::absolute(PathFromUtf8(argv0 ? argv0 : "."), ec).parent_path());
        }
        if (n < self.size()) {
            self.resize(n);
            break;
        }
        self.resize(self.size() * 2);
    }
    return Utf8FromPath(fs::path(self).parent_path());
}

} // namespace zelmar
