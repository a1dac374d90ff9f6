#include "ui/analysis/AnalysisWindow.h"

#include "engine/ColumnChars.h"
#include "rules/RuleFiles.h"
#include "ui/FileNames.h"
#include "ui/RuleGridView.h"
#include "ui/UiFont.h"
#include "ui/analysis/ResultTable.h"
#include "ui/analysis/RiskGridModel.h"
#include "ui/analysis/RunCharts.h"
#include "ui/analysis/RunJob.h"
#include "ui/analysis/SimulationPanel.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace zelmar {

namespace {

constexpr qreal TextPoints = 10.5;
const QSize DefaultSize(1024, 700);

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

QString folderText(const std::string& folder)
{
    return QDir::toNativeSeparators(qtFileName(folder));
}

// A word of a command line as the system's shell reads it back: in single
// quotes for a POSIX shell; in double quotes for the Windows command prompt
// and PowerShell, where a file name cannot hold one.
QString shellWord(const std::string& word)
{
    const QString w = fromStd(word);
    static const QRegularExpression plain("^[A-Za-z0-9_./:=,+-]+$");
    if (plain.match(w).hasMatch())
        return w;
#ifdef Q_OS_WIN
    return '"' + w + '"';
#else
    return '\'' + QString(w).replace('\'', "'\\''") + '\'';
#endif
}

QPushButton* button(QWidget* parent, const char* name, const char* text)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    return b;
}

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

// A table of figures read from a report, not edited.
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
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    return table;
}

} // namespace

AnalysisWindow::AnalysisWindow(
    const std::string& folder, std::vector<std::string> reports, QSettings& settings, QWidget* parent)
    : QMainWindow(parent)
    , m_settings(settings)
    , m_folderReports(std::move(reports))
    , m_job(new RunJob(this))
    , m_calculatorFolderPath(folder)
{
    setObjectName("frmAnalysis");
    setWindowTitle(QString::fromUtf8(AnalysisTitle));
    setWindowIcon(QIcon(QStringLiteral(":/zelmar/zelmar-analysis.png")));
    setFont(songFont(TextPoints));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* folderRow = new QHBoxLayout;
    auto* folderCaption = new QLabel(QStringLiteral("规则文件夹："), central);
    m_folder = new QLabel(central);
    m_folder->setObjectName("lblFolder");
    m_folder->setTextFormat(Qt::PlainText);
    m_folder->setMinimumWidth(80);
    m_folder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_openFolder = button(central, "cmdOpenFolder", "打开其他文件夹…");
    m_calculatorFolder = button(central, "cmdCalculatorFolder", "计算器的文件夹");
    m_calculatorFolder->setToolTip(QStringLiteral("注码计算器使用的规则文件夹：") + folderText(folder));
    folderRow->addWidget(folderCaption);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_openFolder);
    folderRow->addWidget(m_calculatorFolder);
    layout->addLayout(folderRow);

    m_check = new QLabel(central);
    m_check->setObjectName("lblCheck");
    m_check->setTextFormat(Qt::PlainText);
    m_check->setWordWrap(true);
    m_check->setFrameShape(QFrame::StyledPanel);
    m_check->setMargin(4);
    m_check->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_check);

    auto* left = new QWidget(central);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(makeRulesBox(), 1);
    m_panel = new SimulationPanel(left);
    leftLayout->addWidget(m_panel);

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setObjectName("splMain");
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(left);
    splitter->addWidget(makeResults());
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    auto* bottom = new QHBoxLayout;
    m_progress = new QProgressBar(central);
    m_progress->setObjectName("prgRun");
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("%p%"));
    m_status = new QLabel(central);
    m_status->setObjectName("lblStatus");
    m_status->setTextFormat(Qt::PlainText);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_exportCsv = button(central, "cmdExportCsv", "导出每局 CSV…");
    m_exportCharts = button(central, "cmdExportCharts", "导出图表 PNG…");
    bottom->addWidget(m_progress);
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_exportCsv);
    bottom->addWidget(m_exportCharts);
    layout->addLayout(bottom);
    setCentralWidget(central);

    connect(m_openFolder, &QPushButton::clicked, this, &AnalysisWindow::chooseFolder);
    connect(m_calculatorFolder, &QPushButton::clicked, this, [this] { openFolder(m_calculatorFolderPath); });
    connect(m_panel, &SimulationPanel::startClicked, this, &AnalysisWindow::start);
    connect(m_panel, &SimulationPanel::stopClicked, m_job, &RunJob::stop);
    connect(m_job, &RunJob::progressed, this, &AnalysisWindow::onProgress);
    connect(m_job, &RunJob::grew, this, [this] { m_charts->show(m_job->chart()); });
    connect(m_job, &RunJob::runFinished, this, &AnalysisWindow::onRunFinished);
    connect(m_job, &RunJob::csvFinished, this, &AnalysisWindow::onCsvFinished);
    connect(m_exportCsv, &QPushButton::clicked, this, &AnalysisWindow::askCsvPath);
    connect(m_exportCharts, &QPushButton::clicked, this, &AnalysisWindow::askChartPath);

    m_panel->load(m_settings);
    resize(m_settings.value("window/size", DefaultSize).toSize());
    splitter->setSizes({ 400, width() - 400 });
    openFolder(folder);
    setStatus(QStringLiteral("选好玩法和局数，按“开始”。"));
}

AnalysisWindow::~AnalysisWindow()
{
    m_job->end();
}

QWidget* AnalysisWindow::makeRulesBox()
{
    auto* box = new QGroupBox(QStringLiteral("规则"), this);
    box->setObjectName("grpRules");
    m_winModel = new RiskGridModel(songFont(15), this);
    m_lostModel = new RiskGridModel(songFont(15), this);
    m_winGrid = makeRuleGridView(box, m_winModel);
    m_winGrid->setObjectName("grdWin");
    m_lostGrid = makeRuleGridView(box, m_lostModel);
    m_lostGrid->setObjectName("grdLost");
    // The win sequence is one row: room for it and a scroll bar under it.
    m_winGrid->setFixedHeight(m_winGrid->verticalHeader()->defaultSectionSize() + 2 * m_winGrid->frameWidth()
        + m_winGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    m_lostGrid->setMinimumHeight(3 * m_lostGrid->verticalHeader()->defaultSectionSize());

    auto* winLabel = new QLabel(QStringLiteral("赢的数列（%1）").arg(QLatin1String(WinFileName)), box);
    winLabel->setBuddy(m_winGrid);
    auto* lostLabel = new QLabel(QStringLiteral("输的表格（%1）").arg(QLatin1String(LostFileName)), box);
    lostLabel->setBuddy(m_lostGrid);
    auto* legend = new QGridLayout;
    legend->addWidget(legendItem(box, Risk::LossCycle, "输的循环"), 0, 0);
    legend->addWidget(legendItem(box, Risk::EvenLoop, "不输不赢的循环"), 0, 1);
    legend->addWidget(legendItem(box, Risk::Unreachable, "走不到的格子"), 1, 0);
    legend->addWidget(new QLabel(QStringLiteral("鼠标停在格子上可以看到原因"), box), 1, 1);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(winLabel);
    layout->addWidget(m_winGrid);
    layout->addWidget(lostLabel);
    layout->addWidget(m_lostGrid, 1);
    layout->addLayout(legend);
    return box;
}

QWidget* AnalysisWindow::makeResults()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName("tabResults");
    m_charts = new RunCharts(m_tabs);
    m_tabs->addTab(m_charts, QStringLiteral("图表"));

    auto* figures = new QWidget(m_tabs);
    m_results = new ResultTableModel(this);
    m_resultTable = resultTable(figures, "tblResults", m_results);
    m_command = new QLabel(figures);
    m_command->setObjectName("lblCommand");
    m_command->setTextFormat(Qt::PlainText);
    m_command->setWordWrap(true);
    m_command->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* layout = new QVBoxLayout(figures);
    layout->addWidget(m_resultTable, 1);
    layout->addWidget(m_command);
    m_tabs->addTab(figures, QStringLiteral("结果"));

    // Two rule folders on the same hands: each one's figures and their
    // differences with the paired errors.
    auto* compare = new QWidget(m_tabs);
    m_compareResults = new ResultTableModel(this);
    m_compareTable = resultTable(compare, "tblCompare", m_compareResults);
    auto* compareNote
        = new QLabel(QStringLiteral("在“模拟”里勾选“与 B 在同样的手上对比”并选好 B 的规则文件夹，"
                                    "这里就列出两边的结果、差 A − B 和差的误差。"),
            compare);
    compareNote->setWordWrap(true);
    auto* compareLayout = new QVBoxLayout(compare);
    compareLayout->addWidget(m_compareTable, 1);
    compareLayout->addWidget(compareNote);
    m_tabs->addTab(compare, QStringLiteral("对比 B"));
    return m_tabs;
}

void AnalysisWindow::openFolder(const std::string& folder)
{
    m_review = reviewRules(folder);
    m_folder->setText(folderText(folder));
    m_folder->setToolTip(folderText(folder));

    QStringList lines;
    for (const std::string& report : m_folderReports)
        lines << fromStd(report);
    if (m_review.rules) {
        lines << fromStd(m_review.summary);
        m_check->setStyleSheet(QString());
    } else {
        lines << QStringLiteral("规则文件有问题，不能分析：") << fromStd(m_review.reports);
        m_check->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    }
    m_check->setText(lines.join('\n'));

    m_winModel->showWin(m_review.rules ? m_review.rules->winSeq : nullptr, m_review.winCells);
    m_lostModel->showLost(m_review.rules ? m_review.rules->lostTable : nullptr, m_review.lostCells);
    if (m_review.rules) {
        fitColumns(*m_winGrid, widestChars(*m_review.rules->winSeq));
        fitColumns(*m_lostGrid, widestChars(*m_review.rules->lostTable));
    }
    updateEnabled();
}

void AnalysisWindow::updateEnabled()
{
    const bool busy = m_job->busy();
    m_panel->setRulesReady(m_review.rules.has_value());
    m_panel->setRunning(busy);
    m_openFolder->setEnabled(!busy);
    m_calculatorFolder->setEnabled(!busy);
    m_exportCsv->setEnabled(!busy && m_job->outcome().has_value());
    m_exportCharts->setEnabled(!busy && m_job->outcome().has_value());
}

void AnalysisWindow::setStatus(const QString& text)
{
    m_status->setText(text);
    m_status->setToolTip(text);
}

void AnalysisWindow::notice(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(AnalysisTitle), text, QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

void AnalysisWindow::start()
{
    if (!m_review.rules || m_job->busy())
        return;
    QString problem;
    const auto request = m_panel->request(problem);
    if (!request) {
        setStatus(problem);
        return;
    }
    m_panel->save(m_settings);
    std::optional<RuleReview> reviewB;
    if (!request->folderB.empty()) {
        reviewB = reviewRules(request->folderB);
        if (!reviewB->rules) {
            setStatus(QStringLiteral("B 的规则文件有问题：") + fromStd(reviewB->reports).replace('\n', ' '));
            return;
        }
    }
    m_results->clear();
    m_compareResults->clear();
    m_command->clear();
    m_charts->clear();
    m_progress->setValue(0);
    m_job->startRun(*request, *m_review.rules, m_review.folder, reviewB ? &*reviewB->rules : nullptr);
    setStatus(QStringLiteral("正在模拟，种子 %1……").arg(request->seed));
    updateEnabled();
}

void AnalysisWindow::onProgress()
{
    const long total = std::max(1L, m_job->total());
    m_progress->setValue(static_cast<int>(1000 * m_job->done() / total));
}

void AnalysisWindow::onRunFinished()
{
    const RunOutcome& o = *m_job->outcome();
    const bool sessions = o.request.sessions > 0;
    m_results->fill(o.json, sessions ? sessionRows() : roundRows());
    m_resultTable->setColumnHidden(ResultTableModel::Error, !m_results->hasErrors());
    m_compareResults->fill(o.compareJson, compareRows());
    QStringList words { QStringLiteral("zelmar-sim") };
    for (const std::string& word : commandLineOf(o.request, o.folder))
        words << shellWord(word);
    m_command->setText(
        QStringLiteral("命令行上得到同样数字的命令：") + words.join(' ') + QStringLiteral(" --json"));
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    const QString rounds = chinese.toString(static_cast<qlonglong>(o.rounds));
    const QString what = sessions ? QStringLiteral("场") : QStringLiteral("局");
    if (o.interrupted)
        setStatus(QStringLiteral("已停止：只统计已经玩完的 %1 %2（要求 %3 %2），种子 %4")
                      .arg(rounds, what, chinese.toString(static_cast<qlonglong>(o.asked())))
                      .arg(o.request.seed));
    else
        setStatus(QStringLiteral("完成：%1 %2，种子 %3").arg(rounds, what).arg(o.request.seed));
    m_progress->setValue(static_cast<int>(1000 * o.rounds / std::max(1L, o.asked())));
    updateEnabled();
    emit runFinished();
}

bool AnalysisWindow::exportCsv(const QString& path)
{
    if (!m_job->startCsv(coreFileName(path)))
        return false;
    m_progress->setValue(0);
    setStatus(QStringLiteral("正在导出 CSV……"));
    updateEnabled();
    return true;
}

void AnalysisWindow::onCsvFinished()
{
    updateEnabled();
    if (m_job->csvError().empty()) {
        setStatus(QStringLiteral("每局的结果已写入 CSV 文件"));
    } else {
        setStatus(fromStd(m_job->csvError()));
        notice(fromStd(m_job->csvError()));
    }
    emit csvExported();
}

bool AnalysisWindow::exportCharts(const QString& path)
{
    if (!m_job->outcome())
        return false;
    if (!m_charts->savePng(path)) {
        notice(m_charts->error());
        return false;
    }
    setStatus(QStringLiteral("图表已写入 ") + QDir::toNativeSeparators(path));
    return true;
}

void AnalysisWindow::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("选择规则文件夹"), qtFileName(m_review.folder));
    if (!folder.isEmpty())
        openFolder(coreFileName(folder));
}

void AnalysisWindow::askCsvPath()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出每局的结果"),
        QDir::home().filePath(QStringLiteral("zelmar-每局.csv")), QStringLiteral("CSV 文件 (*.csv)"));
    if (!path.isEmpty())
        exportCsv(path);
}

void AnalysisWindow::askChartPath()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出图表"),
        QDir::home().filePath(QStringLiteral("zelmar-图表.png")), QStringLiteral("PNG 图片 (*.png)"));
    if (!path.isEmpty())
        exportCharts(path);
}

void AnalysisWindow::closeEvent(QCloseEvent* event)
{
    // A run under way ends with the blocks already started.
    m_job->end();
    m_panel->save(m_settings);
    m_settings.setValue("window/size", size());
    QMainWindow::closeEvent(event);
}

} // namespace zelmar
