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
    : QAbstractTableModel(parent)
    , m_font(cellFont)
    , m_boldFont(cellFont)
{
    m_boldFont.setBold(true);
}

void RiskGridModel::showWin(WinSeqPtr seq, const std::vector<RiskyCell>& cells)
{
    beginResetModel();
    m_grid.fillWin(seq ? std::move(seq) : std::make_shared<const WinSeq>());
    setMarks(cells);
    endResetModel();
}

void RiskGridModel::showLost(LostTablePtr table, const std::vector<RiskyCell>& cells)
{
    beginResetModel();
    m_grid.fillLost(table ? std::move(table) : std::make_shared<const LostTable>());
    setMarks(cells);
    endResetModel();
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

int RiskGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.rows();
}

int RiskGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.cols();
}

QVariant RiskGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Mark* mark = markAt(index);
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(m_grid.text(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return static_cast<int>(Qt::AlignHCenter | Qt::AlignTop);
    case Qt::FontRole:
        return mark && mark->risk == Risk::LossCycle ? m_boldFont : m_font;
    case Qt::BackgroundRole:
        return mark ? QVariant(QBrush(riskColor(mark->risk))) : QVariant();
    case Qt::ForegroundRole:
        return mark && mark->risk == Risk::Unreachable ? QVariant(QBrush(QColor(128, 128, 128))) : QVariant();
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return mark ? QVariant(mark->why) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags RiskGridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace zelmar
