#pragma once
// The bottom of the analysis window: how far a run or an export has come,
// what the window has to say, and the two exports, which ask for a file
// name before they say it was chosen.

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zelmar {

struct RunOutcome;

class RunBar : public QWidget {
    Q_OBJECT
public:
    explicit RunBar(QWidget* parent = nullptr);

    void setStatus(const QString& text);
    // `done` of `total`; a busy bar while the total is unknown (total 0).
    void setProgress(long done, long total);
    void setExportsEnabled(bool enabled);
    // What a finished run came to, and how far it went.
    void showFinished(const RunOutcome& outcome);

signals:
    void csvChosen(const QString& path);
    void chartChosen(const QString& path);

private:
    QProgressBar* m_progress;
    QLabel* m_status;
    QPushButton* m_exportCsv;
    QPushButton* m_exportCharts;
};

} // namespace zelmar
