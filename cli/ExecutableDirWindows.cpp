#include "cli/ExecutableDir.h"

#include "rules/Utf8Path.h"
#include "rules/WindowsText.h"

#include <string>
#include <windows.h>

namespace zelmar {

std::string executableDir()
{
    namespace fs = std::filesystem;
    // The wide name, whatever the code page; grown until it fits.
    std::wstring self(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (n == 0) {
            // The system cannot say: the current folder, as the name the
            // program was started by would most often give.
            std::error_code ec;
            return Utf8FromPath(fs::current_path(ec));
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
