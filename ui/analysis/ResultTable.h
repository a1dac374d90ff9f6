#pragma once
// The table of a run's figures: one row per figure, its value and, where the
// report gives one, its standard error. The rows are filled from the JSON
// object of the run report, the one `zelmar-sim run --json` prints, so that
// the window and the command line show the same numbers. Each row names the
// place of its figure in that object (a JSON pointer); a figure the report
// does not hold is left out, and a figure given as {"value", "se"} shows its
// error. A new figure is one more line in a row list.

#include <QAbstractTableModel>

#include <string>
#include <vector>

namespace zelmar {

enum class FigureKind {
    Count, // a whole number
    Units, // money or score in units
    Share, // a share of rounds, shown in percent
};

struct ResultRow {
    const char* label;
    const char* pointer; // where the figure stands in the report
    FigureKind kind;
};

// The rows of a run of single rounds, and of a run of sessions.
const std::vector<ResultRow>& roundRows();
const std::vector<ResultRow>& sessionRows();
// The rows of two rule folders on the same hands: each figure of A, of B
// and of A - B.
const std::vector<ResultRow>& compareRows();

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Label, Value, Error };
    // On the value column: the figure as a number, and the row's pointer.
    static constexpr int NumberRole = Qt::UserRole;
    static constexpr int PointerRole = Qt::UserRole + 1;

    explicit ResultTableModel(QObject* parent = nullptr);

    // False, and an empty table, when `json` is not a JSON object.
    bool fill(const std::string& json, const std::vector<ResultRow>& rows);
    void clear();
    // Whether any figure shown has its standard error.
    bool hasErrors() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Shown {
        QString label;
        QString pointer;
        double value;
        QString valueText;
        QString errorText;
    };
    std::vector<Shown> m_rows;
};

} // namespace zelmar
