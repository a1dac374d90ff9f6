#include "engine/Int16.h"

namespace zelmar {

void throwOverflow(const char* what, long value)
{
    throw OverflowError(
        std::string("溢出：") + what + "的结果 " + decimal(value) + " 超出了 -32768 到 32767 的范围");
}

std::string decimal(long value)
{
    return std::to_string(value);
}

} // namespace zelmar
