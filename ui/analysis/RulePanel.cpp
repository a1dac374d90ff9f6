#include "ui/analysis/RulePanel.h"

#include "engine/ColumnChars.h"
#include "rules/RuleFiles.h"
#include "ui/RuleGridView.h"
#include "ui/UiFont.h"
#include "ui/analysis/RiskGridModel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace zelmar {

namespace {

// A colour of the grids and what it means, side by side.
QWidget* legendItem(QWidget* parent, Risk risk, const char* text)
{
    auto* item = new QWidget(parent);
    auto* swatch = new QFrame(item);
    swatch->setFixedSize(20, 14);
    swatch->setFrameShape(QFrame::Box);
    swatch->setStyleSheet(QStringLiteral("QFrame { background-color: %1; border: 1px solid #a0a0a0; }")
                              .arg(riskColor(risk).name()));
    auto* layout = new QHBoxLayout(item);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(swatch);
    layout->addWidget(new QLabel(QString::fromUtf8(text), item));
    layout->addStretch(1);
    return item;
}

} // namespace

RulePanel::RulePanel(QWidget* parent)
    : QGroupBox(QStringLiteral("规则"), parent)
    , m_winModel(new RiskGridModel(songFont(15), this))
    , m_lostModel(new RiskGridModel(songFont(15), this))
{
    setObjectName("grpRules");
    m_winGrid = makeRuleGridView(this, m_winModel);
    m_winGrid->setObjectName("grdWin");
    m_lostGrid = makeRuleGridView(this, m_lostModel);
    m_lostGrid->setObjectName("grdLost");
    // The win sequence is one row: room for it and a scroll bar under it.
    m_winGrid->setFixedHeight(m_winGrid->verticalHeader()->defaultSectionSize() + 2 * m_winGrid->frameWidth()
        + m_winGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    m_lostGrid->setMinimumHeight(3 * m_lostGrid->verticalHeader()->defaultSectionSize());

    auto* winLabel = new QLabel(QStringLiteral("赢的数列（%1）").arg(QLatin1String(WinFileName)), this);
    winLabel->setBuddy(m_winGrid);
    auto* lostLabel = new QLabel(QStringLiteral("输的表格（%1）").arg(QLatin1String(LostFileName)), this);
    lostLabel->setBuddy(m_lostGrid);
    auto* legend = new QGridLayout;
    legend->addWidget(legendItem(this, Risk::LossCycle, "输的循环"), 0, 0);
    legend->addWidget(legendItem(this, Risk::EvenLoop, "不输不赢的循环"), 0, 1);
    legend->addWidget(legendItem(this, Risk::Unreachable, "走不到的格子"), 1, 0);
    legend->addWidget(new QLabel(QStringLiteral("鼠标停在格子上可以看到原因"), this), 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(winLabel);
    layout->addWidget(m_winGrid);
    layout->addWidget(lostLabel);
    layout->addWidget(m_lostGrid, 1);
    layout->addLayout(legend);
}

void RulePanel::show(const RuleReview& review)
{
    m_winModel->showWin(review.rules ? review.rules->winSeq : nullptr, review.winCells);
    m_lostModel->showLost(review.rules ? review.rules->lostTable : nullptr, review.lostCells);
    if (review.rules) {
        fitColumns(*m_winGrid, widestChars(*review.rules->winSeq));
        fitColumns(*m_lostGrid, widestChars(*review.rules->lostTable));
    }
}

void RulePanel::showReach(const std::vector<sim::CellReach>& win, const std::vector<sim::CellReach>& lost)
{
    m_winModel->showReach(win);
    m_lostModel->showReach(lost);
}

} // namespace zelmar
