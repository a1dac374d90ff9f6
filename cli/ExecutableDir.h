#pragma once
#include <string>

namespace zelmar {

// The folder holding the running executable (where the rule files live),
// or the folder of the name it was started by when the system cannot say.
std::string executableDir();

} // namespace zelmar
