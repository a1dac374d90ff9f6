#pragma once
// The main window: five buttons that drive the round, the stake and score
// boxes, the two rule grids and the menus. It owns the round and the rule
// files, and shows the engine's effects as the engine's RoundView. Each click
// goes straight to the engine; the window keeps no rule of play of its own.

#include "engine/Round.h"
#include "engine/SequenceGrid.h"
#include "rules/RuleFiles.h"

#include <QMainWindow>

#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace zelmar {

class SequenceGridModel;

class frmMain : public QMainWindow, public RoundView {
    Q_OBJECT
public:
    // The rule files lie in ruleFolder; empty means where the program keeps
    // them: its own folder, or the user's data folder when installed.
    explicit frmMain(const QString& ruleFolder = {}, QWidget* parent = nullptr);
    ~frmMain() override;

    void ShowTotals(i16 score, i16 stake) override;
    void ShowCursor(const CursorMarks& cursor) override;
    void ClearMarks(Direction direction) override;
    void FillGrids(const WinSeqPtr& winSeq, const LostTablePtr& lostTable) override;
    void Notice(const std::string& text) override;
    void ReportFailure(const std::string& text) override;

private slots:
    void cmdWin_Click() { m_round.cmdWin_Click(); }
    void cmdLost_Click() { m_round.cmdLost_Click(); }
    void cmdBack_Click() { m_round.cmdBack_Click(); }
    void cmdReset_Click() { m_round.cmdReset_Click(); }
    void cmdSetting_Click();
    void mnuOper_Click();
    void mnuVersion_Click();
    void mnuGetNew_Click();

private:
    void Form_Load();
    void buildControls();
    void buildMenus();
    void repaintCells(const std::vector<SequenceGrids::Changed>& cells);

    std::vector<std::string> m_folderReports; // from choosing the rule folder, shown on load
    RuleFiles m_files;
    SequenceGrids m_grids;
    Round m_round;

    SequenceGridModel* m_winModel = nullptr;
    SequenceGridModel* m_lostModel = nullptr;
    QPushButton* cmdWin = nullptr;
    QPushButton* cmdLost = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdSetting = nullptr;
    QLineEdit* txtStake = nullptr;
    QLineEdit* txtScore = nullptr;
    QTableView* grdWin = nullptr;
    QTableView* grdLost = nullptr;
};

} // namespace zelmar
