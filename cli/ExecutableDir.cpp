#include "cli/ExecutableDir.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace zelmar {

std::string executableDir()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty())
        self = fs::absolute(program_invocation_name, ec);
    return self.parent_path().string();
}

} // namespace zelmar
