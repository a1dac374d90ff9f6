#pragma once
// The charts of a run, redrawn while it goes on, on the chart page that
// zelmar-sim --plot draws too (charts/ChartPage.h): for rounds, the chance
// that a round loses (or needs) x units or more beside the net so far; for
// sessions, the chance that a session loses x or more, how the sessions came
// out and the first sessions' running nets; for a comparison, A and B.

#include "ui/analysis/RunJob.h"

#include <QWidget>

namespace zelmar {

class ChartPage;

// What the charts show of a run's figures, and of a finished run with its
// exact figures.
ChartData chartOf(const sim::RunResults& results, const sim::Settings& settings);
ChartData chartOf(const RunOutcome& outcome);

class RunCharts : public QWidget {
    Q_OBJECT
public:
    explicit RunCharts(QWidget* parent = nullptr);

    void show(const ChartData& data);
    void clear();
    // The page as it is shown, at its size on screen, as a PNG file; false
    // when it could not be written (error() says why).
    bool savePng(const QString& path);
    const QString& error() const { return m_error; }

private:
    ChartPage* m_page;
    QString m_error;
};

} // namespace zelmar
