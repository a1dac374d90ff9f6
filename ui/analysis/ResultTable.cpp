#include "ui/analysis/ResultTable.h"

#include <QLocale>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace zelmar {

namespace {

using Json = nlohmann::json;

// The value at `pointer`, or null where the report has none (also under a
// null, as the bankroll is when none was given).
const Json* find(const Json& root, const std::string& pointer)
{
    const Json* at = &root;
    std::size_t from = 1;
    while (from <= pointer.size()) {
        const std::size_t to = std::min(pointer.find('/', from), pointer.size());
        if (!at->is_object())
            return nullptr;
        const auto it = at->find(pointer.substr(from, to - from));
        if (it == at->end())
            return nullptr;
        at = &*it;
        from = to + 1;
    }
    return at;
}

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
    case FigureKind::Share: {
        // Rare events keep their digits: 0.0031% is not 0.00%.
        const double percent = v * 100;
        return QString::number(percent, 'f', percent != 0 && std::abs(percent) < 1 ? 4 : 2) + '%';
    }
    }
    return {};
}

} // namespace

const std::vector<ResultRow>& roundRows()
{
    static const std::vector<ResultRow> rows {
        { "局数", "/rounds", FigureKind::Count },
        { "发牌手数（含和局）", "/hands/dealt", FigureKind::Count },
        { "和局", "/hands/ties", FigureKind::Count },
        { "庄赢的手", "/hands/bankerShare", FigureKind::Share },
        { "庄以 6 点赢的手", "/hands/bankerOnSixShare", FigureKind::Share },
        { "闲赢的手", "/hands/playerShare", FigureKind::Share },
        { "和局的手", "/hands/tieShare", FigureKind::Share },
        { "每局平均手数（不含和局）", "/handsPerRound/mean", FigureKind::Units },
        { "每局手数：中位数", "/handsPerRound/percentiles/50", FigureKind::Count },
        { "每局手数：99% 分位", "/handsPerRound/percentiles/99", FigureKind::Count },
        { "每局手数：最多", "/handsPerRound/max", FigureKind::Count },
        { "每局平均得分（单位）", "/score/mean", FigureKind::Units },
        { "每局得分的标准差", "/score/sd", FigureKind::Units },
        { "每局得分：最低", "/score/min", FigureKind::Units },
        { "每局得分：最高", "/score/max", FigureKind::Units },
        { "结束时得分为正的局", "/shareAbove", FigureKind::Share },
        { "结束时得分为零的局", "/shareAt", FigureKind::Share },
        { "结束时得分为负的局", "/shareBelow", FigureKind::Share },
        { "总下注（单位）", "/money/staked", FigureKind::Count },
        { "其中押在和局上、原数退回的（单位）", "/money/stakedOnTies", FigureKind::Count },
        { "净输赢（单位，含佣金）", "/money/net", FigureKind::Units },
        { "平均每局输赢（单位）", "/money/perRound/mean", FigureKind::Units },
        { "平均每手输赢（单位，和局也算一手）", "/money/netPerHand", FigureKind::Units },
        { "每下注一个单位的输赢（和局的注码算作下注）", "/money/netPerUnitStaked", FigureKind::Share },
        { "每下注一个单位的输赢（和局的注码不算）", "/money/netPerUnitStakedWithoutTies", FigureKind::Share },
        { "每局输赢：最多输", "/money/perRound/min", FigureKind::Units },
        { "每局输赢：最多赢", "/money/perRound/max", FigureKind::Units },
        { "结束：赢的方向数列到了尽头", "/ends/winPathRanOut/share", FigureKind::Share },
        { "结束：赢的方向上输了一局", "/ends/lostOnWinSide/share", FigureKind::Share },
        { "结束：输的方向上反败为胜", "/ends/turnedOnLossSide/share", FigureKind::Share },
        { "结束：输的方向数列到了尽头", "/ends/lossPathRanOut/share", FigureKind::Share },
        { "结束：手数到了上限被截断", "/ends/cutAtMaxHands/share", FigureKind::Share },
        { "结束：注码超过台面上限", "/ends/overTableMax/share", FigureKind::Share },
        { "结束：计算出错（溢出或下标越界）", "/ends/engineFailure/share", FigureKind::Share },
        { "结束：本钱不够下一手的注码", "/ends/broke/share", FigureKind::Share },
        { "一局最大注码：中位数", "/largestStake/percentiles/50", FigureKind::Count },
        { "一局最大注码：99% 分位", "/largestStake/percentiles/99", FigureKind::Count },
        { "一局最大注码：最大", "/largestStake/max", FigureKind::Count },
        { "一局要备的本钱：平均", "/need/mean", FigureKind::Units },
        { "一局要备的本钱：中位数", "/need/percentiles/50", FigureKind::Units },
        { "一局要备的本钱：99% 分位", "/need/percentiles/99", FigureKind::Units },
        { "一局要备的本钱：99.9% 分位", "/need/percentiles/99.9", FigureKind::Units },
        { "一局要备的本钱：最多", "/need/max", FigureKind::Units },
        { "本钱（单位）", "/bankroll/units", FigureKind::Units },
        { "本钱不够、打不完的局", "/bankroll/brokeShare", FigureKind::Share },
    };
    return rows;
}

const std::vector<ResultRow>& sessionRows()
{
    static const std::vector<ResultRow> rows {
        { "场数", "/sessions", FigureKind::Count },
        { "一共打的局数", "/rounds", FigureKind::Count },
        { "发牌手数（含和局）", "/hands/dealt", FigureKind::Count },
        { "庄赢的手", "/hands/bankerShare", FigureKind::Share },
        { "庄以 6 点赢的手", "/hands/bankerOnSixShare", FigureKind::Share },
        { "闲赢的手", "/hands/playerShare", FigureKind::Share },
        { "和局的手", "/hands/tieShare", FigureKind::Share },
        { "每场最多局数", "/sessionRounds", FigureKind::Count },
        { "赢到多少离场（单位）", "/stopWin", FigureKind::Units },
        { "输到多少离场（单位）", "/stopLoss", FigureKind::Units },
        { "本钱（单位）", "/bankroll", FigureKind::Units },
        { "离场：打满了局数", "/ends/roundsPlayed/share", FigureKind::Share },
        { "离场：赢到目标", "/ends/stopWin/share", FigureKind::Share },
        { "离场：输到止损", "/ends/stopLoss/share", FigureKind::Share },
        { "离场：本钱不够下注（输光）", "/ends/broke/share", FigureKind::Share },
        { "每场平均净输赢（单位，含佣金）", "/net/mean", FigureKind::Units },
        { "每场净输赢的标准差", "/net/sd", FigureKind::Units },
        { "每场净输赢：5% 分位", "/net/percentiles/5", FigureKind::Units },
        { "每场净输赢：中位数", "/net/percentiles/50", FigureKind::Units },
        { "每场净输赢：95% 分位", "/net/percentiles/95", FigureKind::Units },
        { "每场净输赢：最多输", "/net/min", FigureKind::Units },
        { "每场净输赢：最多赢", "/net/max", FigureKind::Units },
        { "每下注一个单位的输赢（和局的注码算作下注）", "/netPerUnitStaked", FigureKind::Share },
        { "每下注一个单位的输赢（和局的注码不算）", "/netPerUnitStakedWithoutTies", FigureKind::Share },
        { "每场平均局数", "/roundsPerSession/mean", FigureKind::Units },
        { "每场平均手数（含和局）", "/handsPerSession/mean", FigureKind::Units },
        { "中途累计输赢的最低点：平均", "/lowest/mean", FigureKind::Units },
        { "中途累计输赢的最低点：90% 分位", "/lowest/percentiles/90", FigureKind::Units },
        { "中途累计输赢的最低点：最深", "/lowest/max", FigureKind::Units },
    };
    return rows;
}

const std::vector<ResultRow>& compareRows()
{
    static const std::vector<ResultRow> rows {
        { "局数（两边同样的手）", "/rounds", FigureKind::Count },
        { "A：每局净输赢（单位）", "/netPerRound/a", FigureKind::Units },
        { "B：每局净输赢（单位）", "/netPerRound/b", FigureKind::Units },
        { "A − B：每局净输赢（单位）", "/netPerRound/difference", FigureKind::Units },
        { "A：每手净输赢（单位，和局也算一手）", "/netPerHand/a", FigureKind::Units },
        { "B：每手净输赢（单位，和局也算一手）", "/netPerHand/b", FigureKind::Units },
        { "A − B：每手净输赢（单位）", "/netPerHand/difference", FigureKind::Units },
        { "A：每下注一个单位的净输赢", "/netPerUnitStaked/a", FigureKind::Share },
        { "B：每下注一个单位的净输赢", "/netPerUnitStaked/b", FigureKind::Share },
        { "A − B：每下注一个单位的净输赢", "/netPerUnitStaked/difference", FigureKind::Share },
        { "A：本钱不够、打不完的局", "/brokeShare/a", FigureKind::Share },
        { "B：本钱不够、打不完的局", "/brokeShare/b", FigureKind::Share },
        { "A − B：本钱不够、打不完的局", "/brokeShare/difference", FigureKind::Share },
        { "A：一局平均要备的本钱（单位）", "/needMean/a", FigureKind::Units },
        { "B：一局平均要备的本钱（单位）", "/needMean/b", FigureKind::Units },
        { "A − B：一局平均要备的本钱（单位）", "/needMean/difference", FigureKind::Units },
        { "A：一局要备的本钱最多（单位）", "/needMax/a", FigureKind::Units },
        { "B：一局要备的本钱最多（单位）", "/needMax/b", FigureKind::Units },
        { "A：结束时得分为正的局", "/a/shareAbove", FigureKind::Share },
        { "B：结束时得分为正的局", "/b/shareAbove", FigureKind::Share },
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

bool ResultTableModel::fill(const std::string& json, const std::vector<ResultRow>& rows)
{
    beginResetModel();
    m_rows.clear();
    const Json report = Json::parse(json, nullptr, false);
    if (report.is_object()) {
        for (const ResultRow& row : rows) {
            const Json* at = find(report, row.pointer);
            if (!at)
                continue;
            const Json* value = at;
            const Json* error = nullptr;
            if (at->is_object()) {
                value = find(*at, "/value");
                error = find(*at, "/se");
            }
            if (!value || !value->is_number())
                continue;
            const double v = value->get<double>();
            m_rows.push_back(
                { QString::fromUtf8(row.label), QString::fromUtf8(row.pointer), v, shown(v, row.kind),
                    error && error->is_number() ? "± " + shown(error->get<double>(), row.kind) : QString() });
        }
    }
    endResetModel();
    return report.is_object();
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
    return parent.isValid() ? 0 : 3;
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
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() != Label)
        return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    if (index.column() == Value && role == NumberRole)
        return row.value;
    if (index.column() == Value && role == PointerRole)
        return row.pointer;
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
    }
    return {};
}

} // namespace zelmar
