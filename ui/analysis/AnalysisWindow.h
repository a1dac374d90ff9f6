#pragma once
// The window of zelmar-analysis, "Zelmar 策略分析": what a progression can
// cost, for a player who never opens a terminal. At the top, the rule folder
// and the exact check of its rules in plain words; on the left, the two
// rules in grids with their risky cells marked, and the simulation panel; on
// the right, the charts that grow while a run goes on and the table of its
// figures; at the bottom, the progress and the exports. The window computes
// nothing itself: the rules come from reviewRules(), the figures from the
// run job, which plays and reports them as zelmar-sim does.

#include "ui/analysis/RuleReview.h"

#include <QMainWindow>

#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QSettings;
class QTableView;
class QTabWidget;

namespace zelmar {

class ResultTableModel;
class RiskGridModel;
class RunCharts;
class RunJob;
class SimulationPanel;

inline constexpr const char* AnalysisTitle = "Zelmar 策略分析";

class AnalysisWindow : public QMainWindow {
    Q_OBJECT
public:
    // `folder` is the calculator's rule folder, `reports` what choosing it
    // had to tell the user. The last run's choices and the window's size
    // are read from `settings` and written back to it.
    AnalysisWindow(const std::string& folder, std::vector<std::string> reports, QSettings& settings,
        QWidget* parent = nullptr);
    ~AnalysisWindow() override;

    // Shows the rules of another folder (a run under way keeps its own).
    void openFolder(const std::string& folder);
    // Start writing the last run's rounds, or the charts; false when there
    // is nothing to write yet or a job is under way.
    bool exportCsv(const QString& path);
    bool exportCharts(const QString& path);

    const RunJob& job() const { return *m_job; }
    const RuleReview& review() const { return m_review; }

signals:
    void runFinished();
    void csvExported();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* makeRulesBox();
    QWidget* makeResults();
    void start();
    void onProgress();
    void onRunFinished();
    void onCsvFinished();
    void chooseFolder();
    void askCsvPath();
    void askChartPath();
    void setStatus(const QString& text);
    void notice(const QString& text);
    void updateEnabled();

    QSettings& m_settings;
    std::vector<std::string> m_folderReports;
    RuleReview m_review;
    RunJob* m_job;

    QLabel* m_folder;
    QPushButton* m_openFolder;
    QPushButton* m_calculatorFolder;
    std::string m_calculatorFolderPath;
    QLabel* m_check;
    RiskGridModel* m_winModel;
    RiskGridModel* m_lostModel;
    QTableView* m_winGrid;
    QTableView* m_lostGrid;
    SimulationPanel* m_panel;
    QTabWidget* m_tabs;
    RunCharts* m_charts;
    ResultTableModel* m_results;
    QTableView* m_resultTable;
    ResultTableModel* m_compareResults;
    QTableView* m_compareTable;
    QLabel* m_command;
    QProgressBar* m_progress;
    QLabel* m_status;
    QPushButton* m_exportCsv;
    QPushButton* m_exportCharts;
};

} // namespace zelmar
