#pragma once
// The maker's web site: the address the menu item "获取最新版本" and the links
// of the help and about dialogs open in the user's browser.

class QWidget;

namespace zelmar {

inline constexpr const char* HomePageUrl = "https://quorin.example/";
// Shown, in blue, on the link labels.
inline constexpr const char* HomePageHost = "quorin.example";

// Asks the desktop to open the home page. Whether a browser came up is not
// checked and nothing is shown either way; the owner only names who asked.
void OpenHomePage(QWidget* owner);

} // namespace zelmar
