#pragma once
// The right side of the analysis window: the charts of a run, the table of
// its figures with the zelmar-sim command line that gives the same numbers,
// and the table of a comparison with rule folder B.

#include <QTabWidget>

class QLabel;
class QTableView;

namespace zelmar {

class ResultTableModel;
class RunCharts;
struct RunOutcome;

class ResultTabs : public QTabWidget {
    Q_OBJECT
public:
    explicit ResultTabs(QWidget* parent = nullptr);

    RunCharts& charts() const { return *m_charts; }
    void clear();
    // The figures of a finished run.
    void showRun(const RunOutcome& outcome);

private:
    RunCharts* m_charts;
    ResultTableModel* m_results;
    QTableView* m_resultTable;
    ResultTableModel* m_compareResults;
    QTableView* m_compareTable;
    QLabel* m_command;
};

} // namespace zelmar
