#include "ui/frmSetting.h"

#include "ui/EnterClicks.h"
#include "ui/MessageBoxes.h"
#include "ui/PlacedLabel.h"
#include "ui/Placement.h"
#include "ui/Twips.h"
#include "ui/UiFont.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

#include <limits>

namespace zelmar {

namespace {

QLabel* label(QWidget* parent, const char* name, const char* text, QRect geometry, qreal points)
{
    return placeLabel(new QLabel(QString::fromUtf8(text), parent), name, geometry, songFont(points));
}

QString lostBoxText(const std::string& fileText)
{
    QString text = QString::fromStdString(fileText);
    // A lone CR or LF left in the text also breaks the line in the box.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

} // namespace

frmSetting::frmSetting(const Calculator& calculator, QWidget* parent)
    : QDialog(parent)
    , m_calculator(calculator)
{
    setObjectName(QStringLiteral("frmSetting"));
    setWindowTitle(QStringLiteral("规则设定"));
    resize(twipsSize(9255, 5805));

    // The controls keep their places when the dialog is resized.
    QLabel* hint
        = label(this, "Label3", "数字必须以英文逗号分开，示例1,1,2,3", twipsRect(1440, 120, 7215, 255), 10.5);
    QPalette red = hint->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    hint->setPalette(red);
    label(this, "Label1", "赢：", twipsRect(720, 600, 630, 315), 15.75);
    label(this, "Label2", "输：", twipsRect(720, 1080, 630, 315), 15.75);

    txtWin = new QLineEdit(this);
    txtWin->setObjectName(QStringLiteral("txtWin"));
    txtWin->setGeometry(twipsRect(1320, 480, 7455, 495));
    txtWin->setFont(songFont(15));
    txtWin->setMaxLength(std::numeric_limits<int>::max());

    txtLost = new QPlainTextEdit(this);
    txtLost->setObjectName(QStringLiteral("txtLost"));
    txtLost->setGeometry(twipsRect(1320, 1080, 7455, 3615));
    txtLost->setFont(songFont(15));
    txtLost->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtLost->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtLost->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtLost->setTabChangesFocus(true);

    cmdSave = new QPushButton(QStringLiteral("保存"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setGeometry(twipsRect(3240, 4920, 2535, 615));
    cmdSave->setFont(songFont(15.75));
    cmdSave->setAutoDefault(false);
    clickOnEnter(cmdSave);
    connect(cmdSave, &QPushButton::clicked, this, &frmSetting::cmdSave_Click);

    setTabOrder(txtWin, txtLost);
    setTabOrder(txtLost, cmdSave);
    txtWin->setFocus();

    // Where the dialog will appear, so that a notice of the load step is
    // centred over that place.
    centreOverOwner(*this);
    Form_Load();
}

void frmSetting::Form_Load()
{
    ReadResult win;
    ReadResult lost;
    m_calculator.ReadRuleTexts(win, lost);
    txtWin->setText(QString::fromStdString(win.text));
    txtLost->setPlainText(lostBoxText(lost.text));
    txtLost->document()->setModified(false);
    m_win = { win.error ? std::nullopt : std::optional(std::move(win.text)), txtWin->text() };
    m_lost = { lost.error ? std::nullopt : std::optional(std::move(lost.text)), txtLost->toPlainText() };
    for (const auto& error : { win.error, lost.error }) {
        if (error)
            showNotice(this, QString::fromStdString(*error));
    }
}

QString frmSetting::winText() const
{
    return txtWin->text();
}

QString frmSetting::lostText() const
{
    QString text = txtLost->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

std::optional<std::string> frmSetting::toSave(
    const Loaded& loaded, const QString& shown, bool edited, const QString& text)
{
    if (!loaded.bytes)
        return edited ? std::optional(text.toStdString()) : std::nullopt;
    return shown == loaded.shown ? *loaded.bytes : text.toStdString();
}

SaveError frmSetting::save() const
{
    return m_calculator.SaveRuleTexts(toSave(m_win, txtWin->text(), txtWin->isModified(), winText()),
        toSave(m_lost, txtLost->toPlainText(), txtLost->document()->isModified(), lostText()));
}

// A failed save keeps the dialog open with everything typed, and says which
// file could not be written and why.
void frmSetting::cmdSave_Click()
{
    if (const auto error = save())
        showNotice(this, QString::fromStdString(*error));
    else
        accept();
}

// A dialog selects the whole text of the box it opens with, and the first key
// typed would wipe the win rule. The caret goes to the start instead.
void frmSetting::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible)
        txtWin->setCursorPosition(0);
}

void frmSetting::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        centreOverOwner(*this);
}

// Neither Enter nor Escape closes the editor: it closes by its button (which
// Enter clicks when it has the focus) or its close box only.
void frmSetting::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace zelmar
