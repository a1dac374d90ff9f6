#pragma once
// What the window tests share: a folder of rule files, a catcher that answers
// the modal dialogs a click opens from inside their event loops, a recorder
// for the web addresses the program asks the desktop to open, and a compact
// description of the marks a grid shows.

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <QElapsedTimer>
#include <functional>
#include <vector>

class QAbstractItemModel;
class QWidget;

// A temporary folder holding winText.txt and lostText.txt.
class RuleFolder {
public:
    RuleFolder(const QByteArray& winText, const QByteArray& lostText);
    QString path() const { return m_dir.path(); }
    QString file(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QByteArray read(const char* name) const;
    void write(const char* name, const QByteArray& bytes) const;
    // Puts a folder where the rule file was, so that it can be neither read nor replaced.
    void blockFile(const char* name) const;

private:
    QTemporaryDir m_dir;
};

// Runs one handler per modal dialog, in the order the dialogs appear, also
// for dialogs opened from inside a handler. A dialog that nobody expected,
// or that a handler left open, is recorded and closed so that no test hangs.
class ModalCatcher : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;
    ModalCatcher();
    ModalCatcher& then(Handler handler);
    // Empty when every handler ran and no dialog came unexpected.
    QStringList problems() const;

private:
    void poll();
    struct Seen {
        QPointer<QWidget> widget;
        QElapsedTimer since;
    };
    std::vector<Handler> m_handlers;
    std::vector<Seen> m_seen;
    QStringList m_problems;
};

#define CHECK_DIALOGS(catcher) \
    QVERIFY2((catcher).problems().isEmpty(), qPrintable((catcher).problems().join(QLatin1String("; "))))

// Handlers for the program's message boxes. A notice has no icon, the
// program's title and one OK button; a question has no icon and Yes preselected.
ModalCatcher::Handler notice(QString* text);
ModalCatcher::Handler question(QMessageBox::StandardButton answer, QString* prompt, QString* title);

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder();
    ~UrlRecorder() override;
    QList<QUrl> urls;
public slots:
    void openUrl(const QUrl& url) { urls << url; }
};

// The cells of a grid that have a look of their own, as "row,col:bold red"
// items separated by blanks; "all:black" when every cell is plain black.
QString gridLooks(const QAbstractItemModel& model);

// Clicks a menu item through the menu bar, as the user does.
void clickMenuItem(QWidget* window, const QString& menu, const QString& item);
