#include "ui/RuleGridView.h"

#include "ui/Twips.h"
#include "ui/UiFont.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <array>

namespace zelmar {

namespace {

constexpr qreal CellPoints = 15;
constexpr int ColumnWidth = 600; // twips
// "-32768" is the longest decimal text of a 16-bit value.
constexpr int MostChars = 6;

// Widths a column needs for a widest text of 0..MostChars characters: any
// digits, a minus sign in front, in the regular or the bold face, with the
// margins the view leaves around a cell's text and its grid line.
std::array<int, MostChars + 1> neededWidths(const QTableView& view)
{
    QFont bold = view.font();
    bold.setBold(true);
    const QFontMetrics faces[] { QFontMetrics(view.font()), QFontMetrics(bold) };
    const int margins = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1)
        + (view.showGrid() ? 1 : 0);
    std::array<int, MostChars + 1> widths {};
    for (int chars = 1; chars <= MostChars; ++chars) {
        int text = 0;
        for (const QFontMetrics& face : faces) {
            for (char digit = '0'; digit <= '9'; ++digit) {
                const QString digits(chars, QLatin1Char(digit));
                text = std::max({ text, face.horizontalAdvance(digits),
                    face.horizontalAdvance(QLatin1Char('-') + digits.left(chars - 1)) });
            }
        }
        widths[chars] = text + margins;
    }
    return widths;
}

} // namespace

QTableView* makeRuleGridView(QWidget* parent, QAbstractItemModel* model)
{
    auto* view = new QTableView(parent);
    const QFont font = songFont(CellPoints);
    view->setFont(font);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false); // Tab moves on to the next control
    QHeaderView* columns = view->horizontalHeader();
    columns->hide();
    columns->setMinimumSectionSize(1);
    columns->setDefaultSectionSize(px(ColumnWidth));
    columns->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    return view;
}

void fitColumns(QTableView& view, const std::vector<int>& widestChars)
{
    const auto needed = neededWidths(view);
    QHeaderView* columns = view.horizontalHeader();
    const int count = std::min(columns->count(), static_cast<int>(widestChars.size()));
    // While the header does not update, a resized column does not lay out
    // every column left of it again.
    const bool updates = columns->updatesEnabled();
    columns->setUpdatesEnabled(false);
    for (int col = 0; col < count; ++col) {
        const int chars = std::clamp(widestChars[col], 0, MostChars);
        columns->resizeSection(col, std::max(px(ColumnWidth), needed[chars]));
    }
    columns->setUpdatesEnabled(updates);
    view.viewport()->update();
}

void showCell(QTableView& view, int row, int col)
{
    const QModelIndex cell = view.model()->index(row, col);
    if (cell.isValid())
        view.scrollTo(cell, QAbstractItemView::EnsureVisible);
}

} // namespace zelmar
