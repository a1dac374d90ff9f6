#pragma once
// The window of zelmar-analysis, "Zelmar 策略分析": what a progression can
// cost, for a player who never opens a terminal. At the top, the rule folder
// and the exact check of its rules in plain words; on the left, the two
// rules in grids with their risky cells marked, and the simulation panel; on
// the right, the charts that grow while a run goes on and the table of its
// figures; at the bottom, the progress and the exports. The window computes
// nothing itself: the rules come from reviewRules(), read on a worker thread,
// the figures from the run job, which plays them as zelmar-sim does.

#include "ui/analysis/RuleReview.h"

#include <QMainWindow>

#include <string>
#include <thread>
#include <vector>

class QLabel;
class QPushButton;
class QSettings;

namespace zelmar {

class ResultTabs;
class RulePanel;
class RunBar;
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

    // Reads the rules of another folder on a worker thread and shows them
    // (a run under way keeps its own); rulesShown() follows.
    void openFolder(const std::string& folder);
    // Start writing the last run's rounds, or the charts; false when there
    // is nothing to write yet or a job is under way.
    bool exportCsv(const QString& path);
    bool exportCharts(const QString& path);

    const RunJob& job() const { return *m_job; }
    const RuleReview& review() const { return m_review; }

signals:
    void rulesShown();
    void runFinished();
    void csvExported();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showReview(RuleReview review);
    void start();
    void onProgress();
    void onRunFinished();
    void onCsvFinished();
    void chooseFolder();
    void setStatus(const QString& text);
    void updateEnabled();

    QSettings& m_settings;
    std::vector<std::string> m_folderReports;
    RuleReview m_review;
    std::thread m_reader; // reading a folder's rules
    RunJob* m_job;

    QLabel* m_folder;
    QPushButton* m_openFolder;
    QPushButton* m_calculatorFolder;
    std::string m_calculatorFolderPath;
    QLabel* m_check;
    RulePanel* m_rules;
    SimulationPanel* m_panel;
    ResultTabs* m_tabs;
    RunBar* m_bar;
};

} // namespace zelmar
