#include "ui/analysis/RunCharts.h"

#include "charts/ChartPage.h"

#include <QVBoxLayout>

namespace zelmar {

RunCharts::RunCharts(QWidget* parent)
    : QWidget(parent)
    , m_page(new ChartPage(this))
{
    m_page->setObjectName("chtPage");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_page);
}

void RunCharts::clear()
{
    show({});
}

void RunCharts::show(const ChartData& data)
{
    m_page->setFigures(data);
}

bool RunCharts::savePng(const QString& path)
{
    const auto error = m_page->savePng(path, m_page->width(), m_page->height());
    m_error = error.value_or(QString());
    return !error;
}

} // namespace zelmar
