#include "tools/common/ExecutableDir.h"

#include <filesystem>
#include <system_error>

namespace zelmar {

std::string executableDir(const char* argv0)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty())
        self = fs::absolute(argv0 ? argv0 : ".", ec);
    return self.parent_path().string();
}

} // namespace zelmar
