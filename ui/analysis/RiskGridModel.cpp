#include "ui/analysis/RiskGridModel.h"

#include <QBrush>

namespace zelmar {

namespace {
// The more serious risk decides a cell's colour.
int weight(Risk risk)
{
    switch (risk) {
    case Risk::LossCycle:
        return 3;
    case Risk::EvenLoop:
        return 2;
    case Risk::Unreachable:
        return 1;
    }
    return 0;
}
} // namespace

QColor riskColor(Risk risk)
{
    switch (risk) {
    case Risk::LossCycle:
        return QColor(255, 160, 160);
    case Risk::EvenLoop:
        return QColor(255, 224, 140);
    case Risk::Unreachable:
        return QColor(224, 224, 224);
    }
    return {};
}

RiskGridModel::RiskGridModel(const QFont& cellFont, QObject* parent)
    : SequenceGridModel(grid, cellFont, parent)
    , m_boldFont(cellFont)
{
    m_boldFont.setBold(true);
}

void RiskGridModel::showWin(WinSeqPtr seq, const std::vector<RiskyCell>& cells)
{
    beginFill();
    grid.fillWin(seq ? std::move(seq) : std::make_shared<const WinSeq>());
    setMarks(cells);
    endFill();
}

void RiskGridModel::showLost(LostTablePtr table, const std::vector<RiskyCell>& cells)
{
    beginFill();
    grid.fillLost(table ? std::move(table) : std::make_shared<const LostTable>());
    setMarks(cells);
    endFill();
}

void RiskGridModel::setMarks(const std::vector<RiskyCell>& cells)
{
    m_marks.clear();
    for (const RiskyCell& c : cells) {
        const QString why = QString::fromStdString(c.why);
        auto [it, added] = m_marks.try_emplace({ c.row, c.col }, Mark { c.risk, why });
        if (added || it->second.why.split('\n').contains(why))
            continue;
        it->second.why += '\n' + why;
        if (weight(c.risk) > weight(it->second.risk))
            it->second.risk = c.risk;
    }
}

const RiskGridModel::Mark* RiskGridModel::markAt(const QModelIndex& index) const
{
    const auto it = m_marks.find({ index.row(), index.column() });
    return it == m_marks.end() ? nullptr : &it->second;
}

QVariant RiskGridModel::data(const QModelIndex& index, int role) const
{
    const Mark* mark = checkIndex(index, CheckIndexOption::IndexIsValid) ? markAt(index) : nullptr;
    if (!mark)
        return SequenceGridModel::data(index, role);
    switch (role) {
    case Qt::FontRole:
        return mark->risk == Risk::LossCycle ? m_boldFont : SequenceGridModel::data(index, role);
    case Qt::BackgroundRole:
        return QBrush(riskColor(mark->risk));
    case Qt::ForegroundRole:
        return mark->risk == Risk::Unreachable ? QVariant(QBrush(QColor(128, 128, 128)))
                                               : SequenceGridModel::data(index, role);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return mark->why;
    default:
        return SequenceGridModel::data(index, role);
    }
}

} // namespace zelmar
