#pragma once
// Shared by the window tests: a folder of rule files, a catcher that answers
// the modal dialogs a click opens from inside their event loops, a recorder
// of the web addresses handed to the desktop, and the marks of a grid as text.

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <vector>

class QAbstractItemModel;

class RuleFolder {
public:
    RuleFolder(const QByteArray& winText, const QByteArray& lostText);
    QString path() const { return m_dir.path(); }
    QString file(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QByteArray read(const char* name) const;
    void write(const char* name, const QByteArray& bytes) const;
    // A folder in the file's place: it can be neither read nor replaced.
    void blockFile(const char* name) const;

private:
    QTemporaryDir m_dir;
};

// One handler per modal dialog, in the order the dialogs appear (also those
// opened inside a handler). An unexpected dialog, or one a handler leaves
// open, is recorded and closed, so that no test hangs.
class ModalCatcher : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;
    ModalCatcher();
    ModalCatcher& then(Handler handler);
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

#define CHECK_DIALOGS(catcher)                                                                               \
    QVERIFY2((catcher).problems().isEmpty(), qPrintable((catcher).problems().join(QLatin1String("; "))))

// A notice: no icon, the program's title, OK only. A question: no icon, Yes
// and No with Yes preselected. Both record their texts and press a button.
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

// "row,col:bold red" for each cell with a look of its own; "all:black" when
// every cell is plain black.
QString gridLooks(const QAbstractItemModel& model);

// Opens the menu of the menu bar and clicks the item, as the user does.
void clickMenuItem(QWidget* mainWindow, const QString& menu, const QString& item);
