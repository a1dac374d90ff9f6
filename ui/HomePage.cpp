#include "ui/HomePage.h"

#include <QDesktopServices>
#include <QUrl>

namespace zelmar {

void OpenHomePage(QWidget* /*owner*/)
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(HomePageUrl)));
}

} // namespace zelmar
