#include "tests/ui/UiTestSupport.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocumentFragment>
#include <QTimer>

namespace {
constexpr int PollMs = 10;

QString describe(const QWidget* w)
{
    auto* box = qobject_cast<const QMessageBox*>(w);
    return w->windowTitle() + ' ' + (box ? shownText(box) : w->objectName());
}

void checkPlainButtons(const QMessageBox* box)
{
    for (const QAbstractButton* button : box->buttons())
        QVERIFY2(button->icon().isNull(), qPrintable(button->text() + " has an icon"));
}
} // namespace

QString shownText(const QMessageBox* box)
{
    if (box->textFormat() != Qt::RichText)
        return box->text();
    // The breaks a box adds to wrap its lines are line separators; the
    // text's own line breaks end paragraphs.
    return QTextDocumentFragment::fromHtml(box->text())
        .toRawText()
        .remove(QChar::LineSeparator)
        .replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QStringList shownLines(const QMessageBox* box)
{
    return QTextDocumentFragment::fromHtml(box->text()).toPlainText().split(QLatin1Char('\n'));
}

QByteArray RuleFolder::read(const char* name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void RuleFolder::write(const char* name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", name);
}

ModalCatcher::ModalCatcher()
{
    QTimer::singleShot(PollMs, this, &ModalCatcher::poll);
}

void ModalCatcher::poll()
{
    // Due before the handler runs, to catch a dialog the handler opens.
    QTimer::singleShot(PollMs, this, &ModalCatcher::poll);
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (!modal || m_handling.contains(modal))
        return;
    if (m_handlers.isEmpty()) {
        m_problems << "unexpected dialog: " + describe(modal);
        modal->close();
        return;
    }
    m_handling << modal;
    m_handlers.takeFirst()(modal);
    m_handling.removeOne(modal.data());
    if (modal && modal->isVisible()) {
        m_problems << "left open: " + describe(modal);
        modal->close();
    }
}

void checkCentredOverOwner(const QWidget* dialog)
{
    const QWidget* owner = dialog->parentWidget()->window();
    const QPointF off = QRectF(dialog->frameGeometry()).center() - QRectF(owner->frameGeometry()).center();
    QVERIFY2(qAbs(off.x()) <= 2 && qAbs(off.y()) <= 2,
        qPrintable(QString::asprintf("%s is %g, %g px off the centre of %s", qPrintable(describe(dialog)),
            off.x(), off.y(), qPrintable(owner->objectName()))));
}

void checkCloseBoxOnly(const QWidget* dialog)
{
    const Qt::WindowFlags flags = dialog->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    const Qt::WindowFlags asked = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint;
    QVERIFY2((flags & asked) == asked, qPrintable(describe(dialog)));
    QVERIFY2(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)),
        qPrintable(describe(dialog)));
}

ModalCatcher::Handler notice(QString* text)
{
    return [text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY2(box, qPrintable(describe(w)));
        *text = shownText(box);
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        checkPlainButtons(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Zelmar V1.0版"));
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        checkCloseBoxOnly(box);
        checkCentredOverOwner(box);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    };
}

ModalCatcher::Handler question(QMessageBox::StandardButton answer, QString* titleAndPrompt)
{
    return [=](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY2(box, qPrintable(describe(w)));
        *titleAndPrompt = describe(w);
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QCOMPARE(box->button(QMessageBox::Yes)->text() + box->button(QMessageBox::No)->text(),
            QStringLiteral("是否"));
        checkPlainButtons(box);
        checkCloseBoxOnly(box);
        checkCentredOverOwner(box);
        QTest::mouseClick(box->button(answer), Qt::LeftButton);
    };
}

void click(const QObject* parent, const char* button)
{
    QTest::mouseClick(child<QPushButton>(parent, button), Qt::LeftButton);
}

void clickMenuItem(QMainWindow* window, const char* menu, const char* item)
{
    auto* popup = child<QMenu>(window, menu);
    const QRect title = window->menuBar()->actionGeometry(popup->menuAction());
    QTest::mouseClick(window->menuBar(), Qt::LeftButton, {}, title.center());
    QTRY_VERIFY(popup->isVisible());
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(child<QAction>(popup, item)).center());
}

QStringList geometries(const QWidget& window, const QStringList& controls)
{
    QStringList shown;
    for (const QString& name : controls) {
        const QRect r = child(&window, qPrintable(name))->geometry();
        shown << QString::asprintf("%s %d,%d %dx%d", qPrintable(name), r.x(), r.y(), r.width(), r.height());
    }
    return shown;
}

namespace {

// Where a control shows on its window. A label is only where its letters
// are: its background is see-through, so the rest of its box covers nothing.
QRect shownRect(const QWidget& window, const QWidget* w)
{
    const QRect box(w->mapTo(&window, QPoint(0, 0)), w->size());
    const auto* label = qobject_cast<const QLabel*>(w);
    if (!label || label->alignment() != (Qt::AlignLeft | Qt::AlignTop))
        return box;
    const QFontMetrics fm(label->font());
    const QRect ink = fm.tightBoundingRect(label->text());
    const QRect inside = label->contentsRect();
    return ink.translated(box.topLeft() + inside.topLeft() + QPoint(0, fm.ascent()));
}

// The room a control leaves its text: a label all of itself, a button or a
// box less its frame and margins.
QRect textRoom(const QWidget* w)
{
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(w))
        return box->contentsRect().marginsRemoved(box->textMargins());
    return w->contentsRect();
}

} // namespace

QStringList layoutFaults(const QWidget& window, const QStringList& controls, const QStringList& panels)
{
    QStringList faults;
    const auto shown
        = [&](const QString& name) { return shownRect(window, child(&window, qPrintable(name))); };
    for (const QString& name : controls) {
        if (!window.rect().contains(shown(name)))
            faults << name + " is not wholly inside the window";
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect r = shown(controls[i]);
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            if (r.intersects(shown(controls[j])))
                faults << controls[i] + " overlaps " + controls[j];
        }
        for (const QString& panel : panels) {
            const QRect p = shown(panel);
            if (p.intersects(r) && !p.contains(r))
                faults << controls[i] + " lies partly on " + panel;
        }
    }
    for (const QString& name : controls) {
        const QWidget* w = child(&window, qPrintable(name));
        const QString text = w->property("text").toString();
        if (text.isEmpty())
            continue;
        const QString face = QFontInfo(w->font()).family();
        if (!QFontDatabase::writingSystems(face).contains(QFontDatabase::SimplifiedChinese))
            faults << name + " has no Chinese font (" + face + ")";
        // The letters as drawn from the top left of the room (a button or a
        // box centres them, which needs the same room).
        const QFontMetrics fm(w->font());
        QRect ink;
        for (const QString& line : text.split('\n'))
            ink |= fm.tightBoundingRect(line);
        const QRect room = textRoom(w);
        if (ink.right() >= room.width() || fm.ascent() + ink.bottom() >= room.height())
            faults << QString::asprintf("%s cuts its text: letters %dx%d in %dx%d", qPrintable(name),
                ink.right() + 1, fm.ascent() + ink.bottom() + 1, room.width(), room.height());
    }
    return faults;
}

QString tabCycle(int tabs)
{
    QStringList order { QApplication::focusWidget()->objectName() };
    for (int i = 0; i < tabs; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    return order.join(' ');
}

QString gridLooks(const QAbstractItemModel& model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        rows << QString();
        for (int c = 0; c < model.columnCount(); ++c) {
            const QVariant fg = model.index(r, c).data(Qt::ForegroundRole);
            const QColor color = fg.value<QBrush>().color();
            const QChar look = !fg.isValid() ? 'n' : color == Qt::red ? 'r' : color == Qt::black ? 'k' : 'x';
            rows.last() += model.index(r, c).data(Qt::FontRole).value<QFont>().bold() ? look.toUpper() : look;
        }
    }
    return rows.join('|');
}
