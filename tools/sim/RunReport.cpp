#include "tools/sim/RunReport.h"

#include "tools/common/JsonWriter.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace zelmar {

namespace {

using sim::RoundEnd;

// A figure with up to `decimals` places, no trailing zeros, never "-0".
std::string fixed(double v, int decimals = 2)
{
    std::string s = fmt::format("{:.{}f}", v, decimals);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string percent(double share, int decimals = 2)
{
    return fmt::format("{:.{}f}%", share * 100, decimals);
}

struct EndName {
    const char* text; // in the report and the CSV
    const char* key; // in JSON
};

EndName endName(RoundEnd e)
{
    switch (e) {
    case RoundEnd::WinPathRanOut:
        return { "赢的方向数列到了尽头", "winPathRanOut" };
    case RoundEnd::LostOnWinSide:
        return { "赢的方向上输了一局", "lostOnWinSide" };
    case RoundEnd::TurnedOnLossSide:
        return { "输的方向上反败为胜", "turnedOnLossSide" };
    case RoundEnd::LossPathRanOut:
        return { "输的方向数列到了尽头", "lossPathRanOut" };
    case RoundEnd::HandLimit:
        return { "手数到了上限被截断", "cutAtMaxHands" };
    case RoundEnd::TableLimit:
        return { "注码超过台面上限", "overTableMax" };
    case RoundEnd::EngineFailure:
        return { "计算出错（溢出或下标越界）", "engineFailure" };
    }
    return { "", "" };
}

std::string percentileList(const std::vector<sim::Percentile>& ps)
{
    std::string out;
    for (const sim::Percentile& p : ps) {
        if (!out.empty())
            out += "，";
        out += fixed(p.percent, 1) + "% 分位 " + fixed(p.value);
    }
    return out;
}

std::string histogram(const std::vector<sim::Bin>& bins, long rounds)
{
    long most = 1;
    for (const sim::Bin& b : bins)
        most = std::max(most, b.count);
    std::vector<std::string> labels;
    std::size_t width = 0;
    for (const sim::Bin& b : bins) {
        const long from = std::lround(b.from);
        const long to = std::lround(b.to) - 1;
        labels.push_back(
            to <= from ? std::to_string(from) : std::to_string(from) + " ~ " + std::to_string(to));
        width = std::max(width, labels.back().size());
    }
    std::string out;
    for (std::size_t i = 0; i < bins.size(); ++i) {
        const int bar = static_cast<int>(std::lround(50.0 * static_cast<double>(bins[i].count) / most));
        out += fmt::format("  {:>{}} | {}{} {}\n", labels[i], width, std::string(bar, '#'),
            bins[i].count > 0 && bar == 0 ? "." : "",
            percent(static_cast<double>(bins[i].count) / static_cast<double>(rounds)));
    }
    return out;
}

} // namespace

std::string describeGame(const sim::Settings& s)
{
    if (s.game == sim::Game::WinChance)
        return "独立的手，每手赢的机会 " + fixed(s.winChance * 100, 4) + "%，没有和局，没有佣金";
    std::string text = "百家乐，" + std::to_string(s.decks) + " 副牌，切牌在倒数第 " + std::to_string(s.cut)
        + " 张，每手押";
    if (s.bet == sim::Bet::Banker)
        text += "庄，庄赢抽佣 " + fixed(s.commission * 100, 4) + "%";
    else
        text += "闲";
    return text;
}

std::string textReport(const RunDescription& run, const sim::RunFigures& f)
{
    const sim::Settings& s = run.settings;
    std::string out;
    if (run.interrupted)
        out += "已中断：以下只统计已经玩完的 " + std::to_string(f.rounds) + " 局（要求 "
            + std::to_string(s.rounds) + " 局）。\n";
    out += "规则文件夹：" + run.rulesFolder + "\n";
    out += "玩法：" + describeGame(s) + "\n";
    out += "每局最多 " + std::to_string(s.maxHands) + " 手";
    if (s.tableMax < 32767)
        out += "，台面上限 " + std::to_string(s.tableMax) + " 单位";
    out += "\n\n";
    out += "局数：" + std::to_string(f.rounds) + " 局\n";
    if (f.rounds == 0)
        return out;
    const auto rounds = static_cast<double>(f.rounds);

    out += (s.game == sim::Game::Baccarat ? "发牌：" : "一共：") + std::to_string(f.handsDealt) + " 手";
    if (s.game == sim::Game::Baccarat) {
        const double dealt = static_cast<double>(std::max(1L, f.handsDealt));
        out += "（庄赢 " + percent(f.bankerWins / dealt) + "，闲赢 " + percent(f.playerWins / dealt)
            + "，和局 " + percent(f.ties / dealt) + "；和局不计输赢）";
    }
    out += "\n";
    out += "每局手数（不含和局）：平均 " + fixed(f.handsMean) + " 手，中位数 " + std::to_string(f.handsMedian)
        + " 手，99% 分位 " + std::to_string(f.handsP99) + " 手，最多 " + std::to_string(f.handsMax)
        + " 手\n\n";

    out += "每局得分（单位，即计算器显示的得分）：平均 " + fixed(f.scoreMean, 4) + "，标准差 "
        + fixed(f.scoreSd, 4) + "\n";
    out += "  " + percentileList(f.scorePercentiles) + "\n";
    out += "  最低 " + std::to_string(f.scoreMin) + "，最高 " + std::to_string(f.scoreMax) + "\n";
    out += "  结束时得分为正 " + percent(f.shareAbove) + "，为零 " + percent(f.shareAt) + "，为负 "
        + percent(f.shareBelow) + "\n\n";

    out += "金额（单位，含佣金）：总下注 " + std::to_string(f.staked) + "，净输赢 " + fixed(f.net) + "\n";
    out += "  每下注一个单位 " + fixed(f.netPerUnitStaked * 100, 4) + "%，平均每局 " + fixed(f.netPerRound, 4)
        + "\n\n";

    out += "一局怎样结束：\n";
    for (int k = 0; k < sim::RoundEndKinds; ++k) {
        const long count = f.ends[static_cast<std::size_t>(k)];
        out += fmt::format("  {:>8}  {}（{} 局）\n", percent(static_cast<double>(count) / rounds),
            endName(static_cast<RoundEnd>(k)).text, count);
    }
    out += "\n";

    out += "一局中最大的注码（单位）：" + percentileList(f.stakePercentiles) + "；最大 "
        + std::to_string(f.stakeMax) + "\n";
    out += "一局中累计输赢的最低点，即口袋里至少要备的钱（单位，含佣金）："
        + percentileList(f.depthPercentiles) + "；最深 " + fixed(f.depthMax) + "\n";
    if (f.bankroll)
        out += "本钱 " + fixed(*f.bankroll) + " 单位：" + percent(f.brokenShare) + " 的局会在中途输光它\n";
    out += "\n每局得分的分布（单位）：\n" + histogram(f.scoreHistogram, f.rounds);
    return out;
}

std::string jsonReport(const RunDescription& run, const sim::RunFigures& f)
{
    const sim::Settings& s = run.settings;
    JsonWriter j;
    // Payouts such as 0.95 have no exact binary form; sums of them are
    // shown without the noise in their last bits.
    const auto money = [](double v) { return std::round(v * 1e6) / 1e6 + 0.0; };
    const auto percentiles = [&](const std::vector<sim::Percentile>& ps) {
        j.beginObject();
        for (const sim::Percentile& p : ps)
            j.key(fixed(p.percent, 1)).value(money(p.value));
        j.endObject();
    };
    const auto bins = [&](const std::vector<sim::Bin>& bs) {
        j.beginArray();
        for (const sim::Bin& b : bs)
            j.beginObject()
                .key("from")
                .value(b.from)
                .key("to")
                .value(b.to)
                .key("rounds")
                .value(b.count)
                .endObject();
        j.endArray();
    };
    const double rounds = static_cast<double>(std::max(1L, f.rounds));
    const double dealt = static_cast<double>(std::max(1L, f.handsDealt));

    j.beginObject();
    j.key("seed").value(std::to_string(s.seed));
    j.key("rules").value(run.rulesFolder);
    j.key("game").value(s.game == sim::Game::Baccarat ? "baccarat" : "winChance");
    if (s.game == sim::Game::Baccarat) {
        j.key("decks").value(s.decks).key("cut").value(s.cut);
        j.key("bet")
            .value(s.bet == sim::Bet::Banker ? "banker" : "player")
            .key("commission")
            .value(s.commission);
    } else {
        j.key("winChance").value(s.winChance);
    }
    j.key("maxHands").value(s.maxHands).key("tableMax").value(s.tableMax);
    j.key("roundsAsked").value(s.rounds).key("interrupted").value(run.interrupted);
    j.key("rounds").value(f.rounds);

    j.key("hands").beginObject().key("dealt").value(f.handsDealt).key("ties").value(f.ties);
    if (s.game == sim::Game::Baccarat)
        j.key("bankerShare")
            .value(f.bankerWins / dealt)
            .key("playerShare")
            .value(f.playerWins / dealt)
            .key("tieShare")
            .value(f.ties / dealt);
    j.endObject();
    j.key("handsPerRound").beginObject().key("mean").value(f.handsMean).key("median").value(f.handsMedian);
    j.key("p99").value(f.handsP99).key("max").value(f.handsMax).endObject();

    j.key("score").beginObject().key("mean").value(f.scoreMean).key("sd").value(f.scoreSd);
    j.key("percentiles");
    percentiles(f.scorePercentiles);
    j.key("min").value(f.scoreMin).key("max").value(f.scoreMax);
    j.key("shareAbove")
        .value(f.shareAbove)
        .key("shareAt")
        .value(f.shareAt)
        .key("shareBelow")
        .value(f.shareBelow);
    j.endObject();

    j.key("money")
        .beginObject()
        .key("staked")
        .value(static_cast<long>(f.staked))
        .key("net")
        .value(money(f.net));
    j.key("netPerUnitStaked").value(std::round(f.netPerUnitStaked * 1e12) / 1e12 + 0.0);
    j.key("netPerRound").value(money(f.netPerRound)).endObject();

    j.key("ends").beginObject();
    for (int k = 0; k < sim::RoundEndKinds; ++k) {
        const long count = f.ends[static_cast<std::size_t>(k)];
        j.key(endName(static_cast<RoundEnd>(k)).key).beginObject();
        j.key("rounds").value(count).key("share").value(static_cast<double>(count) / rounds).endObject();
    }
    j.endObject();

    j.key("largestStake").beginObject().key("percentiles");
    percentiles(f.stakePercentiles);
    j.key("max").value(f.stakeMax).endObject();
    j.key("deepest").beginObject().key("percentiles");
    percentiles(f.depthPercentiles);
    j.key("max").value(money(f.depthMax)).endObject();
    j.key("bankroll");
    if (f.bankroll)
        j.beginObject().key("units").value(*f.bankroll).key("brokenShare").value(f.brokenShare).endObject();
    else
        j.null();
    j.key("scoreHistogram");
    bins(f.scoreHistogram);
    j.endObject();
    return j.str() + "\n";
}

std::string csvHeader()
{
    return "局,手数,和局,得分,金额,最深,最大注码,结束方式\n";
}

std::string csvRow(long round, const sim::RoundResult& r)
{
    return std::to_string(round) + "," + std::to_string(r.hands) + "," + std::to_string(r.ties) + ","
        + std::to_string(r.score) + "," + fixed(r.money, 6) + "," + fixed(r.deepest, 6) + ","
        + std::to_string(r.largestStake) + "," + endName(r.end).text + "\n";
}

} // namespace zelmar
