#include "ui/SequenceGridModel.h"

#include <QBrush>
#include <QColor>

namespace zelmar {

namespace {
QVariant brushOf(CellColor color)
{
    switch (color) {
    case CellColor::Black:
        return QBrush(Qt::black);
    case CellColor::Red:
        return QBrush(QColor(255, 0, 0));
    case CellColor::Default:
        break;
    }
    return {};
}

const QList<int> StyleRoles { Qt::FontRole, Qt::ForegroundRole };
} // namespace

SequenceGridModel::SequenceGridModel(const SequenceGrid& grid, const QFont& cellFont, QObject* parent)
    : QAbstractTableModel(parent)
    , m_grid(grid)
    , m_font(cellFont)
    , m_boldFont(cellFont)
{
    m_boldFont.setBold(true);
}

int SequenceGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.rows();
}

int SequenceGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.cols();
}

QVariant SequenceGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(m_grid.text(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return static_cast<int>(Qt::AlignHCenter | Qt::AlignTop);
    case Qt::FontRole:
        return m_grid.style(index.row(), index.column()).bold ? m_boldFont : m_font;
    case Qt::ForegroundRole:
        return brushOf(m_grid.style(index.row(), index.column()).color);
    default:
        return {};
    }
}

Qt::ItemFlags SequenceGridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void SequenceGridModel::cellChanged(int row, int col)
{
    const QModelIndex cell = index(row, col);
    if (cell.isValid())
        emit dataChanged(cell, cell, StyleRoles);
}

void SequenceGridModel::allCellsChanged()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), StyleRoles);
}

} // namespace zelmar
