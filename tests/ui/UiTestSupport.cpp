#include "UiTestSupport.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFontDatabase>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int PollMs = 10;

QString describe(const QWidget* w)
{
    auto* box = qobject_cast<const QMessageBox*>(w);
    return w->windowTitle() + ' ' + (box ? box->text() : w->objectName());
}
} // namespace

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

ModalCatcher::Handler notice(QString* text)
{
    return [text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY2(box, qPrintable(describe(w)));
        *text = box->text();
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->windowTitle(), QStringLiteral("Zelmar V1.0版"));
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
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

QStringList looks(const QWidget& window, const QStringList& entries)
{
    QStringList shown;
    for (const QString& entry : entries) {
        const QWidget* w = child(&window, qPrintable(entry.section(' ', 0, 0)));
        const QRect r = w->geometry();
        const QFont font = w->font();
        shown << QString::asprintf(
            "%s %d,%d %dx%d", qPrintable(entry.section(' ', 0, 0)), r.x(), r.y(), r.width(), r.height());
        if (w->property("text").isValid())
            shown.last() += " '" + w->property("text").toString() + "'";
        if (w->testAttribute(Qt::WA_SetFont)) {
            const QString face = QFontInfo(font).family();
            const bool cjk = QFontDatabase::writingSystems(face).contains(QFontDatabase::SimplifiedChinese);
            shown.last() += QString::asprintf(
                " %gpt%s%s", font.pointSizeF(), font.bold() ? " bold" : "", cjk ? "" : " tofu");
        }
    }
    return shown;
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
