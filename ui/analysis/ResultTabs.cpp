#include "ui/analysis/ResultTabs.h"

#include "ui/FileNames.h"
#include "ui/analysis/ResultTable.h"
#include "ui/analysis/RunCharts.h"
#include "ui/analysis/RunJob.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace zelmar {

namespace {

// A table of figures, not edited.
QTableView* resultTable(QWidget* parent, const char* name, ResultTableModel* model)
{
    auto* table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setTabKeyNavigation(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < model->columnCount(); ++column)
        table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    table->setColumnHidden(ResultTableModel::Exact, true);
    table->setColumnHidden(ResultTableModel::Apart, true);
    return table;
}

} // namespace

ResultTabs::ResultTabs(QWidget* parent)
    : QTabWidget(parent)
    , m_charts(new RunCharts(this))
    , m_results(new ResultTableModel(this))
    , m_compareResults(new ResultTableModel(this))
{
    setObjectName("tabResults");
    addTab(m_charts, QStringLiteral("图表"));

    auto* figures = new QWidget(this);
    m_resultTable = resultTable(figures, "tblResults", m_results);
    m_command = new QLabel(figures);
    m_command->setObjectName("lblCommand");
    m_command->setTextFormat(Qt::PlainText);
    m_command->setWordWrap(true);
    m_command->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* layout = new QVBoxLayout(figures);
    layout->addWidget(m_resultTable, 1);
    layout->addWidget(m_command);
    addTab(figures, QStringLiteral("结果"));

    // Two rule folders on the same hands: each one's figures and their
    // differences with the paired errors.
    auto* compare = new QWidget(this);
    m_compareTable = resultTable(compare, "tblCompare", m_compareResults);
    auto* compareNote
        = new QLabel(QStringLiteral("在“模拟”里勾选“与 B 在同样的手上对比”并选好 B 的规则文件夹，"
                                    "这里就列出两边的结果、差 A − B 和差的误差。"),
            compare);
    compareNote->setWordWrap(true);
    auto* compareLayout = new QVBoxLayout(compare);
    compareLayout->addWidget(m_compareTable, 1);
    compareLayout->addWidget(compareNote);
    addTab(compare, QStringLiteral("对比 B"));
}

void ResultTabs::clear()
{
    m_results->clear();
    m_compareResults->clear();
    m_command->clear();
    m_charts->clear();
}

void ResultTabs::showRun(const RunOutcome& o)
{
    const bool sessions = o.plan.a.sessions > 0;
    std::vector<ResultRow> rows = sessions ? sessionRows() : roundRows();
    const ExactOutcome* exact = o.exact ? &*o.exact : nullptr;
    if (exact)
        rows.insert(rows.end(), exactOnlyRows().begin(), exactOnlyRows().end());
    m_results->fill(o.plan, o.results, rows, exact);
    m_resultTable->setColumnHidden(ResultTableModel::Value, !o.simulated());
    m_resultTable->setColumnHidden(ResultTableModel::Error, !m_results->hasErrors());
    m_resultTable->setColumnHidden(ResultTableModel::Exact, !exact);
    m_resultTable->setColumnHidden(ResultTableModel::Apart, !exact || !o.simulated());
    if (o.results.paired)
        m_compareResults->fill(o.plan, o.results, compareRows());
    else
        m_compareResults->clear();

    QStringList lines;
    const auto line = [&](const std::vector<std::string>& command) {
        QStringList words { QStringLiteral("zelmar-sim") };
        for (const std::string& word : command)
            words << shellWord(word);
        lines << words.join(' ') + QStringLiteral(" --json");
    };
    if (o.request.simulates())
        line(commandLineOf(o.request, o.folder));
    if (o.request.worksOut())
        line(exactCommandLineOf(o.request, o.folder));
    m_command->setText(QStringLiteral("命令行上得到同样数字的命令：") + lines.join('\n'));
}

} // namespace zelmar
