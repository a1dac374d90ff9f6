#include "report/ReportParts.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace zelmar::report {

using sim::Estimate;

const char* const ErrorNote = "（“±”后面是标准误：真值约有 95% 的把握落在 ±1.96 个标准误之内。）\n";

std::string number(long v)
{
    return std::to_string(v);
}

std::string percent(double share, int decimals)
{
    return fixed(share * 100, decimals) + "%";
}

std::string share(const Estimate& e)
{
    return withError(e, 100, "%");
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

std::string sessionTermsLine(const sim::Settings& s)
{
    std::string out;
    out += "每一场：最多 " + number(s.sessionRounds) + " 局";
    if (s.stopWin)
        out += "，净赢到 " + fixed(*s.stopWin) + " 单位就走";
    if (s.stopLoss)
        out += "，净输到 " + fixed(*s.stopLoss) + " 单位就走";
    out += s.bankroll ? "，带着 " + fixed(*s.bankroll) + " 单位本钱，下不起注就输光离场" : "，本钱不限";
    out += "（赢、输到多少在一局打完时才看）\n";
    return out;
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

void writeJsonHead(JsonWriter& j, const RunDescription& run)
{
    j.beginObject();
    j.key("seed").value(std::to_string(run.settings.seed));
    j.key("rules").value(run.rulesFolder);
    writeGame(j, run.settings);
    j.key("errors").value("se: every {value, se} pair is an estimate and its standard error");
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

void writeGame(JsonWriter& j, const sim::Settings& s, bool withCut)
{
    j.key("game").value(s.game == sim::Game::Baccarat ? "baccarat"
            : s.game == sim::Game::NoCommission       ? "no-commission"
                                                      : "winChance");
    if (s.game != sim::Game::WinChance) {
        j.key("decks").value(s.decks);
        if (withCut)
            j.key("cut").value(s.cut);
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

void writeStops(JsonWriter& j, const sim::Settings& s)
{
    for (const auto& [key, value] :
        { std::pair { "stopWin", s.stopWin }, std::pair { "stopLoss", s.stopLoss } }) {
        j.key(key);
        if (value)
            j.value(*value);
        else
            j.null();
    }
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

} // namespace zelmar::report
