#include "tools/sim/SimReport.h"

#include "tools/common/JsonWriter.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace zelmar {

namespace {

using sim::Estimate;
using sim::RoundEnd;
using sim::SessionEnd;

const char* const ErrorNote = "（“±”后面是标准误：真值约有 95% 的把握落在 ±1.96 个标准误之内。）\n";

std::string number(long v)
{
    return std::to_string(v);
}

std::string percent(double share, int decimals = 2)
{
    return fixed(share * 100, decimals) + "%";
}

// Places that show an error of `se` to two significant digits.
int placesFor(double se, int fallback)
{
    if (!(se > 0) || !std::isfinite(se))
        return fallback;
    return std::clamp(1 - static_cast<int>(std::floor(std::log10(se))), 0, 8);
}

std::string share(const Estimate& e)
{
    return withError(e, 100, "%");
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
    case RoundEnd::Broke:
        return { "本钱不够下一手的注码", "broke" };
    }
    return { "", "" };
}

EndName sessionEndName(SessionEnd e)
{
    switch (e) {
    case SessionEnd::RoundsPlayed:
        return { "打满了局数", "roundsPlayed" };
    case SessionEnd::StopWin:
        return { "赢到目标离场", "stopWin" };
    case SessionEnd::StopLoss:
        return { "输到止损离场", "stopLoss" };
    case SessionEnd::Broke:
        return { "本钱不够下注（输光）", "broke" };
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
        labels.push_back(to <= from ? number(from) : number(from) + " ~ " + number(to));
        width = std::max(width, labels.back().size());
    }
    std::string out;
    for (std::size_t i = 0; i < bins.size(); ++i) {
        const auto bar
            = static_cast<std::size_t>(std::lround(50.0 * static_cast<double>(bins[i].count) / most));
        out += "  " + std::string(width - labels[i].size(), ' ') + labels[i] + " | " + std::string(bar, '#')
            + (bins[i].count > 0 && bar == 0 ? "." : "") + " "
            + percent(static_cast<double>(bins[i].count) / static_cast<double>(rounds)) + "\n";
    }
    return out;
}

std::string coupLine(const sim::Settings& s, const sim::CoupCounts& c, long dealt)
{
    if (s.game == sim::Game::WinChance || dealt == 0)
        return {};
    std::string out = "（庄赢 " + share(sim::shareOf(c.bankerWins, dealt));
    if (s.game == sim::Game::NoCommission)
        out += "，其中庄以 6 点赢 " + share(sim::shareOf(c.bankerWinsOnSix, dealt));
    out += "，闲赢 " + share(sim::shareOf(c.playerWins, dealt)) + "，和局 "
        + share(sim::shareOf(c.ties, dealt)) + "；和局不计输赢）";
    return out;
}

std::string limitsLine(const sim::Settings& s)
{
    std::string out = "每局最多 " + number(s.maxHands) + " 手";
    if (s.tableMax < 32767)
        out += "，台面上限 " + number(s.tableMax) + " 单位";
    return out + "\n";
}

std::string headOf(const RunDescription& run, long done, long asked, const char* what)
{
    std::string out;
    if (run.interrupted)
        out += "已中断：以下只统计已经玩完的 " + number(done) + " " + what + "（要求 " + number(asked) + " "
            + what + "）。\n";
    out += "规则文件夹：" + run.rulesFolder + "\n";
    out += "玩法：" + describeGame(run.settings) + "\n";
    return out;
}

void writeEstimate(JsonWriter& j, const char* key, const Estimate& e)
{
    j.key(key).beginObject().key("value").value(e.value).key("se").value(e.se).endObject();
}

void writeDistribution(JsonWriter& j, const char* key, const sim::Distribution& d)
{
    j.key(key).beginObject();
    writeEstimate(j, "mean", d.mean);
    j.key("sd").value(d.sd).key("min").value(d.min).key("max").value(d.max);
    j.key("percentiles").beginObject();
    for (const sim::Percentile& p : d.percentiles)
        j.key(fixed(p.percent, 1)).value(p.value);
    j.endObject().endObject();
}

void writeGame(JsonWriter& j, const sim::Settings& s)
{
    j.key("game").value(s.game == sim::Game::Baccarat ? "baccarat"
            : s.game == sim::Game::NoCommission       ? "no-commission"
                                                      : "winChance");
    if (s.game != sim::Game::WinChance) {
        j.key("decks").value(s.decks).key("cut").value(s.cut);
        j.key("bet").value(s.bet == sim::Bet::Banker ? "banker" : "player");
        if (s.game == sim::Game::Baccarat)
            j.key("commission").value(s.commission);
    } else {
        j.key("winChance").value(s.winChance);
    }
    j.key("maxHands").value(s.maxHands).key("tableMax").value(s.tableMax);
    j.key("moneyUnit").value(1.0 / static_cast<double>(sim::moneyUnitOf(s).scale));
}

void writeBankroll(JsonWriter& j, const sim::Settings& s)
{
    j.key("bankroll");
    if (s.bankroll)
        j.value(*s.bankroll);
    else
        j.null();
}

void writeCoups(JsonWriter& j, const sim::Settings& s, const sim::CoupCounts& c, long dealt)
{
    if (s.game == sim::Game::WinChance)
        return;
    writeEstimate(j, "bankerShare", sim::shareOf(c.bankerWins, dealt));
    if (s.game == sim::Game::NoCommission)
        writeEstimate(j, "bankerOnSixShare", sim::shareOf(c.bankerWinsOnSix, dealt));
    writeEstimate(j, "playerShare", sim::shareOf(c.playerWins, dealt));
    writeEstimate(j, "tieShare", sim::shareOf(c.ties, dealt));
}

} // namespace

std::string fixed(double v, int decimals)
{
    std::string s = fmt::format("{:.{}f}", v, decimals);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string withError(const Estimate& e, double factor, const char* suffix)
{
    if (std::isnan(e.se))
        return fixed(e.value * factor, 6) + suffix + "（太少，算不出标准误）";
    if (e.se == 0) // a share of none or all, or a single value
        return fixed(e.value * factor, 4) + suffix + " ± 0" + suffix;
    const int places = placesFor(e.se * factor, 4);
    const auto exact = [&](double v) {
        const std::string s = fmt::format("{:.{}f}", v, places);
        return s.find_first_not_of("-0.") == std::string::npos ? s.substr(s[0] == '-' ? 1 : 0) : s;
    };
    return exact(e.value * factor) + suffix + " ± " + exact(e.se * factor) + suffix;
}

std::string describeGame(const sim::Settings& s)
{
    if (s.game == sim::Game::WinChance)
        return "独立的手，每手赢的机会 " + fixed(s.winChance * 100, 4) + "%，没有和局，没有佣金";
    std::string text = std::string(s.game == sim::Game::NoCommission ? "免佣百家乐，" : "百家乐，")
        + number(s.decks) + " 副牌，切牌在倒数第 " + number(s.cut) + " 张，每手押";
    if (s.bet == sim::Bet::Player)
        text += "闲";
    else if (s.game == sim::Game::NoCommission)
        text += "庄，不抽佣：庄以 6 点赢只赔一半，其他庄赢 1 赔 1";
    else
        text += "庄，庄赢抽佣 " + fixed(s.commission * 100, 4) + "%";
    return text;
}

std::string textReport(const RunDescription& run, const sim::RunFigures& f)
{
    const sim::Settings& s = run.settings;
    std::string out = headOf(run, f.rounds, s.rounds, "局");
    out += limitsLine(s);
    out += ErrorNote;
    out += "\n局数：" + number(f.rounds) + " 局\n";
    if (f.rounds == 0)
        return out;

    out += (s.game == sim::Game::WinChance ? "一共：" : "发牌：") + number(f.handsDealt) + " 手"
        + coupLine(s, f.coups, f.handsDealt) + "\n";
    out += "每局手数（不含和局）：平均 " + withError(f.hands.mean) + " 手，中位数 "
        + fixed(f.hands.percentiles[0].value) + " 手，99% 分位 " + fixed(f.hands.percentiles[1].value)
        + " 手，最多 " + fixed(f.hands.max) + " 手\n\n";

    out += "每局得分（单位，即计算器显示的得分）：平均 " + withError(f.score.mean) + "，标准差 "
        + fixed(f.score.sd, 4) + "\n";
    out += "  " + percentileList(f.score.percentiles) + "\n";
    out += "  最低 " + fixed(f.score.min) + "，最高 " + fixed(f.score.max) + "\n";
    out += "  结束时得分为正 " + share(f.shareAbove) + "，为零 " + share(f.shareAt) + "，为负 "
        + share(f.shareBelow) + "\n\n";

    out += "金额（单位，含佣金）：总下注 " + number(static_cast<long>(f.staked));
    if (f.tieStaked > 0)
        out += "（其中押在和局上、原数退回的 " + number(static_cast<long>(f.tieStaked)) + "）";
    out += "，净输赢 " + fixed(f.net) + "\n";
    out += "  平均每局 " + withError(f.money.mean) + "，平均每手 " + withError(f.netPerHand)
        + "（和局也算一手）\n";
    out += "  每下注一个单位：和局的注码算作下注 " + share(f.netPerUnitStaked);
    if (s.game != sim::Game::WinChance)
        out += "；和局的注码不算 " + share(f.netPerUnitStakedNoTies);
    out += "\n  每局输赢：" + percentileList(f.money.percentiles) + "；最多输 "
        + fixed(-std::min(0.0, f.money.min)) + "，最多赢 " + fixed(f.money.max) + "\n\n";

    out += "一局怎样结束：\n";
    for (int k = 0; k < sim::RoundEndKinds; ++k) {
        const long count = f.ends[static_cast<std::size_t>(k)];
        if (count == 0 && k >= static_cast<int>(RoundEnd::HandLimit))
            continue;
        out += "  " + share(sim::shareOf(count, f.rounds)) + "  " + endName(static_cast<RoundEnd>(k)).text
            + "（" + number(count) + " 局）\n";
    }
    out += "\n";

    out += "一局中最大的注码（单位）：" + percentileList(f.largestStake.percentiles) + "；最大 "
        + fixed(f.largestStake.max) + "\n";
    out += "一局要备的本钱（每一手之前，已经输掉的加上要下的注码，取一局中最多的；单位，含佣金）：\n";
    out += "  平均 " + withError(f.need.mean) + "，" + percentileList(f.need.percentiles) + "；最多 "
        + fixed(f.need.max) + "\n";
    if (f.bankroll)
        out += "本钱 " + fixed(*f.bankroll) + " 单位："
            + share(sim::shareOf(f.ends[static_cast<int>(RoundEnd::Broke)], f.rounds))
            + " 的局打不完，在下不起注的那一手停下\n";
    out += "\n每局得分的分布（单位）：\n" + histogram(f.scoreHistogram, f.rounds);
    return out;
}

std::string jsonReport(const RunDescription& run, const sim::RunFigures& f)
{
    const sim::Settings& s = run.settings;
    JsonWriter j;
    j.beginObject();
    j.key("seed").value(std::to_string(s.seed));
    j.key("rules").value(run.rulesFolder);
    writeGame(j, s);
    j.key("errors").value("se: every {value, se} pair is an estimate and its standard error");
    j.key("roundsAsked").value(s.rounds).key("interrupted").value(run.interrupted);
    j.key("rounds").value(f.rounds);

    j.key("hands").beginObject().key("dealt").value(f.handsDealt).key("ties").value(f.ties);
    writeCoups(j, s, f.coups, f.handsDealt);
    j.endObject();
    writeDistribution(j, "handsPerRound", f.hands);
    writeDistribution(j, "score", f.score);
    writeEstimate(j, "shareAbove", f.shareAbove);
    writeEstimate(j, "shareAt", f.shareAt);
    writeEstimate(j, "shareBelow", f.shareBelow);

    j.key("money").beginObject();
    j.key("staked")
        .value(static_cast<long>(f.staked))
        .key("stakedOnTies")
        .value(static_cast<long>(f.tieStaked));
    j.key("net").value(f.net);
    writeDistribution(j, "perRound", f.money);
    writeEstimate(j, "netPerHand", f.netPerHand);
    writeEstimate(j, "netPerUnitStaked", f.netPerUnitStaked);
    writeEstimate(j, "netPerUnitStakedWithoutTies", f.netPerUnitStakedNoTies);
    j.endObject();

    j.key("ends").beginObject();
    for (int k = 0; k < sim::RoundEndKinds; ++k) {
        const long count = f.ends[static_cast<std::size_t>(k)];
        j.key(endName(static_cast<RoundEnd>(k)).key).beginObject().key("rounds").value(count);
        writeEstimate(j, "share", sim::shareOf(count, f.rounds));
        j.endObject();
    }
    j.endObject();

    writeDistribution(j, "largestStake", f.largestStake);
    writeDistribution(j, "need", f.need);
    j.key("bankroll");
    if (f.bankroll) {
        j.beginObject().key("units").value(*f.bankroll);
        writeEstimate(j, "brokeShare", sim::shareOf(f.ends[static_cast<int>(RoundEnd::Broke)], f.rounds));
        j.endObject();
    } else {
        j.null();
    }
    j.key("scoreHistogram").beginArray();
    for (const sim::Bin& b : f.scoreHistogram)
        j.beginObject()
            .key("from")
            .value(b.from)
            .key("to")
            .value(b.to)
            .key("rounds")
            .value(b.count)
            .endObject();
    j.endArray();
    j.endObject();
    return j.str() + "\n";
}

std::string sessionTextReport(const RunDescription& run, const sim::SessionFigures& f)
{
    const sim::Settings& s = run.settings;
    std::string out = headOf(run, f.sessions, s.sessions, "场");
    out += limitsLine(s);
    out += "每一场：最多 " + number(s.sessionRounds) + " 局";
    if (s.stopWin)
        out += "，净赢到 " + fixed(*s.stopWin) + " 单位就走";
    if (s.stopLoss)
        out += "，净输到 " + fixed(*s.stopLoss) + " 单位就走";
    out += s.bankroll ? "，带着 " + fixed(*s.bankroll) + " 单位本钱，下不起注就输光离场" : "，本钱不限";
    out += "（赢、输到多少在一局打完时才看）\n";
    out += ErrorNote;
    out += "\n场数：" + number(f.sessions) + " 场，一共 " + number(f.roundsPlayed) + " 局，"
        + number(f.handsDealt) + " 手" + coupLine(s, f.coups, f.handsDealt) + "\n";
    if (f.sessions == 0)
        return out;
    out += "怎样离场：\n";
    for (int k = 0; k < sim::SessionEndKinds; ++k) {
        const long count = f.ends[static_cast<std::size_t>(k)];
        out += "  " + share(sim::shareOf(count, f.sessions)) + "  "
            + sessionEndName(static_cast<SessionEnd>(k)).text + "（" + number(count) + " 场）\n";
    }
    if (s.bankroll)
        out += "输光的机会：" + share(sim::shareOf(f.ends[static_cast<int>(SessionEnd::Broke)], f.sessions))
            + "\n";
    out += "\n每场的净输赢（单位，含佣金）：平均 " + withError(f.net.mean) + "，标准差 " + fixed(f.net.sd, 4)
        + "\n";
    out += "  " + percentileList(f.net.percentiles) + "\n";
    out += "  最多输 " + fixed(-std::min(0.0, f.net.min)) + "，最多赢 " + fixed(f.net.max) + "\n";
    out += "  每下注一个单位：和局的注码算作下注 " + share(f.netPerUnitStaked);
    if (s.game != sim::Game::WinChance)
        out += "；和局的注码不算 " + share(f.netPerUnitStakedNoTies);
    out += "\n每场打的局数：平均 " + withError(f.rounds.mean) + "，" + percentileList(f.rounds.percentiles)
        + "；最多 " + fixed(f.rounds.max) + "\n";
    out += "每场打的手数（含和局）：平均 " + withError(f.hands.mean) + "，"
        + percentileList(f.hands.percentiles) + "；最多 " + fixed(f.hands.max) + "\n";
    out += "每场中途累计输赢的最低点（一局打完时看；单位）：平均 " + withError(f.lowest.mean) + "，"
        + percentileList(f.lowest.percentiles) + "；最深 " + fixed(f.lowest.max) + "\n";
    return out;
}

std::string sessionJsonReport(const RunDescription& run, const sim::SessionFigures& f)
{
    const sim::Settings& s = run.settings;
    JsonWriter j;
    j.beginObject();
    j.key("seed").value(std::to_string(s.seed));
    j.key("rules").value(run.rulesFolder);
    writeGame(j, s);
    j.key("errors").value("se: every {value, se} pair is an estimate and its standard error");
    writeBankroll(j, s);
    j.key("sessionRounds").value(s.sessionRounds);
    j.key("stopWin");
    if (s.stopWin)
        j.value(*s.stopWin);
    else
        j.null();
    j.key("stopLoss");
    if (s.stopLoss)
        j.value(*s.stopLoss);
    else
        j.null();
    j.key("sessionsAsked").value(s.sessions).key("interrupted").value(run.interrupted);
    j.key("sessions").value(f.sessions);
    j.key("rounds").value(f.roundsPlayed);
    j.key("hands").beginObject().key("dealt").value(f.handsDealt);
    writeCoups(j, s, f.coups, f.handsDealt);
    j.endObject();
    j.key("ends").beginObject();
    for (int k = 0; k < sim::SessionEndKinds; ++k) {
        const long count = f.ends[static_cast<std::size_t>(k)];
        j.key(sessionEndName(static_cast<SessionEnd>(k)).key).beginObject().key("sessions").value(count);
        writeEstimate(j, "share", sim::shareOf(count, f.sessions));
        j.endObject();
    }
    j.endObject();
    writeDistribution(j, "net", f.net);
    writeEstimate(j, "netPerUnitStaked", f.netPerUnitStaked);
    writeEstimate(j, "netPerUnitStakedWithoutTies", f.netPerUnitStakedNoTies);
    writeDistribution(j, "roundsPerSession", f.rounds);
    writeDistribution(j, "handsPerSession", f.hands);
    writeDistribution(j, "lowest", f.lowest);
    j.endObject();
    return j.str() + "\n";
}

namespace {

struct ComparedRow {
    const char* name;
    const char* key;
    sim::Difference sim::ComparisonFigures::*figure;
    bool percent;
};

const ComparedRow ComparedRows[] = {
    { "每局净输赢（单位）", "netPerRound", &sim::ComparisonFigures::netPerRound, false },
    { "每手净输赢（单位，和局也算一手）", "netPerHand", &sim::ComparisonFigures::netPerHand, false },
    { "每下注一个单位的净输赢（和局算作下注）", "netPerUnitStaked", &sim::ComparisonFigures::netPerUnitStaked,
        true },
    { "本钱不够、打不完的局", "brokeShare", &sim::ComparisonFigures::brokeShare, true },
    { "一局平均要备的本钱（单位）", "needMean", &sim::ComparisonFigures::needMean, false },
};

} // namespace

std::string compareTextReport(const ComparedRun& c)
{
    const sim::Settings& s = c.a.settings;
    std::string out;
    if (c.a.interrupted)
        out += "已中断：以下只统计已经玩完的 " + number(c.paired.rounds) + " 局。\n";
    out += "规则 A：" + c.a.rulesFolder + "\n规则 B：" + c.b.rulesFolder + "\n";
    out += "玩法：" + describeGame(s) + "\n" + limitsLine(s);
    if (s.bankroll)
        out += "每局带着 " + fixed(*s.bankroll) + " 单位本钱\n";
    out += "两套规则玩的是同样的手：每 " + number(sim::BlockRounds)
        + " 局一组，两边从同一个随机数（同样的牌靴）开始，各自按自己的局用掉需要的手。\n";
    out += ErrorNote;
    out += "差 A − B 的标准误按成对的组计算（一共 " + number(c.paired.blocks)
        + " 组），两边共有的运气不算在内。\n\n";
    out += "局数：各 " + number(c.paired.rounds) + " 局；手数 A " + number(c.figuresA.handsDealt) + "，B "
        + number(c.figuresB.handsDealt) + "\n\n";
    for (const ComparedRow& row : ComparedRows) {
        if (row.figure == &sim::ComparisonFigures::brokeShare && !s.bankroll)
            continue;
        const sim::Difference& d = c.paired.*(row.figure);
        const double factor = row.percent ? 100 : 1;
        const char* suffix = row.percent ? "%" : "";
        out += std::string(row.name) + "\n  A " + withError(d.a, factor, suffix) + "\n  B "
            + withError(d.b, factor, suffix) + "\n  A − B " + withError(d.difference, factor, suffix) + "\n";
    }
    out += "一局最多要备的本钱（单位）：A " + fixed(c.figuresA.need.max) + "，B " + fixed(c.figuresB.need.max)
        + "\n";
    out += "一局要备本钱的 99% 分位（单位）：A " + fixed(c.figuresA.need.percentiles[2].value) + "，B "
        + fixed(c.figuresB.need.percentiles[2].value) + "\n";
    out += "一局结束时得分为正：A " + share(c.figuresA.shareAbove) + "，B " + share(c.figuresB.shareAbove)
        + "\n";
    return out;
}

std::string compareJsonReport(const ComparedRun& c)
{
    const sim::Settings& s = c.a.settings;
    JsonWriter j;
    j.beginObject();
    j.key("seed").value(std::to_string(s.seed));
    j.key("rulesA").value(c.a.rulesFolder).key("rulesB").value(c.b.rulesFolder);
    writeGame(j, s);
    writeBankroll(j, s);
    j.key("errors").value("se: standard errors; those of a - b are paired over blocks of rounds");
    j.key("roundsAsked").value(s.rounds).key("interrupted").value(c.a.interrupted);
    j.key("rounds").value(c.paired.rounds).key("blocks").value(c.paired.blocks);
    for (const ComparedRow& row : ComparedRows) {
        const sim::Difference& d = c.paired.*(row.figure);
        j.key(row.key).beginObject();
        writeEstimate(j, "a", d.a);
        writeEstimate(j, "b", d.b);
        writeEstimate(j, "difference", d.difference);
        j.endObject();
    }
    j.key("needMax")
        .beginObject()
        .key("a")
        .value(c.figuresA.need.max)
        .key("b")
        .value(c.figuresB.need.max)
        .endObject();
    j.key("a").beginObject();
    writeDistribution(j, "need", c.figuresA.need);
    writeDistribution(j, "net", c.figuresA.money);
    writeEstimate(j, "shareAbove", c.figuresA.shareAbove);
    j.endObject();
    j.key("b").beginObject();
    writeDistribution(j, "need", c.figuresB.need);
    writeDistribution(j, "net", c.figuresB.money);
    writeEstimate(j, "shareAbove", c.figuresB.shareAbove);
    j.endObject();
    j.endObject();
    return j.str() + "\n";
}

std::string csvHeader()
{
    return "局,手数,和局,得分,金额,要备的本钱,最大注码,结束方式\n";
}

std::string csvRow(long round, const sim::RoundResult& r, const sim::MoneyUnit& unit)
{
    return number(round) + "," + number(r.hands) + "," + number(r.ties) + "," + number(r.score) + ","
        + fixed(sim::unitsOf(r.money, unit), 6) + "," + fixed(sim::unitsOf(r.need, unit), 6) + ","
        + number(r.largestStake) + "," + endName(r.end).text + "\n";
}

std::string sessionCsvHeader()
{
    return "次,局数,手数,和局,净输赢,最低点,离场方式\n";
}

std::string sessionCsvRow(long session, const sim::SessionResult& s, const sim::MoneyUnit& unit)
{
    return number(session) + "," + number(s.rounds) + "," + number(s.hands) + "," + number(s.ties) + ","
        + fixed(sim::unitsOf(s.net, unit), 6) + "," + fixed(sim::unitsOf(s.lowest, unit), 6) + ","
        + sessionEndName(s.end).text + "\n";
}

} // namespace zelmar
