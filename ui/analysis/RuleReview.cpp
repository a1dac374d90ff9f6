#include "ui/analysis/RuleReview.h"

#include "report/CheckReport.h"

#include <algorithm>

namespace zelmar {

namespace {

std::string cellText(const sim::CellValue& c)
{
    return "第 " + std::to_string(c.row + 1) + " 行第 " + std::to_string(c.col + 1) + " 列（"
        + std::to_string(c.value) + "）";
}

void addLoops(std::vector<RiskyCell>& cells, const std::vector<sim::LossLoop>& loops, Risk risk)
{
    for (const sim::LossLoop& loop : loops) {
        std::string why = "在" + cellText(loop.from) + "输、在" + cellText(loop.to) + "赢，如此反复";
        why = risk == Risk::LossCycle
            ? "输的循环：" + why + "，每两手输 " + std::to_string(loop.lossPerTwoHands()) + "，本局不会结束"
            : "不输不赢的循环：" + why + "，得分不变，本局也不会结束";
        for (const sim::CellValue& c : { loop.from, loop.to })
            cells.push_back({ c.row, c.col, risk, why });
    }
}

} // namespace

RuleReview reviewRules(const std::string& folder)
{
    RuleReview review;
    review.folder = folder;
    auto loaded = loadSimRules(folder);
    if (auto* reports = std::get_if<std::string>(&loaded)) {
        review.reports = std::move(*reports);
        return review;
    }
    review.rules = std::get<SimRules>(std::move(loaded));
    const sim::RuleCheck& check
        = review.check.emplace(sim::CheckRules(*review.rules->winSeq, *review.rules->lostTable));

    review.summary = CheckHeadline(check);
    if (!review.summary.empty() && review.summary.back() == '\n')
        review.summary.pop_back();
    review.summary += "\n最大的注码："
        + std::to_string(std::max(check.win.largestStake, check.loss.largestStake)) + " 单位（赢的方向 "
        + std::to_string(check.win.largestStake) + "，输的方向 " + std::to_string(check.loss.largestStake)
        + "）。";

    for (const sim::DeadCell& d : check.win.unreachable)
        review.winCells.push_back({ 0, d.col, Risk::Unreachable, "走不到：" + UnreachedReason(d, check) });
    for (const sim::DeadCell& d : check.loss.unreachable)
        review.lostCells.push_back(
            { d.row, d.col, Risk::Unreachable, "走不到：" + UnreachedReason(d, check) });
    addLoops(review.lostCells, check.loss.lossCycles, Risk::LossCycle);
    addLoops(review.lostCells, check.loss.evenLoops, Risk::EvenLoop);
    return review;
}

} // namespace zelmar
