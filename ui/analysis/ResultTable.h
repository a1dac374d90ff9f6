#pragma once
// The table of a run's figures: one row per figure, its value and, where the
// report gives one, its standard error. The rows read the run's typed
// figures through one description each: the label, how the number is shown,
// the figure's name in zelmar-sim's JSON report and where its value comes
// from. A figure the run does not have (no shoe, no bankroll) is left out;
// a new figure is one more line in a row list.

#include "sim/Run.h"
#include "ui/analysis/ExactOutcome.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>
#include <vector>

namespace zelmar {

enum class FigureKind {
    Count, // a whole number
    Units, // money or score in units
    Share, // a share of rounds, shown in percent
    Chance, // a chance that may be tiny, to three significant digits
};

// A figure, with its standard error when it is an estimate.
struct Figure {
    double value = 0;
    std::optional<double> se;
};

struct ResultRow {
    const char* label;
    const char* key; // where the figure stands in the JSON report (a JSON pointer)
    FigureKind kind;
    std::function<std::optional<Figure>(const sim::RunPlan&, const sim::RunResults&)> figure;
};

// A figure worked out exactly, by its key; none where the exact figures do
// not have it.
std::optional<double> exactFigure(const char* key, const sim::RunPlan& plan, const ExactOutcome& exact);

// The rows of a run of single rounds, and of a run of sessions.
const std::vector<ResultRow>& roundRows();
const std::vector<ResultRow>& sessionRows();
// The rows of two rule folders on the same hands: each figure of A, of B
// and of A - B.
const std::vector<ResultRow>& compareRows();
// The rows only exact figures have: what was left out, and the least
// bankrolls that carry all but 1 %, 0.1 % and 0.01 % of rounds.
const std::vector<ResultRow>& exactOnlyRows();

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Label, Value, Error, Exact, Apart };
    // On the value and exact columns: the figure as a number; on the value
    // column, the row's key.
    static constexpr int NumberRole = Qt::UserRole;
    static constexpr int KeyRole = Qt::UserRole + 1;

    explicit ResultTableModel(QObject* parent = nullptr);

    // The simulated figures of `results` (none when it is empty) beside the
    // exact ones, where there are; a row with neither is left out.
    void fill(const sim::RunPlan& plan, const sim::RunResults& results, const std::vector<ResultRow>& rows,
        const ExactOutcome* exact = nullptr);
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
        QString key;
        std::optional<double> value;
        QString valueText;
        QString errorText;
        std::optional<double> exact;
        QString exactText;
        QString apartText; // how many standard errors the simulated figure lies from the exact one
    };
    std::vector<Shown> m_rows;
};

} // namespace zelmar
