#pragma once
// For the Windows builds only: UTF-8 to and from the wide strings of the
// Win32 API, and Win32 error codes as the errno values the program reports.

#include <string>
#include <string_view>

namespace zelmar::win {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// The errno value closest to a GetLastError() code; EIO when none fits.
int ErrnoFromError(unsigned long error);
// The same for the calling thread's last error.
int LastErrno();

} // namespace zelmar::win
