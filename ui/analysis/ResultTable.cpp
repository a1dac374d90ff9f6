#include "ui/analysis/ResultTable.h"

#include "report/ReportText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace zelmar {

namespace {

using sim::RunPlan;
using sim::RunResults;
using Get = std::optional<Figure>;

QString shown(double v, FigureKind kind)
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    switch (kind) {
    case FigureKind::Count:
        return chinese.toString(static_cast<qlonglong>(std::llround(v)));
    case FigureKind::Units: {
        QString text = QString::number(v, 'f', 4);
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
        return text == "-0" ? QStringLiteral("0") : text;
    }
    case FigureKind::Chance:
        return QString::number(v, 'g', 3);
    case FigureKind::Share: {
        // Rare events keep their digits: 0.0031% is not 0.00%.
        const double percent = v * 100;
        return QString::number(percent, 'f', percent != 0 && std::abs(percent) < 1 ? 4 : 2) + '%';
    }
    }
    return {};
}

Figure of(const sim::Estimate& e)
{
    return { e.value, e.se };
}

Figure of(double v)
{
    return { v, std::nullopt };
}

// The value at a percentile the figures keep.
Get percentile(const sim::Distribution& d, double percent)
{
    for (const sim::Percentile& p : d.percentiles)
        if (p.percent == percent)
            return of(p.value);
    return std::nullopt;
}

bool dealt(const RunPlan& p)
{
    return p.a.game != sim::Game::WinChance;
}

// A row of a run of single rounds (A's, when compared): `f` of its figures.
template <class F> auto rounds(F f)
{
    return [f](const RunPlan& p, const RunResults& r) -> Get {
        if (!r.rounds)
            return std::nullopt;
        return f(p, *r.rounds);
    };
}

template <class F> auto sessions(F f)
{
    return [f](const RunPlan& p, const RunResults& r) -> Get {
        if (!r.sessions)
            return std::nullopt;
        return f(p, *r.sessions);
    };
}

// The share of dealt coups of one kind, where there is a shoe.
template <class Figures> auto coups(long sim::CoupCounts::*kind)
{
    return [kind](const RunPlan& p, const Figures& f) -> Get {
        if (!dealt(p))
            return std::nullopt;
        return of(sim::shareOf(f.coups.*kind, f.handsDealt));
    };
}

Get roundEnd(const sim::RunFigures& f, sim::RoundEnd e)
{
    return of(sim::shareOf(f.ends[static_cast<std::size_t>(e)], f.rounds));
}

template <class F> auto compared(F f)
{
    return [f](const RunPlan&, const RunResults& r) -> Get {
        if (!r.paired)
            return std::nullopt;
        return f(r);
    };
}

auto side(sim::Difference sim::ComparisonFigures::*figure, sim::Estimate sim::Difference::*which)
{
    return compared([figure, which](const RunResults& r) -> Get { return of((*r.paired).*figure.*which); });
}

// A row for each way a round ends, named as the reports name it.
std::vector<ResultRow> endRows()
{
    struct Names {
        std::string label;
        std::string key;
    };
    static const std::vector<Names> names = [] {
        std::vector<Names> all;
        for (int k = 0; k < sim::RoundEndKinds; ++k) {
            const EndName n = endName(static_cast<sim::RoundEnd>(k));
            all.push_back({ std::string("结束：") + n.text, std::string("/ends/") + n.key + "/share" });
        }
        return all;
    }();
    std::vector<ResultRow> rows;
    for (int k = 0; k < sim::RoundEndKinds; ++k) {
        const auto e = static_cast<sim::RoundEnd>(k);
        const Names& n = names[static_cast<std::size_t>(k)];
        rows.push_back({ n.label.c_str(), n.key.c_str(), FigureKind::Share,
            rounds([e](const RunPlan&, const sim::RunFigures& f) { return roundEnd(f, e); }) });
    }
    return rows;
}

std::optional<double> percentileOf(const sim::ExactSummary& s, double percent)
{
    for (const auto& [p, v] : s.percentiles)
        if (p == percent)
            return v;
    return std::nullopt;
}

// A figure of a distribution by the last part of its key: mean, sd, min,
// max or percentiles/P.
std::optional<double> summaryFigure(const sim::Chances& c, double scale, const std::string& part)
{
    static const std::vector<double> Percents { 1, 5, 25, 50, 75, 90, 95, 99, 99.9 };
    const sim::ExactSummary s = sim::summarize(c, scale, Percents);
    if (part == "mean")
        return s.mean;
    if (part == "sd")
        return s.sd;
    if (part == "min")
        return s.min;
    if (part == "max")
        return s.max;
    if (part.rfind("percentiles/", 0) == 0)
        return percentileOf(s, std::stod(part.substr(12)));
    return std::nullopt;
}

std::optional<double> exactRoundFigure(
    const std::string& key, const sim::RunPlan& plan, const sim::ExactRound& r)
{
    const double scale = static_cast<double>(r.unit.scale);
    const auto under = [&](const char* prefix) -> std::optional<std::string> {
        const std::string p = prefix;
        return key.rfind(p, 0) == 0 ? std::optional(key.substr(p.size())) : std::nullopt;
    };
    for (int k = 0; k < sim::RoundEndKinds; ++k)
        if (key == std::string("/ends/") + endName(static_cast<sim::RoundEnd>(k)).key + "/share")
            return r.ends[static_cast<std::size_t>(k)];
    if (const auto part = under("/handsPerRound/"))
        return summaryFigure(r.hands, 1, *part);
    if (const auto part = under("/score/"))
        return summaryFigure(r.score, 1, *part);
    const sim::ExactSummary score = sim::summarize(r.score, 1, {});
    if (key == "/shareAbove")
        return score.above;
    if (key == "/shareAt")
        return score.at;
    if (key == "/shareBelow")
        return score.below;
    if (const auto part = under("/money/perRound/"))
        return summaryFigure(r.money, scale, *part);
    if (key == "/money/netPerHand")
        return r.netPerHand();
    if (key == "/money/netPerUnitStaked")
        return r.netPerUnitStaked();
    if (key == "/money/netPerUnitStakedWithoutTies")
        return r.netPerUnitStakedNoTies();
    if (const auto part = under("/largestStake/"))
        return summaryFigure(r.largestStake, 1, *part);
    if (const auto part = under("/need/"))
        return summaryFigure(r.need, scale, *part);
    if (key == "/bankroll/brokeShare" && plan.a.bankroll)
        return r.ends[static_cast<std::size_t>(sim::RoundEnd::Broke)];
    if (key == "/exact/leftOut")
        return r.leftOut;
    if (const auto part = under("/exact/leastBankroll/")) {
        const double share = std::stod(*part) / 100;
        if (r.needLeftOut >= share)
            return std::nullopt; // what was left out could be what fails
        return static_cast<double>(sim::leastBankroll(r.need, share, 1)) / scale;
    }
    return std::nullopt;
}

std::optional<double> exactSessionFigure(const std::string& key, const sim::ExactSessions& f)
{
    for (int k = 0; k < sim::SessionEndKinds; ++k)
        if (key == std::string("/ends/") + sessionEndName(static_cast<sim::SessionEnd>(k)).key + "/share")
            return f.ends[static_cast<std::size_t>(k)];
    if (key.rfind("/net/", 0) == 0)
        return summaryFigure(f.net, static_cast<double>(f.unit.scale), key.substr(5));
    if (key == "/roundsPerSession/mean")
        return f.meanRounds;
    if (key == "/exact/leftOut")
        return f.leftOut;
    return std::nullopt;
}

} // namespace

std::optional<double> exactFigure(const char* key, const sim::RunPlan& plan, const ExactOutcome& exact)
{
    if (exact.round)
        return exactRoundFigure(key, plan, *exact.round);
    if (exact.sessions && exact.sessions->figures)
        return exactSessionFigure(key, *exact.sessions->figures);
    return std::nullopt;
}

const std::vector<ResultRow>& exactOnlyRows()
{
    const auto none = [](const RunPlan&, const RunResults&) -> Get { return std::nullopt; };
    static const std::vector<ResultRow> rows {
        { "未计入的概率不超过", "/exact/leftOut", FigureKind::Chance, none },
        { "只有 1% 的局打不完的本钱（单位）", "/exact/leastBankroll/1", FigureKind::Units, none },
        { "只有 0.1% 的局打不完的本钱（单位）", "/exact/leastBankroll/0.1", FigureKind::Units, none },
        { "只有 0.01% 的局打不完的本钱（单位）", "/exact/leastBankroll/0.01", FigureKind::Units, none },
    };
    return rows;
}

const std::vector<ResultRow>& roundRows()
{
    using F = sim::RunFigures;
    const auto figure
        = [](auto get) { return rounds([get](const RunPlan&, const F& f) -> Get { return get(f); }); };
    static const std::vector<ResultRow> rows = [&] {
        std::vector<ResultRow> r {
            { "局数", "/rounds", FigureKind::Count, figure([](const F& f) { return of(f.rounds); }) },
            { "发牌手数（含和局）", "/hands/dealt", FigureKind::Count,
                figure([](const F& f) { return of(f.handsDealt); }) },
            { "和局", "/hands/ties", FigureKind::Count, figure([](const F& f) { return of(f.ties); }) },
            { "庄赢的手", "/hands/bankerShare", FigureKind::Share,
                rounds(coups<F>(&sim::CoupCounts::bankerWins)) },
            { "闲赢的手", "/hands/playerShare", FigureKind::Share,
                rounds(coups<F>(&sim::CoupCounts::playerWins)) },
            { "和局的手", "/hands/tieShare", FigureKind::Share, rounds(coups<F>(&sim::CoupCounts::ties)) },
            { "每局平均手数（不含和局）", "/handsPerRound/mean", FigureKind::Units,
                figure([](const F& f) { return of(f.hands.mean); }) },
            { "每局手数：中位数", "/handsPerRound/percentiles/50", FigureKind::Count,
                figure([](const F& f) { return percentile(f.hands, 50); }) },
            { "每局手数：99% 分位", "/handsPerRound/percentiles/99", FigureKind::Count,
                figure([](const F& f) { return percentile(f.hands, 99); }) },
            { "每局手数：最多", "/handsPerRound/max", FigureKind::Count,
                figure([](const F& f) { return of(f.hands.max); }) },
            { "每局平均得分（单位）", "/score/mean", FigureKind::Units,
                figure([](const F& f) { return of(f.score.mean); }) },
            { "每局得分的标准差", "/score/sd", FigureKind::Units,
                figure([](const F& f) { return of(f.score.sd); }) },
            { "每局得分：最低", "/score/min", FigureKind::Units,
                figure([](const F& f) { return of(f.score.min); }) },
            { "每局得分：最高", "/score/max", FigureKind::Units,
                figure([](const F& f) { return of(f.score.max); }) },
            { "结束时得分为正的局", "/shareAbove", FigureKind::Share,
                figure([](const F& f) { return of(f.shareAbove); }) },
            { "结束时得分为零的局", "/shareAt", FigureKind::Share,
                figure([](const F& f) { return of(f.shareAt); }) },
            { "结束时得分为负的局", "/shareBelow", FigureKind::Share,
                figure([](const F& f) { return of(f.shareBelow); }) },
            { "总下注（单位）", "/money/staked", FigureKind::Count,
                figure([](const F& f) { return of(static_cast<double>(f.staked)); }) },
            { "其中押在和局上、原数退回的（单位）", "/money/stakedOnTies", FigureKind::Count,
                figure([](const F& f) { return of(static_cast<double>(f.tieStaked)); }) },
            { "净输赢（单位，含佣金）", "/money/net", FigureKind::Units,
                figure([](const F& f) { return of(f.net); }) },
            { "平均每局输赢（单位）", "/money/perRound/mean", FigureKind::Units,
                figure([](const F& f) { return of(f.money.mean); }) },
            { "平均每手输赢（单位，和局也算一手）", "/money/netPerHand", FigureKind::Units,
                figure([](const F& f) { return of(f.netPerHand); }) },
            { "每下注一个单位的输赢（和局的注码算作下注）", "/money/netPerUnitStaked", FigureKind::Share,
                figure([](const F& f) { return of(f.netPerUnitStaked); }) },
            { "每下注一个单位的输赢（和局的注码不算）", "/money/netPerUnitStakedWithoutTies",
                FigureKind::Share, figure([](const F& f) { return of(f.netPerUnitStakedNoTies); }) },
            { "每局输赢：最多输", "/money/perRound/min", FigureKind::Units,
                figure([](const F& f) { return of(f.money.min); }) },
            { "每局输赢：最多赢", "/money/perRound/max", FigureKind::Units,
                figure([](const F& f) { return of(f.money.max); }) },
        };
        for (ResultRow& end : endRows())
            r.push_back(std::move(end));
        const std::vector<ResultRow> after {
            { "一局最大注码：中位数", "/largestStake/percentiles/50", FigureKind::Count,
                figure([](const F& f) { return percentile(f.largestStake, 50); }) },
            { "一局最大注码：99% 分位", "/largestStake/percentiles/99", FigureKind::Count,
                figure([](const F& f) { return percentile(f.largestStake, 99); }) },
            { "一局最大注码：最大", "/largestStake/max", FigureKind::Count,
                figure([](const F& f) { return of(f.largestStake.max); }) },
            { "一局要备的本钱：平均", "/need/mean", FigureKind::Units,
                figure([](const F& f) { return of(f.need.mean); }) },
            { "一局要备的本钱：中位数", "/need/percentiles/50", FigureKind::Units,
                figure([](const F& f) { return percentile(f.need, 50); }) },
            { "一局要备的本钱：99% 分位", "/need/percentiles/99", FigureKind::Units,
                figure([](const F& f) { return percentile(f.need, 99); }) },
            { "一局要备的本钱：99.9% 分位", "/need/percentiles/99.9", FigureKind::Units,
                figure([](const F& f) { return percentile(f.need, 99.9); }) },
            { "一局要备的本钱：最多", "/need/max", FigureKind::Units,
                figure([](const F& f) { return of(f.need.max); }) },
            { "本钱（单位）", "/bankroll/units", FigureKind::Units,
                figure([](const F& f) -> Get { return f.bankroll ? Get(of(*f.bankroll)) : std::nullopt; }) },
            { "本钱不够、打不完的局", "/bankroll/brokeShare", FigureKind::Share,
                figure([](const F& f) -> Get {
                    return f.bankroll ? roundEnd(f, sim::RoundEnd::Broke) : std::nullopt;
                }) },
        };
        r.insert(r.end(), after.begin(), after.end());
        return r;
    }();
    return rows;
}

const std::vector<ResultRow>& sessionRows()
{
    using F = sim::SessionFigures;
    const auto figure
        = [](auto get) { return sessions([get](const RunPlan&, const F& f) -> Get { return get(f); }); };
    const auto setting
        = [](auto get) { return sessions([get](const RunPlan& p, const F&) -> Get { return get(p.a); }); };
    const auto optional
        = [](const std::optional<double>& v) -> Get { return v ? Get(of(*v)) : std::nullopt; };
    const auto end = [](sim::SessionEnd e) {
        return sessions([e](const RunPlan&, const F& f) -> Get {
            return of(sim::shareOf(f.ends[static_cast<std::size_t>(e)], f.sessions));
        });
    };
    static const std::vector<ResultRow> rows {
        { "场数", "/sessions", FigureKind::Count, figure([](const F& f) { return of(f.sessions); }) },
        { "一共打的局数", "/rounds", FigureKind::Count,
            figure([](const F& f) { return of(f.roundsPlayed); }) },
        { "发牌手数（含和局）", "/hands/dealt", FigureKind::Count,
            figure([](const F& f) { return of(f.handsDealt); }) },
        { "庄赢的手", "/hands/bankerShare", FigureKind::Share,
            sessions(coups<F>(&sim::CoupCounts::bankerWins)) },
        { "闲赢的手", "/hands/playerShare", FigureKind::Share,
            sessions(coups<F>(&sim::CoupCounts::playerWins)) },
        { "和局的手", "/hands/tieShare", FigureKind::Share, sessions(coups<F>(&sim::CoupCounts::ties)) },
        { "每场最多局数", "/sessionRounds", FigureKind::Count,
            setting([](const sim::Settings& s) { return of(s.sessionRounds); }) },
        { "赢到多少离场（单位）", "/stopWin", FigureKind::Units,
            setting([optional](const sim::Settings& s) { return optional(s.stopWin); }) },
        { "输到多少离场（单位）", "/stopLoss", FigureKind::Units,
            setting([optional](const sim::Settings& s) { return optional(s.stopLoss); }) },
        { "本钱（单位）", "/bankroll", FigureKind::Units,
            setting([optional](const sim::Settings& s) { return optional(s.bankroll); }) },
        { "离场：打满了局数", "/ends/roundsPlayed/share", FigureKind::Share,
            end(sim::SessionEnd::RoundsPlayed) },
        { "离场：赢到目标", "/ends/stopWin/share", FigureKind::Share, end(sim::SessionEnd::StopWin) },
        { "离场：输到止损", "/ends/stopLoss/share", FigureKind::Share, end(sim::SessionEnd::StopLoss) },
        { "离场：本钱不够下注（输光）", "/ends/broke/share", FigureKind::Share, end(sim::SessionEnd::Broke) },
        { "每场平均净输赢（单位，含佣金）", "/net/mean", FigureKind::Units,
            figure([](const F& f) { return of(f.net.mean); }) },
        { "每场净输赢的标准差", "/net/sd", FigureKind::Units,
            figure([](const F& f) { return of(f.net.sd); }) },
        { "每场净输赢：5% 分位", "/net/percentiles/5", FigureKind::Units,
            figure([](const F& f) { return percentile(f.net, 5); }) },
        { "每场净输赢：中位数", "/net/percentiles/50", FigureKind::Units,
            figure([](const F& f) { return percentile(f.net, 50); }) },
        { "每场净输赢：95% 分位", "/net/percentiles/95", FigureKind::Units,
            figure([](const F& f) { return percentile(f.net, 95); }) },
        { "每场净输赢：最多输", "/net/min", FigureKind::Units,
            figure([](const F& f) { return of(f.net.min); }) },
        { "每场净输赢：最多赢", "/net/max", FigureKind::Units,
            figure([](const F& f) { return of(f.net.max); }) },
        { "每下注一个单位的输赢（和局的注码算作下注）", "/netPerUnitStaked", FigureKind::Share,
            figure([](const F& f) { return of(f.netPerUnitStaked); }) },
        { "每下注一个单位的输赢（和局的注码不算）", "/netPerUnitStakedWithoutTies", FigureKind::Share,
            figure([](const F& f) { return of(f.netPerUnitStakedNoTies); }) },
        { "每场平均局数", "/roundsPerSession/mean", FigureKind::Units,
            figure([](const F& f) { return of(f.rounds.mean); }) },
        { "每场平均手数（含和局）", "/handsPerSession/mean", FigureKind::Units,
            figure([](const F& f) { return of(f.hands.mean); }) },
        { "中途累计输赢的最低点：平均", "/lowest/mean", FigureKind::Units,
            figure([](const F& f) { return of(f.lowest.mean); }) },
        { "中途累计输赢的最低点：90% 分位", "/lowest/percentiles/90", FigureKind::Units,
            figure([](const F& f) { return percentile(f.lowest, 90); }) },
        { "中途累计输赢的最低点：最深", "/lowest/max", FigureKind::Units,
            figure([](const F& f) { return of(f.lowest.max); }) },
    };
    return rows;
}

const std::vector<ResultRow>& compareRows()
{
    using C = sim::ComparisonFigures;
    using D = sim::Difference;
    static const std::vector<ResultRow> rows {
        { "局数（两边同样的手）", "/rounds", FigureKind::Count,
            compared([](const RunResults& r) { return Get(of(r.paired->rounds)); }) },
        { "A：每局净输赢（单位）", "/netPerRound/a", FigureKind::Units, side(&C::netPerRound, &D::a) },
        { "B：每局净输赢（单位）", "/netPerRound/b", FigureKind::Units, side(&C::netPerRound, &D::b) },
        { "A − B：每局净输赢（单位）", "/netPerRound/difference", FigureKind::Units,
            side(&C::netPerRound, &D::difference) },
        { "A：每手净输赢（单位，和局也算一手）", "/netPerHand/a", FigureKind::Units,
            side(&C::netPerHand, &D::a) },
        { "B：每手净输赢（单位，和局也算一手）", "/netPerHand/b", FigureKind::Units,
            side(&C::netPerHand, &D::b) },
        { "A − B：每手净输赢（单位）", "/netPerHand/difference", FigureKind::Units,
            side(&C::netPerHand, &D::difference) },
        { "A：每下注一个单位的净输赢", "/netPerUnitStaked/a", FigureKind::Share,
            side(&C::netPerUnitStaked, &D::a) },
        { "B：每下注一个单位的净输赢", "/netPerUnitStaked/b", FigureKind::Share,
            side(&C::netPerUnitStaked, &D::b) },
        { "A − B：每下注一个单位的净输赢", "/netPerUnitStaked/difference", FigureKind::Share,
            side(&C::netPerUnitStaked, &D::difference) },
        { "A：本钱不够、打不完的局", "/brokeShare/a", FigureKind::Share, side(&C::brokeShare, &D::a) },
        { "B：本钱不够、打不完的局", "/brokeShare/b", FigureKind::Share, side(&C::brokeShare, &D::b) },
        { "A − B：本钱不够、打不完的局", "/brokeShare/difference", FigureKind::Share,
            side(&C::brokeShare, &D::difference) },
        { "A：一局平均要备的本钱（单位）", "/needMean/a", FigureKind::Units, side(&C::needMean, &D::a) },
        { "B：一局平均要备的本钱（单位）", "/needMean/b", FigureKind::Units, side(&C::needMean, &D::b) },
        { "A − B：一局平均要备的本钱（单位）", "/needMean/difference", FigureKind::Units,
            side(&C::needMean, &D::difference) },
        { "A：一局要备的本钱最多（单位）", "/needMax/a", FigureKind::Units,
            compared([](const RunResults& r) { return Get(of(r.rounds->need.max)); }) },
        { "B：一局要备的本钱最多（单位）", "/needMax/b", FigureKind::Units,
            compared([](const RunResults& r) { return Get(of(r.roundsB->need.max)); }) },
        { "A：结束时得分为正的局", "/a/shareAbove", FigureKind::Share,
            compared([](const RunResults& r) { return Get(of(r.rounds->shareAbove)); }) },
        { "B：结束时得分为正的局", "/b/shareAbove", FigureKind::Share,
            compared([](const RunResults& r) { return Get(of(r.roundsB->shareAbove)); }) },
    };
    return rows;
}

ResultTableModel::ResultTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void ResultTableModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ResultTableModel::fill(const sim::RunPlan& plan, const sim::RunResults& results,
    const std::vector<ResultRow>& rows, const ExactOutcome* exact)
{
    beginResetModel();
    m_rows.clear();
    for (const ResultRow& row : rows) {
        const std::optional<Figure> f = row.figure(plan, results);
        const std::optional<double> e = exact ? exactFigure(row.key, plan, *exact) : std::nullopt;
        if (!f && !e)
            continue;
        Shown shownRow { QString::fromUtf8(row.label), QString::fromUtf8(row.key), std::nullopt, {}, {}, e,
            e ? shown(*e, row.kind) : QString(), {} };
        if (f) {
            shownRow.value = f->value;
            shownRow.valueText = shown(f->value, row.kind);
            if (f->se)
                shownRow.errorText = "± " + shown(*f->se, row.kind);
            if (e && f->se && *f->se > 0)
                shownRow.apartText = QString::asprintf("%+.1f", (f->value - *e) / *f->se);
        }
        m_rows.push_back(std::move(shownRow));
    }
    endResetModel();
}

bool ResultTableModel::hasErrors() const
{
    return std::any_of(
        m_rows.begin(), m_rows.end(), [](const Shown& row) { return !row.errorText.isEmpty(); });
}

int ResultTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 5;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Shown& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Label:
            return row.label;
        case Value:
            return row.valueText;
        case Error:
            return row.errorText;
        case Exact:
            return row.exactText;
        case Apart:
            return row.apartText;
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() != Label)
        return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    if (index.column() == Value && role == NumberRole && row.value)
        return *row.value;
    if (index.column() == Exact && role == NumberRole && row.exact)
        return *row.exact;
    if (index.column() == Value && role == KeyRole)
        return row.key;
    return {};
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Label:
        return QStringLiteral("项目");
    case Value:
        return QStringLiteral("数值");
    case Error:
        return QStringLiteral("标准误差");
    case Exact:
        return QStringLiteral("精确");
    case Apart:
        return QStringLiteral("相差几个标准误差");
    }
    return {};
}

} // namespace zelmar
