#pragma once
// Qt's own texts (the context menus of the text boxes, standard buttons) in
// Simplified Chinese, from the qtbase_zh_CN catalogue that comes with Qt's
// translations. The program's own texts are Chinese already and do not need
// the catalogue.

class QCoreApplication;

namespace zelmar {

// Installs the catalogue into the application. False when it is not
// installed on this machine; Qt's texts then stay in English.
bool loadChineseTranslations(QCoreApplication& app);

} // namespace zelmar
