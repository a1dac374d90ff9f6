#pragma once
// Every chart Zelmar shows, drawn on one page by one piece of code: the
// window's charts while a run goes on, their export and zelmar-sim's
// --plot picture.
//
//   rounds:    the chance that a round loses x or more and that it needs x or
//              more, on a logarithmic chance axis, beside the running net;
//   sessions:  the chance that a session loses x or more, how many sessions
//              ended with each net, and the running net of the first
//              sessions with the lines where a session stops;
//   compare:   the same as rounds for A and B, each in its own colour.
//
// Chances read as a player reads them: 10%, 1%, then 1/1000, 1/1万. Hovering
// over a curve says the point in words. A picture saved at a size is what
// the page shows at that size: the text grows with the picture.

#include "charts/ChartFigures.h"

#include <qcustomplot.h>

#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zelmar {

// The colours of the charts: a round's loss, the money it needs, the running
// net, and A and B of a comparison.
struct ChartColors {
    static QColor loss() { return QColor(190, 40, 40); }
    static QColor need() { return QColor(40, 80, 170); }
    static QColor net() { return QColor(30, 120, 60); }
    static QColor a() { return QColor(215, 110, 0); }
    static QColor b() { return QColor(110, 50, 170); }
};

// A chance in words: "1.2%（约 1/83）", "约 1/12万".
QString chanceWords(double chance);
// The label of the chance axis at 10^power: "100%", "1%", "1/1000", "1/1万".
QString chanceTick(int power);

class ChartPage : public QCustomPlot {
    Q_OBJECT
public:
    explicit ChartPage(QWidget* parent = nullptr);

    // Draws `figures` under `title` (no title line when empty).
    void setFigures(const ChartFigures& figures, const QString& title = {});
    const ChartFigures& figures() const { return m_figures; }

    // What the page shows at width x height, as an image whose text "Axes"
    // holds its axisTexts() and "Title" the title.
    QImage picture(int width, int height);
    // The picture written to a PNG file (the name must end in .png); the
    // reason in Chinese when it cannot be.
    std::optional<QString> savePng(const QString& path, int width, int height);

    // The point under `pos` in words, empty when no curve is near.
    QString pointText(const QPointF& pos) const;
    // Every axis's title and tick labels, as last drawn, one axis a line.
    QStringList axisTexts() const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    // The charts laid out and their text sized for a page of width x height.
    void arrange(int width, int height);
    void fitFonts(int width, int height);
    QCPAxisRect* addChart(QCPLayoutGrid* grid, int row, int column, const QString& title, bool legend,
        Qt::Alignment legendCorner = Qt::AlignTop | Qt::AlignRight);
    void addSurvival(QCPAxisRect* rect, const QString& what,
        const std::vector<std::pair<double, double>>& points, const QColor& color, Qt::PenStyle style,
        const QString& name);
    // The exact chance of losing x or more, when the figures have it.
    void addExactLoss(QCPAxisRect* rect, const QString& what);
    void addNetPath(QCPAxisRect* rect, const std::vector<std::pair<long, double>>& path, const QColor& color,
        const QString& name);
    void buildRounds();
    void buildSessions();
    void buildCompare();

    ChartFigures m_figures;
    QString m_title;
    QCPLayoutGrid* m_charts = nullptr; // under the title
    bool m_stacked = false; // one chart above the other
    QList<QCPTextElement*> m_titles; // the page's and each chart's title
    QList<QCPLegend*> m_legends;
    // What a point of each curve means, by its index.
    QHash<const QCPAbstractPlottable*, std::function<QString(int)>> m_words;
};

} // namespace zelmar
