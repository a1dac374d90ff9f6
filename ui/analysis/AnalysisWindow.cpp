#include "ui/analysis/AnalysisWindow.h"

#include "ui/FileNames.h"
#include "ui/MessageBoxes.h"
#include "ui/UiFont.h"
#include "ui/analysis/ResultTabs.h"
#include "ui/analysis/RulePanel.h"
#include "ui/analysis/RunBar.h"
#include "ui/analysis/RunCharts.h"
#include "ui/analysis/RunJob.h"
#include "ui/analysis/SimulationPanel.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
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

QPushButton* button(QWidget* parent, const char* name, const char* text)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    return b;
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
    m_folder = new QLabel(central);
    m_folder->setObjectName("lblFolder");
    m_folder->setTextFormat(Qt::PlainText);
    m_folder->setMinimumWidth(80);
    m_folder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_openFolder = button(central, "cmdOpenFolder", "打开其他文件夹…");
    m_calculatorFolder = button(central, "cmdCalculatorFolder", "计算器的文件夹");
    m_calculatorFolder->setToolTip(QStringLiteral("注码计算器使用的规则文件夹：") + folderText(folder));
    folderRow->addWidget(new QLabel(QStringLiteral("规则文件夹："), central));
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
    m_rules = new RulePanel(left);
    leftLayout->addWidget(m_rules, 1);
    m_panel = new SimulationPanel(left);
    leftLayout->addWidget(m_panel);

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setObjectName("splMain");
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(left);
    m_tabs = new ResultTabs(splitter);
    splitter->addWidget(m_tabs);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    m_bar = new RunBar(central);
    layout->addWidget(m_bar);
    setCentralWidget(central);

    connect(m_openFolder, &QPushButton::clicked, this, &AnalysisWindow::chooseFolder);
    connect(m_calculatorFolder, &QPushButton::clicked, this, [this] { openFolder(m_calculatorFolderPath); });
    connect(m_panel, &SimulationPanel::startClicked, this, &AnalysisWindow::start);
    connect(m_panel, &SimulationPanel::stopClicked, m_job, &RunJob::stop);
    connect(m_job, &RunJob::progressed, this, &AnalysisWindow::onProgress);
    connect(m_job, &RunJob::grew, this, [this] { m_tabs->charts().show(m_job->chart()); });
    connect(m_job, &RunJob::runFinished, this, &AnalysisWindow::onRunFinished);
    connect(m_job, &RunJob::csvFinished, this, &AnalysisWindow::onCsvFinished);
    connect(m_bar, &RunBar::csvChosen, this, &AnalysisWindow::exportCsv);
    connect(m_bar, &RunBar::chartChosen, this, &AnalysisWindow::exportCharts);

    m_panel->load(m_settings);
    resize(m_settings.value("window/size", DefaultSize).toSize());
    splitter->setSizes({ 400, width() - 400 });
    openFolder(folder);
    setStatus(QStringLiteral("选好玩法和局数，按“开始”。"));
}

AnalysisWindow::~AnalysisWindow()
{
    m_job->end();
    if (m_reader.joinable())
        m_reader.join();
}

void AnalysisWindow::openFolder(const std::string& folder)
{
    if (m_reader.joinable())
        m_reader.join();
    m_review = RuleReview { folder, {}, {}, {}, {}, {}, {} };
    m_folder->setText(folderText(folder));
    m_folder->setToolTip(folderText(folder));
    m_check->setStyleSheet(QString());
    m_check->setText(QStringLiteral("正在读取规则文件……"));
    m_rules->show(m_review);
    m_bar->setProgress(0, 0); // busy, for a large table
    updateEnabled();
    // Queued to this window: dropped if the window is gone first.
    m_reader = std::thread([this, folder] {
        RuleReview review = reviewRules(folder);
        QMetaObject::invokeMethod(
            this, [this, review = std::move(review)]() mutable { showReview(std::move(review)); },
            Qt::QueuedConnection);
    });
}

void AnalysisWindow::showReview(RuleReview review)
{
    m_reader.join();
    m_review = std::move(review);
    m_bar->setProgress(0, 1);
    QStringList lines;
    for (const std::string& report : m_folderReports)
        lines << fromStd(report);
    if (m_review.rules) {
        lines << fromStd(m_review.summary);
    } else {
        lines << QStringLiteral("规则文件有问题，不能分析：") << fromStd(m_review.reports);
        m_check->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    }
    m_check->setText(lines.join('\n'));
    m_rules->show(m_review);
    updateEnabled();
    emit rulesShown();
}

void AnalysisWindow::updateEnabled()
{
    const bool busy = m_job->busy() || m_reader.joinable();
    m_panel->setRulesReady(m_review.rules.has_value() && !m_reader.joinable());
    m_panel->setRunning(m_job->busy());
    m_openFolder->setEnabled(!busy);
    m_calculatorFolder->setEnabled(!busy);
    m_bar->setExportsEnabled(!busy && m_job->outcome().has_value());
}

void AnalysisWindow::setStatus(const QString& text)
{
    m_bar->setStatus(text);
}

void AnalysisWindow::start()
{
    if (!m_review.rules || m_job->busy() || m_reader.joinable())
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
    const auto plan
        = planOf(*request, m_review.folder, *m_review.rules, reviewB ? &*reviewB->rules : nullptr);
    if (const std::string* why = std::get_if<std::string>(&plan)) {
        setStatus(fromStd(*why));
        return;
    }
    m_tabs->clear();
    m_bar->setProgress(0, 1);
    m_job->startRun(*request, m_review.folder, std::get<sim::RunPlan>(plan));
    setStatus(request->simulates() ? QStringLiteral("正在模拟，种子 %1……").arg(request->seed)
                                   : QStringLiteral("正在精确计算……"));
    updateEnabled();
}

void AnalysisWindow::onProgress()
{
    m_bar->setProgress(m_job->done(), std::max(1L, m_job->total()));
}

void AnalysisWindow::onRunFinished()
{
    const RunOutcome& o = *m_job->outcome();
    m_tabs->showRun(o);
    const sim::ExactRound* exact = o.exact && o.exact->round ? &*o.exact->round : nullptr;
    m_rules->showReach(exact ? exact->winCells : std::vector<sim::CellReach> {},
        exact ? exact->lossCells : std::vector<sim::CellReach> {});
    m_bar->showFinished(o);
    updateEnabled();
    emit runFinished();
}

bool AnalysisWindow::exportCsv(const QString& path)
{
    if (!m_job->startCsv(coreFileName(path)))
        return false;
    m_bar->setProgress(0, 1);
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
        showNotice(this, fromStd(m_job->csvError()), QString::fromUtf8(AnalysisTitle));
    }
    emit csvExported();
}

bool AnalysisWindow::exportCharts(const QString& path)
{
    if (!m_job->outcome())
        return false;
    if (!m_tabs->charts().savePng(path)) {
        showNotice(this, m_tabs->charts().error(), QString::fromUtf8(AnalysisTitle));
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

void AnalysisWindow::closeEvent(QCloseEvent* event)
{
    // A run under way ends with the blocks already started.
    m_job->end();
    m_panel->save(m_settings);
    m_settings.setValue("window/size", size());
    QMainWindow::closeEvent(event);
}

} // namespace zelmar
