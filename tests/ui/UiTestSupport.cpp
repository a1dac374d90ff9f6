#include "UiTestSupport.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QBrush>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int PollMs = 10;
constexpr int LeftOpenMs = 3000;

QString describe(QWidget* w)
{
    if (auto* box = qobject_cast<QMessageBox*>(w))
        return box->windowTitle() + QLatin1String(": ") + box->text();
    return w->windowTitle() + QLatin1String(" (") + w->objectName() + QLatin1Char(')');
}

void closeModal(QWidget* w)
{
    if (auto* dialog = qobject_cast<QDialog*>(w))
        dialog->reject();
    else
        w->close();
}
} // namespace

RuleFolder::RuleFolder(const QByteArray& winText, const QByteArray& lostText)
{
    write("winText.txt", winText);
    write("lostText.txt", lostText);
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

void RuleFolder::blockFile(const char* name) const
{
    QFile::remove(file(name));
    QDir(path()).mkdir(QString::fromLatin1(name));
}

ModalCatcher::ModalCatcher()
{
    QTimer::singleShot(PollMs, this, &ModalCatcher::poll);
}

ModalCatcher& ModalCatcher::then(Handler handler)
{
    m_handlers.push_back(std::move(handler));
    return *this;
}

QStringList ModalCatcher::problems() const
{
    return m_handlers.empty() ? m_problems
                              : m_problems + QStringList(QStringLiteral("an expected dialog never appeared"));
}

void ModalCatcher::poll()
{
    // Due before the handler runs, to catch a dialog the handler opens.
    QTimer::singleShot(PollMs, this, &ModalCatcher::poll);
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    std::erase_if(m_seen, [](const Seen& s) { return s.widget.isNull(); });
    const auto seen
        = std::find_if(m_seen.begin(), m_seen.end(), [&](const Seen& s) { return s.widget == modal; });
    if (seen != m_seen.end()) {
        if (seen->since.elapsed() > LeftOpenMs) {
            m_problems << QLatin1String("left open: ") + describe(modal);
            closeModal(modal);
        }
        return;
    }
    m_seen.push_back({ modal, {} });
    m_seen.back().since.start();
    if (m_handlers.empty()) {
        m_problems << QLatin1String("unexpected dialog: ") + describe(modal);
        closeModal(modal);
        return;
    }
    Handler handler = std::move(m_handlers.front());
    m_handlers.erase(m_handlers.begin());
    handler(modal);
}

ModalCatcher::Handler notice(QString* text)
{
    return [text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY2(box, qPrintable(w->objectName()));
        *text = box->text();
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->windowTitle(), QStringLiteral("Zelmar V1.0版"));
        QCOMPARE(box->buttons().size(), 1);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    };
}

ModalCatcher::Handler question(QMessageBox::StandardButton answer, QString* prompt, QString* title)
{
    return [=](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY2(box, qPrintable(w->objectName()));
        *prompt = box->text();
        *title = box->windowTitle();
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QTest::mouseClick(box->button(answer), Qt::LeftButton);
    };
}

UrlRecorder::UrlRecorder()
{
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
}

UrlRecorder::~UrlRecorder()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

QString gridLooks(const QAbstractItemModel& model)
{
    QStringList cells;
    bool allBlack = model.rowCount() > 0 && model.columnCount() > 0;
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int c = 0; c < model.columnCount(); ++c) {
            const QModelIndex i = model.index(r, c);
            QStringList look;
            if (model.data(i, Qt::FontRole).value<QFont>().bold())
                look << QStringLiteral("bold");
            const QVariant fg = model.data(i, Qt::ForegroundRole);
            if (fg.isValid()) {
                const QColor color = fg.value<QBrush>().color();
                look << (color == QColor(255, 0, 0) ? QStringLiteral("red")
                        : color == QColor(0, 0, 0)  ? QStringLiteral("black")
                                                    : color.name());
            }
            allBlack = allBlack && look == QStringList { QStringLiteral("black") };
            if (!look.isEmpty())
                cells << QStringLiteral("%1,%2:").arg(r).arg(c) + look.join(QLatin1Char(' '));
        }
    }
    return allBlack ? QStringLiteral("all:black") : cells.join(QLatin1Char(' '));
}

void clickMenuItem(QWidget* window, const QString& menu, const QString& item)
{
    QMenuBar* bar = qobject_cast<QMainWindow*>(window)->menuBar();
    const QList<QAction*> menus = bar->actions();
    const auto top = std::find_if(menus.begin(), menus.end(), [&](QAction* a) { return a->text() == menu; });
    QVERIFY2(top != menus.end(), qPrintable(menu));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(*top).center());
    QMenu* popup = (*top)->menu();
    QTRY_VERIFY(popup->isVisible());
    const QList<QAction*> items = popup->actions();
    const auto entry
        = std::find_if(items.begin(), items.end(), [&](QAction* a) { return a->text() == item; });
    QVERIFY2(entry != items.end(), qPrintable(item));
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(*entry).center());
}
