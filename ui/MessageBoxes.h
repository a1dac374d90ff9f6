#pragma once
// The two message boxes of the program: a notice with an OK button (确定)
// under the program's title, and a Yes/No question (是, 否) under a title of
// its own. Both are modal, show no icon, not even on their buttons, and are
// centred over their window. Their text is shown as rich text (text() gives
// it marked up), so that the lines of a long one that wraps are spaced. A
// text wraps where a reader would, after a punctuation mark or a blank and
// never inside a quoted item, to a width of at most 60 % of the screen.

#include <QString>

class QWidget;

namespace zelmar {

// Title of the main window and of every notice.
inline constexpr const char* AppTitle = "Zelmar V1.0版";

void showNotice(QWidget* parent, const QString& text);
// A notice under another program's title.
void showNotice(QWidget* parent, const QString& text, const QString& title);
// True for Yes, which is preselected.
bool askYesNo(QWidget* parent, const QString& prompt, const QString& title);

} // namespace zelmar
