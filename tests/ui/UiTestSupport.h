#pragma once
// Shared by the window tests: a folder of rule files, a catcher that answers
// the modal dialogs a click opens from inside their event loops, a recorder
// of the web addresses handed to the desktop, and clicks and looks.

#include "calculator/Calculator.h"
#include "calculator/HeadlessView.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <functional>

class QAbstractItemModel;
class QMainWindow;

class RuleFolder {
public:
    RuleFolder(const QByteArray& winText, const QByteArray& lostText)
    {
        write("winText.txt", winText);
        write("lostText.txt", lostText);
    }
    QString path() const { return m_dir.path(); }
    QString file(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    // A calculator on the folder, for the rule editor.
    const zelmar::Calculator& calculator() const { return m_calculator; }
    QByteArray read(const char* name) const;
    void write(const char* name, const QByteArray& bytes) const;
    // A folder in the file's place: it can be neither read nor replaced.
    void blockFile(const char* name) const
    {
        QFile::remove(file(name));
        QDir().mkdir(file(name));
    }

private:
    QTemporaryDir m_dir;
    zelmar::HeadlessView m_view;
    zelmar::Calculator m_calculator { QFile::encodeName(m_dir.path()).toStdString(), m_view };
};

// One handler per modal dialog, in the order the dialogs appear (also those
// opened inside a handler). An unexpected dialog, or one a handler leaves
// open, is recorded and closed, so that no test hangs.
class ModalCatcher : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;
    ModalCatcher();
    ModalCatcher& then(Handler handler)
    {
        m_handlers << std::move(handler);
        return *this;
    }
    QStringList problems() const
    {
        return m_problems + QStringList(m_handlers.size(), "a dialog never appeared");
    }

private:
    void poll();
    QList<Handler> m_handlers;
    QWidgetList m_handling;
    QStringList m_problems;
};

#define CHECK_DIALOGS(catcher)                                                                               \
    QVERIFY2((catcher).problems().isEmpty(), qPrintable((catcher).problems().join("; ")))

// Whether a dialog's centre, frame included, lies within 2 px of the centre
// of the window it was opened over.
void checkCentredOverOwner(const QWidget* dialog);

// Whether a dialog asks the window manager for a title bar with a close box
// only (no minimise, no maximise) and, on Windows, a fixed frame.
void checkCloseBoxOnly(const QWidget* dialog);

// The text a message box shows, as plain text, as it was given to the box.
QString shownText(const QMessageBox* box);
// The lines the box shows it in.
QStringList shownLines(const QMessageBox* box);

// A notice: no icon, the program's title, OK only (确定). A question: no
// icon, Yes (是) and No (否) with Yes preselected. Both have buttons without
// icons and a close box only, are centred over their window, record what
// they show and press a button.
ModalCatcher::Handler notice(QString* text);
ModalCatcher::Handler question(QMessageBox::StandardButton answer, QString* titleAndPrompt);

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler("https", this, "openUrl"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("https"); }
    QList<QUrl> urls;
public slots:
    void openUrl(const QUrl& url) { urls << url; }
};

template <typename T = QWidget> T* child(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

void click(const QObject* parent, const char* button);
// Opens the menu of the menu bar and clicks its item, as the user does.
void clickMenuItem(QMainWindow* window, const char* menu, const char* item);
// What a user would see wrong with the named controls of a window: a control
// not wholly inside the window, two controls on top of each other (a control
// may lie on one of the `panels`, wholly), a text cut off in its control, or
// a font without Chinese characters. Empty when there is nothing.
QStringList layoutFaults(const QWidget& window, const QStringList& controls, const QStringList& panels = {});
// "name x,y wxh" of each control, to see that nothing moves.
QStringList geometries(const QWidget& window, const QStringList& controls);
// The names of the widgets that Tab reaches, starting with the focused one.
QString tabCycle(int tabs);
// A letter per cell, rows split by "|": n no colour of its own, k black,
// r red, x any other; upper case when bold.
QString gridLooks(const QAbstractItemModel& model);
