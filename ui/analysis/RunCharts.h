#pragma once
// The charts of a run, redrawn while it goes on: the chance that a round
// loses x units or more, on a logarithmic axis so that the one round in a
// thousand that costs the most still shows, and the net result so far over
// the rounds played. A run of sessions shows the chance that a session loses
// x or more, and in place of the net so far how many sessions ended with
// each net result.
//
// A build without Qt Charts (the Windows one, for now) has no charts: the
// window then leaves out their tab and their export, and shows the figures.

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

    // False in a build without Qt Charts, where nothing is drawn.
    static bool drawn();

    void show(const ChartData& data);
    void clear();
    // Both charts in one picture; false when it could not be written.
    bool savePng(const QString& path);

private:
    QChartView* m_lossView = nullptr;
    QLineSeries* m_loss = nullptr;
    QValueAxis* m_lossX = nullptr;
    QCategoryAxis* m_lossY = nullptr;
    QChartView* m_netView = nullptr;
    QLineSeries* m_net = nullptr;
    QValueAxis* m_netX = nullptr;
    QValueAxis* m_netY = nullptr;
    QChartView* m_sessionView = nullptr;
    QLineSeries* m_sessionNets = nullptr;
    QValueAxis* m_sessionX = nullptr;
    QValueAxis* m_sessionY = nullptr;
};

} // namespace zelmar
