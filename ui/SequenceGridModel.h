#pragma once
// A table model over the state of one rule grid. The model stores nothing of
// its own: a cell's text, bold and colour are read from the grid state when
// the view paints the cell, so a loss table of thousands of rows costs only
// the rows on screen. The main window brackets each refill of the state with
// beginFill()/endFill() and reports each cell whose look changed.

#include "engine/SequenceGrid.h"

#include <QAbstractTableModel>
#include <QFont>

namespace zelmar {

class SequenceGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    SequenceGridModel(const SequenceGrid& grid, const QFont& cellFont, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void beginFill() { beginResetModel(); }
    void endFill() { endResetModel(); }
    // One cell's bold or colour changed.
    void cellChanged(int row, int col);
    // Every cell's colour changed.
    void allCellsChanged();

private:
    const SequenceGrid& m_grid;
    QFont m_font;
    QFont m_boldFont;
};

} // namespace zelmar
