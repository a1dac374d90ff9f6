#include "report/CompareReport.h"

#include "report/ReportParts.h"

namespace zelmar {

using namespace report;

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
    j.key("errors").value(
        "se: standard errors; those of the figures compared (a, b and difference) are taken "
        "over blocks of rounds, paired for a - b, as the text report gives them; those under "
        "\"a\" and \"b\" over single rounds");
    j.key("roundsAsked").value(s.rounds).key("interrupted").value(c.a.interrupted);
    j.key("rounds").value(c.paired.rounds).key("blocks").value(c.paired.blocks);
    j.key("hands")
        .beginObject()
        .key("a")
        .value(c.figuresA.handsDealt)
        .key("b")
        .value(c.figuresB.handsDealt)
        .endObject();
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

} // namespace zelmar
