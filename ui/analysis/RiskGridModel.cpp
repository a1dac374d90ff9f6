#include "ui/analysis/RiskGridModel.h"

#include <QBrush>

#include <algorithm>
#include <cmath>

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

QColor reachColor(double chance)
{
    // From a faint tint at one round in a million to a full one at every round.
    const double depth = std::clamp((std::log10(std::max(chance, 1e-6)) + 6) / 6, 0.0, 1.0);
    return QColor(225 - static_cast<int>(95 * depth), 235 - static_cast<int>(60 * depth), 255);
}

QString chanceText(double chance)
{
    if (chance >= 0.001)
        return QString::number(chance * 100, 'f', 2) + '%';
    if (chance <= 0)
        return QStringLiteral("0");
    return QString::number(chance * 100, 'g', 3)
        + QStringLiteral("%（约 1/%1）").arg(std::llround(1 / chance));
}

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

void RiskGridModel::showReach(const std::vector<sim::CellReach>& cells)
{
    m_reach.clear();
    for (const sim::CellReach& c : cells)
        m_reach[{ c.row, c.col }] = c.chance;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void RiskGridModel::setMarks(const std::vector<RiskyCell>& cells)
{
    m_reach.clear();
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
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return SequenceGridModel::data(index, role);
    const Mark* mark = markAt(index);
    const auto reach = m_reach.find({ index.row(), index.column() });
    const bool reached = reach != m_reach.end();
    switch (role) {
    case Qt::FontRole:
        return mark && mark->risk == Risk::LossCycle ? m_boldFont : SequenceGridModel::data(index, role);
    case Qt::BackgroundRole:
        if (mark)
            return QBrush(riskColor(mark->risk));
        if (reached)
            return QBrush(reachColor(reach->second));
        return SequenceGridModel::data(index, role);
    case Qt::ForegroundRole:
        return mark && mark->risk == Risk::Unreachable ? QVariant(QBrush(QColor(128, 128, 128)))
                                                       : SequenceGridModel::data(index, role);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        QStringList lines;
        if (mark)
            lines << mark->why;
        if (reached)
            lines << QStringLiteral("一局走到这一格的机会（精确）：") + chanceText(reach->second);
        return lines.isEmpty() ? SequenceGridModel::data(index, role) : QVariant(lines.join('\n'));
    }
    default:
        return SequenceGridModel::data(index, role);
    }
}

} // namespace zelmar
