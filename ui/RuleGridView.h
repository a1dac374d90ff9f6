#pragma once
// The view of one rule grid: no header rows or columns, cells in the 15 pt
// Song face that cannot be edited, row heights fixed by that face, and
// columns 600 twips wide unless a value needs more room. After each fill the
// window hands fitColumns() the widest text of each column (in characters);
// a column whose values would be cut short grows to show them whole, also in
// bold, the way a marked cell is drawn.

#include <QTableView>

#include <vector>

namespace zelmar {

QTableView* makeRuleGridView(QWidget* parent, QAbstractItemModel* model);

// Columns whose widest text has more characters than 600 twips hold get the
// width that text needs; every other column keeps 600 twips. Costs one step
// per column, and a layout of the header only for the columns that grow.
void fitColumns(QTableView& view, const std::vector<int>& widestChars);

// Scrolls the view the least that shows the cell whole; a cell already in
// view, or outside the grid, leaves it where it is.
void showCell(QTableView& view, int row, int col);

} // namespace zelmar
