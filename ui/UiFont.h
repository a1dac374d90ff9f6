#pragma once
// All text of the program is set in one Song-style Chinese face: 宋体 where it
// is installed, else AR PL UMing CN (Debian's fonts-arphic-uming), else any
// installed face that covers Simplified Chinese. The family is picked once.

#include <QFont>
#include <QString>

namespace zelmar {

const QString& songFamily();
QFont songFont(qreal pointSize, bool bold = false);

} // namespace zelmar
