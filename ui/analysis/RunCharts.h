#pragma once
// The charts of a run, redrawn while it goes on: the chance that a round
// loses x units or more, on a logarithmic axis so that the one round in a
// thousand that costs the most still shows, and the net result so far over
// the rounds played. (A chart of the session results joins them once the
// simulator plays sessions.)

#include "ui/analysis/RunJob.h"

#include <QWidget>

class QChart;
class QChartView;
class QLineSeries;
class QCategoryAxis;
class QValueAxis;

namespace zelmar {

class RunCharts : public QWidget {
    Q_OBJECT
public:
    explicit RunCharts(QWidget* parent = nullptr);

    void show(const ChartData& data);
    void clear();
    // Both charts in one picture; false when it could not be written.
    bool savePng(const QString& path);

private:
    QChartView* m_lossView;
    QLineSeries* m_loss;
    QValueAxis* m_lossX;
    QCategoryAxis* m_lossY;
    QChartView* m_netView;
    QLineSeries* m_net;
    QValueAxis* m_netX;
    QValueAxis* m_netY;
};

} // namespace zelmar
