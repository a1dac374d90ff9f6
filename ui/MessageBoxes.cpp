#include "MessageBoxes.h"

#include "UiFont.h"

#include <QMessageBox>

namespace zelmar {

namespace {
// The size of the system's message text, in the program's face.
constexpr qreal MessagePointSize = 10.5;
} // namespace

void showNotice(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(AppTitle), text, QMessageBox::Ok, parent);
    box.setFont(songFont(MessagePointSize));
    box.exec();
}

bool askYesNo(QWidget* parent, const QString& prompt, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Yes | QMessageBox::No, parent);
    box.setFont(songFont(MessagePointSize));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace zelmar
