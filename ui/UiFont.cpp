#include "ui/UiFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace zelmar {

const QString& songFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        // SimSun is the Latin name under which 宋体 is sometimes registered.
        for (const QString& wanted :
            { QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN") }) {
            if (installed.contains(wanted, Qt::CaseInsensitive))
                return wanted;
        }
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (!chinese.isEmpty())
            return chinese.first();
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QFont songFont(qreal pointSize, bool bold)
{
    QFont font(songFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace zelmar
