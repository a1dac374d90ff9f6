#pragma once
// Enter (or the keypad's Enter) clicks the button that has the focus, as it
// does on Windows, also where the button is no default button of a dialog
// and is drawn as a plain one. Space clicks it as before. A held key clicks
// once.

class QAbstractButton;

namespace zelmar {

void clickOnEnter(QAbstractButton* button);

} // namespace zelmar
