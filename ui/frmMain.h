#pragma once
// The main window: five buttons that drive the calculator, the stake and
// score boxes, the two rule grids and the menus. Each click goes straight to
// the calculator, which tells the window what to show; the window keeps no
// rule of play and no file of its own.

#include "calculator/Calculator.h"

#include <QMainWindow>

#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace zelmar {

class SequenceGridModel;

class frmMain : public QMainWindow, private CalculatorView {
    Q_OBJECT
public:
    // The rule files lie in ruleFolder. What choosing that folder had to
    // report is shown when the window loads, before the rules.
    explicit frmMain(const std::string& ruleFolder, std::vector<std::string> folderReports = {},
        QWidget* parent = nullptr);
    explicit frmMain(const QString& ruleFolder, QWidget* parent = nullptr);
    ~frmMain() override;

private slots:
    void cmdWin_Click() { play(Event::Win); }
    void cmdLost_Click() { play(Event::Loss); }
    void cmdBack_Click() { play(Event::Back); }
    void cmdReset_Click() { play(Event::Reset); }
    void cmdSetting_Click();
    void mnuOper_Click();
    void mnuVersion_Click();
    void mnuGetNew_Click();

private:
    void showTotals(i16 score, i16 stake) override;
    void cellsChanged(const std::vector<SequenceGrids::Changed>& cells) override;
    void beginFill() override;
    void endFill(const WinSeqPtr& winSeq, const LostTablePtr& lostTable) override;
    void notice(const std::string& text) override;
    void reportFailure(const std::string& text) override;

    void Form_Load();
    // A click or a reload, after which the cell the round stands on is
    // scrolled into view on the grid (or both) of its path.
    void play(Event event);
    void buildControls();
    void buildMenus();

    std::vector<std::string> m_folderReports; // shown on load
    Calculator m_calculator;

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
