#pragma once
// One rule grid of the analysis window: the numbers of the rule as the
// calculator shows them (read from the engine's grid state when a cell is
// painted), with the risky cells marked: a loss cycle in red, a loop that
// costs nothing in amber, a cell no round reaches greyed out. A marked
// cell's tooltip says why. Once the exact figures are in, every other cell
// is tinted blue by the chance that a round reaches it, deeper for the
// likelier, and every tooltip gives that chance.

#include "engine/SequenceGrid.h"
#include "sim/Exact.h"
#include "ui/SequenceGridModel.h"
#include "ui/analysis/RuleReview.h"

#include <QColor>
#include <QFont>

#include <map>
#include <utility>

namespace zelmar {

// The background of a cell at that risk, also used by the window's legend.
QColor riskColor(Risk risk);
// The background of a cell a round reaches with that chance, and the chance
// as its tooltip says it.
QColor reachColor(double chance);
QString chanceText(double chance);

// The grid state a RiskGridModel shows, built before the model that reads it.
struct OwnedGrid {
    SequenceGrid grid;
};

// No Q_OBJECT: it adds no signals, and the grid state must come first.
class RiskGridModel : private OwnedGrid, public SequenceGridModel {
public:
    RiskGridModel(const QFont& cellFont, QObject* parent = nullptr);

    // Shows a rule with its risky cells; a null rule empties the grid.
    void showWin(WinSeqPtr seq, const std::vector<RiskyCell>& cells);
    void showLost(LostTablePtr table, const std::vector<RiskyCell>& cells);

    // Tints each cell by the chance that a round reaches it, worked out
    // exactly, with the figure in its tooltip; none clears the tints.
    void showReach(const std::vector<sim::CellReach>& cells);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Mark {
        Risk risk;
        QString why; // one line per reason
    };
    void setMarks(const std::vector<RiskyCell>& cells);
    const Mark* markAt(const QModelIndex& index) const;

    std::map<std::pair<int, int>, Mark> m_marks;
    std::map<std::pair<int, int>, double> m_reach;
    QFont m_boldFont;
};

} // namespace zelmar
