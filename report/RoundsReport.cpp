#include "report/RoundsReport.h"

#include "report/ReportParts.h"

#include <algorithm>

namespace zelmar {

using namespace report;
using sim::RoundEnd;

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
    writeJsonHead(j, run);
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

    writeEnds(j, f.ends, f.rounds, &endName, "rounds");

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

} // namespace zelmar
