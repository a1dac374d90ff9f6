#include "ui/analysis/RunJob.h"

#include "report/CsvRows.h"
#include "rules/Utf8Path.h"
#include "ui/analysis/RunCharts.h"

#include <QMetaObject>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace zelmar {

RunJob::RunJob(QObject* parent)
    : QObject(parent)
{
}

RunJob::~RunJob()
{
    end();
}

void RunJob::end()
{
    stop();
    joinWorker();
}

void RunJob::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

void RunJob::post(std::function<void()> call)
{
    // Queued to this object: dropped if the object is destroyed first.
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

std::function<void(long)> RunJob::progressTo(long total)
{
    return [this, total, shown = -1L](long done) mutable {
        const long permille = total > 0 ? 1000 * done / total : 1000;
        if (permille == shown)
            return;
        shown = permille;
        post([this, done, total] {
            m_done = done;
            m_total = total;
            emit progressed();
        });
    };
}

bool RunJob::startRun(const RunRequest& request, const std::string& folder, const sim::RunPlan& plan)
{
    if (busy())
        return false;
    m_stop.store(false);
    m_done = 0;
    m_chart = {};
    m_total = request.simulates() ? plan.asked() : 1000;
    m_worker = std::thread([this, outcome = RunOutcome { request, folder, plan, {}, {} }]() mutable {
        if (outcome.request.worksOut())
            outcome.exact = workOut(outcome.plan.a, progressTo(1000), m_stop);
        if (outcome.request.simulates() && !m_stop.load()) {
            sim::RunHooks hooks;
            hooks.stop = &m_stop;
            hooks.progress = progressTo(outcome.plan.asked());
            hooks.grew = [this, settings = outcome.plan.a](const sim::RunResults& r) {
                post([this, chart = chartOf(r, settings)] {
                    m_chart = chart;
                    emit grew();
                });
            };
            outcome.results = sim::runSimulation(outcome.plan, hooks);
        }
        post([this, outcome = std::move(outcome)] {
            joinWorker();
            m_chart = chartOf(outcome);
            m_done = outcome.results.done;
            m_outcome = outcome;
            emit grew();
            emit runFinished();
        });
    });
    return true;
}

bool RunJob::startCsv(const std::string& path)
{
    if (busy() || !m_outcome)
        return false;
    m_stop.store(false);
    // Each rule set alone, as far as the run went, with its first column's
    // word: none for a run alone.
    std::vector<std::pair<std::string, sim::RunPlan>> sets { { "", { m_outcome->plan.a, std::nullopt } } };
    if (m_outcome->plan.b)
        sets
            = { { "A", { m_outcome->plan.a, std::nullopt } }, { "B", { *m_outcome->plan.b, std::nullopt } } };
    for (auto& [label, plan] : sets)
        (plan.a.sessions > 0 ? plan.a.sessions : plan.a.rounds) = m_outcome->results.done;
    m_done = 0;
    m_total = m_outcome->results.done * static_cast<long>(sets.size());
    m_worker = std::thread([this, sets, path, progress = progressTo(m_total)]() mutable {
        std::string error;
        std::ofstream file(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
        if (!file) {
            error = "无法写入 CSV 文件 " + path;
        } else {
            const bool sessions = sets.front().second.a.sessions > 0;
            CsvRows csv(file, sessions, sets.size() > 1);
            csv.header();
            long played = 0;
            for (const auto& [label, plan] : sets) {
                const sim::MoneyUnit unit = sim::moneyUnitOf(plan.a);
                sim::RunHooks hooks;
                hooks.stop = &m_stop;
                hooks.progress = [&progress, before = played](long done) { progress(before + done); };
                hooks.rounds = [&, label = label](const sim::Block& b) { csv.add(b, unit, label); };
                hooks.sessions = [&, label = label](const sim::SessionBlock& b) { csv.add(b, unit, label); };
                played += sim::runSimulation(plan, hooks).done;
            }
            file.close();
            if (!file) {
                error = "写入 CSV 文件 " + path + " 时出错";
            } else if (played < sets.front().second.asked() * static_cast<long>(sets.size())) {
                std::error_code ec;
                std::filesystem::remove(PathFromUtf8(path), ec);
                error = "导出已停止：没有留下不完整的 CSV 文件";
            }
        }
        post([this, error] {
            joinWorker();
            m_csvError = error;
            emit csvFinished();
        });
    });
    return true;
}

} // namespace zelmar
