// Loaded into an unpacked, untouched desktop program (zelmar or
// zelmar-analysis) with LD_PRELOAD by the package check, so that the program
// itself needs no test hook. As soon as the program's first event loop runs
// (and, in zelmar-analysis, its rules have been read on their worker thread),
// it prints the caption of the window that holds the rule grids ("window
// Zelmar V1.0版") and what the two grids show, one line per row ("grdWin
// 1,1,2,3"), or the text of a message box that is up instead, and ends the
// program: status 0 for grids, 1 for a message box or a missing grid.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QTextDocumentFragment>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void finish(int status)
{
    std::fflush(stdout);
    std::_Exit(status);
}

QTableView* findGrid(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* grid = top->findChild<QTableView*>(QLatin1String(name)))
            return grid;
    return nullptr;
}

// zelmar-analysis reads its rules on a worker thread and says so meanwhile.
bool rulesBeingRead()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* check = top->findChild<QLabel*>(QStringLiteral("lblCheck")))
            if (check->text() == QStringLiteral("正在读取规则文件……"))
                return true;
    return false;
}

void printGrids()
{
    if (rulesBeingRead()) {
        QTimer::singleShot(20, &printGrids);
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        const QString text = box->textFormat() == Qt::RichText
            ? QTextDocumentFragment::fromHtml(box->text()).toPlainText()
            : box->text();
        std::printf("message box: %s\n", text.toUtf8().constData());
        finish(1);
    }
    bool first = true;
    for (const char* name : { "grdWin", "grdLost" }) {
        const QTableView* grid = findGrid(name);
        if (!grid) {
            std::printf("no grid %s\n", name);
            finish(1);
        }
        if (first)
            std::printf("window %s\n", grid->window()->windowTitle().toUtf8().constData());
        first = false;
        const QAbstractItemModel* model = grid->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < model->columnCount(); ++col)
                cells << model->index(row, col).data().toString();
            std::printf("%s %s\n", name, cells.join(QLatin1Char(',')).toUtf8().constData());
        }
    }
    finish(0);
}

// Runs while the program's QApplication is being built: the call is queued
// and runs in the first event loop, after the window has loaded its rules.
void queueProbe()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &printGrids, Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(queueProbe)
