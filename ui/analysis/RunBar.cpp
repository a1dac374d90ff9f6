#include "ui/analysis/RunBar.h"

#include "ui/analysis/RunJob.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace zelmar {

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* text)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    return b;
}

// What a finished run says in the status line.
QString statusOf(const RunOutcome& o)
{
    QStringList parts;
    if (o.exact) {
        const auto& tooLarge
            = o.exact->sessions && !o.exact->sessions->figures ? &o.exact->sessions->tooLarge : nullptr;
        if (tooLarge)
            parts << QStringLiteral("精确计算要走约 %1 个状态，超过上限 %2，没有算；请用模拟")
                         .arg(tooLarge->workNeeded, 0, 'g', 3)
                         .arg(tooLarge->workAtMost, 0, 'g', 3);
        else
            parts << (o.exact->stopped() ? QStringLiteral("精确计算已停止，没有算完")
                                         : QStringLiteral("精确计算完成"));
    }
    if (o.simulated()) {
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        const QString done = chinese.toString(static_cast<qlonglong>(o.results.done));
        const QString what = o.results.sessions ? QStringLiteral("场") : QStringLiteral("局");
        if (o.results.interrupted())
            parts << QStringLiteral("已停止：只统计已经玩完的 %1 %2（要求 %3 %2），种子 %4")
                         .arg(done, what, chinese.toString(static_cast<qlonglong>(o.results.asked)))
                         .arg(o.request.seed);
        else
            parts << QStringLiteral("完成：%1 %2，种子 %3").arg(done, what).arg(o.request.seed);
    } else if (o.request.simulates()) {
        parts << QStringLiteral("已停止：没有模拟");
    }
    return parts.join(QStringLiteral("；"));
}

} // namespace

RunBar::RunBar(QWidget* parent)
    : QWidget(parent)
    , m_progress(new QProgressBar(this))
    , m_status(new QLabel(this))
    , m_exportCsv(button(this, "cmdExportCsv", "导出每局 CSV…"))
    , m_exportCharts(button(this, "cmdExportCharts", "导出图表 PNG…"))
{
    m_progress->setObjectName("prgRun");
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("%p%"));
    m_status->setObjectName("lblStatus");
    m_status->setTextFormat(Qt::PlainText);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_progress);
    layout->addWidget(m_status, 1);
    layout->addWidget(m_exportCsv);
    layout->addWidget(m_exportCharts);

    connect(m_exportCsv, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出每局的结果"),
            QDir::home().filePath(QStringLiteral("zelmar-每局.csv")), QStringLiteral("CSV 文件 (*.csv)"));
        if (!path.isEmpty())
            emit csvChosen(path);
    });
    connect(m_exportCharts, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出图表"),
            QDir::home().filePath(QStringLiteral("zelmar-图表.png")), QStringLiteral("PNG 图片 (*.png)"));
        if (!path.isEmpty())
            emit chartChosen(path);
    });
}

void RunBar::setStatus(const QString& text)
{
    m_status->setText(text);
    m_status->setToolTip(text);
}

void RunBar::setProgress(long done, long total)
{
    m_progress->setRange(0, total > 0 ? 1000 : 0);
    m_progress->setValue(total > 0 ? static_cast<int>(1000 * done / std::max(1L, total)) : 0);
}

void RunBar::setExportsEnabled(bool enabled)
{
    m_exportCsv->setEnabled(enabled);
    m_exportCharts->setEnabled(enabled);
}

void RunBar::showFinished(const RunOutcome& o)
{
    setStatus(statusOf(o));
    if (o.simulated())
        setProgress(o.results.done, std::max(1L, o.results.asked));
    else
        setProgress(o.exact && !o.exact->stopped() ? 1 : 0, 1);
}

} // namespace zelmar
