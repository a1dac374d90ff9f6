#pragma once
#include <string>

namespace zelmar {

// The folder holding the running executable (where the rule files live),
// or argv0's folder when the system cannot say.
std::string executableDir(const char* argv0);

} // namespace zelmar
