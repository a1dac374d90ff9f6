#pragma once
// The rules of the analysis window: the win sequence and the loss table in
// grids, their risky cells coloured with the reason in a tooltip, and what
// the colours mean.

#include "sim/Exact.h"
#include "ui/analysis/RuleReview.h"

#include <QGroupBox>

class QTableView;

namespace zelmar {

class RiskGridModel;

class RulePanel : public QGroupBox {
    Q_OBJECT
public:
    explicit RulePanel(QWidget* parent = nullptr);

    // The rules of a review, or empty grids when it has none.
    void show(const RuleReview& review);
    // Tints the cells by the chance a round reaches them; none clears it.
    void showReach(const std::vector<sim::CellReach>& win, const std::vector<sim::CellReach>& lost);

private:
    RiskGridModel* m_winModel;
    RiskGridModel* m_lostModel;
    QTableView* m_winGrid;
    QTableView* m_lostGrid;
};

} // namespace zelmar
