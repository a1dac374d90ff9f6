#include "report/ExactReport.h"

#include "report/JsonWriter.h"
#include "report/ReportParts.h"
#include "report/ReportText.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace zelmar {

namespace {

using sim::RoundEnd;
using sim::SessionEnd;

const std::vector<double> Percents { 1, 5, 25, 50, 75, 95, 99 };
const double FailShares[] = { 0.01, 0.001, 0.0001 };

const char* const ExactNote = "（以下数字都是精确算出来的，不是抽样：没有“±”误差。）\n";

std::string percent(double share)
{
    if (std::fabs(share) < 1e-13) // rounding, far below any chance left out
        share = 0;
    if (share != 0 && std::fabs(share) < 1e-4)
        return fmt::format("{:.3g}%", share * 100);
    return fixed(share * 100, 4) + "%";
}

std::string chance(double p)
{
    return fmt::format("{:.6g}", p);
}

std::string head(const ExactDescription& d)
{
    const sim::Settings& s = d.settings;
    std::string out;
    if (d.stopped)
        out += "已中断：下面的数字没有算完，未计入的部分见“未计入的概率”。\n";
    out += "规则文件夹：" + d.rulesFolder + "\n";
    out += "玩法：" + describeGame(s, false) + "\n";
    if (s.game != sim::Game::WinChance)
        out += "百家乐的数字把每一手当作相互独立的手，每手都按一个新洗好的整靴的机会：真实牌靴里发过的牌不再"
               "回来，"
               "手与手之间略有关联，zelmar-sim run 在真实牌靴上的结果与这里略有出入。\n";
    out += "每局最多 " + std::to_string(s.maxHands) + " 手";
    if (s.tableMax < 32767)
        out += "，台面上限 " + std::to_string(s.tableMax) + " 单位";
    if (s.bankroll)
        out += "，每局带着 " + fixed(*s.bankroll) + " 单位本钱";
    return out + "\n" + ExactNote;
}

std::string handLine(const sim::Settings& s, const sim::HandChances& h)
{
    if (s.game == sim::Game::WinChance)
        return {};
    std::string out = "每手的机会（整靴第一手）：押中 " + percent(h.win + h.winOnSix);
    if (h.winOnSix > 0)
        out += "（其中庄以 6 点赢 " + percent(h.winOnSix) + "）";
    return out + "，不中 " + percent(h.loss) + "，和局 " + percent(h.tie) + "\n";
}

std::string leftOutLine(double leftOut)
{
    return "未计入的概率不超过 " + fmt::format("{:.3g}", leftOut);
}

std::string percentiles(const sim::ExactSummary& s)
{
    std::string out;
    for (const auto& [p, v] : s.percentiles) {
        if (!out.empty())
            out += "，";
        out += fixed(p, 1) + "% 分位 " + fixed(v);
    }
    return out;
}

std::string summaryLine(const sim::ExactSummary& s)
{
    return "平均 " + fixed(s.mean, 6) + "，标准差 " + fixed(s.sd, 4) + "；" + percentiles(s) + "；最小 "
        + fixed(s.min) + "，最大 " + fixed(s.max);
}

void writeDistribution(JsonWriter& j, const char* key, const sim::ExactSummary& s)
{
    j.key(key).beginObject();
    j.key("mean").beginObject().key("value").value(s.mean).key("se").value(0.0).endObject();
    j.key("sd").value(s.sd).key("min").value(s.min).key("max").value(s.max);
    j.key("percentiles").beginObject();
    for (const auto& [p, v] : s.percentiles)
        j.key(fixed(p, 1)).value(v);
    j.endObject().endObject();
}

void writeShare(JsonWriter& j, const char* key, double p)
{
    j.key(key).beginObject().key("value").value(p).key("se").value(0.0).endObject();
}

void writeChances(JsonWriter& j, const char* key, const sim::Chances& c, double scale)
{
    j.key(key).beginArray();
    for (const auto& [x, p] : c)
        j.beginArray().value(static_cast<double>(x) / scale).value(p).endArray();
    j.endArray();
}

void writeGame(JsonWriter& j, const sim::Settings& s, const sim::HandChances& h)
{
    report::writeGame(j, s, false); // no shoe is dealt: no cut card
    j.key("hand").beginObject().key("win").value(h.win).key("winOnSix").value(h.winOnSix);
    j.key("loss").value(h.loss).key("tie").value(h.tie).endObject();
    report::writeBankroll(j, s);
}
double scaleOf(const sim::MoneyUnit& u)
{
    return static_cast<double>(u.scale);
}

std::string cellList(const std::vector<sim::CellReach>& cells, bool win)
{
    std::string out;
    int row = -1;
    for (const sim::CellReach& c : cells) {
        if (c.row != row) {
            row = c.row;
            out += win ? "  " : "  第 " + std::to_string(row + 1) + " 行：";
        } else {
            out += "  ";
        }
        out += std::to_string(c.value) + "→" + percent(c.chance);
        if (&c == &cells.back() || (&c + 1)->row != row)
            out += "\n";
    }
    return out;
}

} // namespace

std::string exactTextReport(const ExactDescription& d, const sim::ExactRound& r)
{
    const sim::Settings& s = d.settings;
    const double scale = scaleOf(r.unit);
    std::string out = head(d);
    out += handLine(s, r.hand);
    out += leftOutLine(r.leftOut) + "（结束方式、得分、输赢、手数）";
    if (r.needLeftOut > r.leftOut)
        out += "；一局要备的本钱不超过 " + fmt::format("{:.3g}", r.needLeftOut);
    if (r.cellsLeftOut > r.leftOut)
        out += "；最大注码和走到的格子不超过 " + fmt::format("{:.3g}", r.cellsLeftOut);
    out += "\n\n一局怎样结束：\n";
    for (int k = 0; k < sim::RoundEndKinds; ++k)
        out += "  " + percent(r.ends[static_cast<std::size_t>(k)]) + "  "
            + endName(static_cast<RoundEnd>(k)).text + "\n";

    const sim::ExactSummary score = sim::summarize(r.score, 1, Percents);
    out += "\n每局得分（单位）：" + summaryLine(score) + "\n";
    out += "  得分高于 0 的机会 " + percent(score.above) + "，等于 0 " + percent(score.at) + "，低于 0 "
        + percent(score.below) + "\n";
    const sim::ExactSummary money = sim::summarize(r.money, scale, Percents);
    out += "每局净输赢（单位，含佣金）：" + summaryLine(money) + "\n";
    out += "  赢钱的机会 " + percent(money.above) + "，不输不赢 " + percent(money.at) + "，输钱 "
        + percent(money.below) + "\n";
    out += "每局手数：平均 " + fixed(r.meanHands, 4) + " 手（不算和局）";
    if (s.game != sim::Game::WinChance)
        out += "，" + fixed(r.meanHands + r.meanTies, 4) + " 手（算上和局）";
    out += "\n每局下注：平均 " + fixed(r.meanStaked, 4) + " 单位";
    if (s.game != sim::Game::WinChance)
        out += "（和局的注码算作下注），" + fixed(r.meanStakedNoTies, 4) + " 单位（不算和局）";
    out += "\n每下注一个单位的净输赢：" + percent(r.netPerUnitStaked());
    if (s.game != sim::Game::WinChance)
        out += "（和局的注码算作下注），" + percent(r.netPerUnitStakedNoTies()) + "（不算和局）";
    out += "\n";

    const sim::ExactSummary need = sim::summarize(r.need, scale, Percents);
    // Left out of what a round needs may be any amount: a chance of failing
    // is a range, a bankroll is one that fails at most the share even if
    // every round left out fails.
    const bool unsure = r.needLeftOut > 1e-9;
    out += "\n一局要备的本钱（单位）：" + summaryLine(need) + "\n";
    if (unsure)
        out += "  （有 " + percent(r.needLeftOut)
            + " 的局没有算进来：钱数分得太散、要跟踪的状态太多，或是在手数上限被截断的局。上面的平均和分位只"
              "算了其余的局，会偏低"
              "；"
              "下面打不完的机会给出范围，本钱按没算进来的局全都打不完来定。）\n";
    out += "  本钱要多少才只有这么少的局打不完：";
    for (double share : FailShares)
        out += (share == FailShares[0] ? "" : "，") + percent(share) + " → "
            + (r.needLeftOut < share
                    ? fixed(static_cast<double>(sim::leastBankroll(r.need, share - r.needLeftOut, 1)) / scale)
                    : std::string("定不下来（没算进来的局比它多）"));
    out += "\n  带 B 单位本钱时打不完一局的机会：";
    // Whole bankrolls of 1, 2, 5 times a power of ten, up to the largest need.
    const std::int64_t most = r.need.empty() ? 0 : r.need.back().first;
    for (std::int64_t b = 1, k = 0; b * r.unit.scale <= most; b = (k % 3 == 1 ? b * 5 / 2 : b * 2), ++k) {
        const double p = sim::failChance(r.need, b * r.unit.scale);
        out += (b == 1 ? "" : "，") + std::string("B=") + std::to_string(b) + " " + percent(p);
        if (unsure)
            out += " ~ " + percent(p + r.needLeftOut);
    }
    out += "（全部见 --csv）\n";

    out += "\n最大注码的分布：";
    for (const auto& [x, p] : r.largestStake)
        out += (x == r.largestStake.front().first ? "" : "，") + std::to_string(x) + " " + percent(p);
    out += "\n\n每个格子走到的机会（光标停在这一格）：\n赢的数列（第一项是原点的注码 "
           "1，每局都从这里开始）：\n";
    out += cellList(r.winCells, true);
    out += "输的表：\n" + cellList(r.lossCells, false);
    out += "\n算法：跟踪了 " + std::to_string(r.handsFollowed) + " 手，引擎状态 "
        + std::to_string(r.engineStates) + " 个，一手最多 " + std::to_string(r.peakStates) + " 个状态，约 "
        + fixed(static_cast<double>(r.peakBytes) / 1048576.0, 1) + " MB\n";
    return out;
}

std::string exactJsonReport(const ExactDescription& d, const sim::ExactRound& r)
{
    const sim::Settings& s = d.settings;
    const double scale = scaleOf(r.unit);
    JsonWriter j;
    j.beginObject();
    j.key("exact").value(true);
    j.key("rules").value(d.rulesFolder);
    writeGame(j, s, r.hand);
    j.key("errors").value("exact: every se is 0; leftOut bounds the chance not counted");
    j.key("interrupted").value(d.stopped);
    j.key("leftOut").value(r.leftOut).key("needLeftOut").value(r.needLeftOut);
    j.key("cellsLeftOut").value(r.cellsLeftOut);
    j.key("hands").beginObject().key("perRound").value(r.meanHands).key("tiesPerRound").value(r.meanTies);
    j.endObject();
    writeDistribution(j, "handsPerRound", sim::summarize(r.hands, 1, Percents));
    const sim::ExactSummary score = sim::summarize(r.score, 1, Percents);
    writeDistribution(j, "score", score);
    writeShare(j, "shareAbove", score.above);
    writeShare(j, "shareAt", score.at);
    writeShare(j, "shareBelow", score.below);
    j.key("money").beginObject();
    j.key("stakedPerRound")
        .value(r.meanStaked)
        .key("stakedOnTiesPerRound")
        .value(r.meanStaked - r.meanStakedNoTies);
    writeDistribution(j, "perRound", sim::summarize(r.money, scale, Percents));
    writeShare(j, "netPerHand", r.netPerHand());
    writeShare(j, "netPerUnitStaked", r.netPerUnitStaked());
    writeShare(j, "netPerUnitStakedWithoutTies", r.netPerUnitStakedNoTies());
    j.endObject();
    j.key("ends").beginObject();
    for (int k = 0; k < sim::RoundEndKinds; ++k) {
        j.key(endName(static_cast<RoundEnd>(k)).key).beginObject();
        writeShare(j, "share", r.ends[static_cast<std::size_t>(k)]);
        j.endObject();
    }
    j.endObject();
    writeDistribution(j, "largestStake", sim::summarize(r.largestStake, 1, Percents));
    writeDistribution(j, "need", sim::summarize(r.need, scale, Percents));
    j.key("leastBankroll").beginObject();
    for (double share : FailShares) {
        j.key(fixed(share * 100, 2) + "%");
        if (r.needLeftOut < share)
            j.value(static_cast<double>(sim::leastBankroll(r.need, share - r.needLeftOut, 1)) / scale);
        else
            j.null();
    }
    j.endObject();
    writeChances(j, "needAtLeast", sim::atLeast(r.need), scale);
    writeChances(j, "largestStakeChances", r.largestStake, 1);
    j.key("cells").beginObject();
    for (const auto* cells : { &r.winCells, &r.lossCells }) {
        j.key(cells == &r.winCells ? "win" : "loss").beginArray();
        for (const sim::CellReach& c : *cells)
            j.beginObject()
                .key("row")
                .value(c.row)
                .key("col")
                .value(c.col)
                .key("value")
                .value(c.value)
                .key("chance")
                .value(c.chance)
                .endObject();
        j.endArray();
    }
    j.endObject();
    j.endObject();
    return j.str() + "\n";
}

std::string exactCsv(const sim::ExactRound& r)
{
    const double scale = scaleOf(r.unit);
    std::string out = "分布,x,机会\n";
    const auto rows = [&](const char* name, const sim::Chances& c, double unit) {
        for (const auto& [x, p] : c)
            out += fmt::format("{},{},{}\n", name, fixed(static_cast<double>(x) / unit, 6), chance(p));
    };
    rows("得分", r.score, 1);
    rows("净输赢", r.money, scale);
    rows("要备的本钱", r.need, scale);
    rows("要备的本钱至少", sim::atLeast(r.need), scale);
    rows("最大注码", r.largestStake, 1);
    rows("手数", r.hands, 1);
    return out;
}

std::string exactSessionTextReport(const ExactDescription& d, const sim::ExactSessions& f)
{
    const sim::Settings& s = d.settings;
    std::string out = head(d);
    out += report::sessionTermsLine(s);
    out += leftOutLine(f.leftOut) + "\n\n怎样离场：\n";
    for (int k = 0; k < sim::SessionEndKinds; ++k)
        out += "  " + percent(f.ends[static_cast<std::size_t>(k)]) + "  "
            + sessionEndName(static_cast<SessionEnd>(k)).text + "\n";
    const sim::ExactSummary net = sim::summarize(f.net, scaleOf(f.unit), Percents);
    out += "\n每场的净输赢（单位，含佣金）：" + summaryLine(net) + "\n";
    out += "  赢钱离场的机会 " + percent(net.above) + "，不输不赢 " + percent(net.at) + "，输钱 "
        + percent(net.below) + "\n";
    out += "每场平均打 " + fixed(f.meanRounds, 4) + " 局\n";
    out += "算法：按每场可能剩下的本钱各算一次一局的分布，共 " + std::to_string(f.kernels)
        + " 种，跟踪的状态共 " + fmt::format("{:.3g}", f.work) + " 个\n";
    return out;
}

std::string exactSessionJsonReport(const ExactDescription& d, const sim::ExactSessions& f)
{
    const sim::Settings& s = d.settings;
    JsonWriter j;
    j.beginObject();
    j.key("exact").value(true);
    j.key("rules").value(d.rulesFolder);
    writeGame(j, s, sim::handChancesOf(s));
    j.key("errors").value("exact: every se is 0; leftOut bounds the chance not counted");
    j.key("sessionRounds").value(s.sessionRounds);
    report::writeStops(j, s);
    j.key("interrupted").value(d.stopped);
    j.key("leftOut").value(f.leftOut);
    j.key("ends").beginObject();
    for (int k = 0; k < sim::SessionEndKinds; ++k) {
        j.key(sessionEndName(static_cast<SessionEnd>(k)).key).beginObject();
        writeShare(j, "share", f.ends[static_cast<std::size_t>(k)]);
        j.endObject();
    }
    j.endObject();
    writeDistribution(j, "net", sim::summarize(f.net, scaleOf(f.unit), Percents));
    j.key("roundsPerSession").beginObject().key("mean").beginObject().key("value").value(f.meanRounds);
    j.key("se").value(0.0).endObject().endObject();
    writeChances(j, "netChances", f.net, scaleOf(f.unit));
    j.endObject();
    return j.str() + "\n";
}

std::string exactSessionCsv(const sim::ExactSessions& f)
{
    std::string out = "分布,x,机会\n";
    for (const auto& [x, p] : f.net)
        out += fmt::format(
            "每场净输赢,{},{}\n", fixed(static_cast<double>(x) / scaleOf(f.unit), 6), chance(p));
    return out;
}

std::string sessionsTooLargeText(const sim::SessionsTooLarge& t)
{
    return fmt::format(
        "精确计算这样的场次要跟踪约 {:.3g} 个状态（要分别计算 {} 种剩余本钱下的一局），超过了上限 {:.3g} "
        "个（大约一个处理器核 1 分钟、内存 1 GB 以内能算完的量）。请减少本钱、止赢止损或局数，"
        "或者用 zelmar-sim run --sessions K 模拟。",
        t.workNeeded, t.kernelsNeeded, t.workAtMost);
}

} // namespace zelmar
