#include "report/SessionsReport.h"

#include "report/ReportParts.h"

#include <algorithm>

namespace zelmar {

using namespace report;
using sim::SessionEnd;

std::string sessionTextReport(const RunDescription& run, const sim::SessionFigures& f)
{
    const sim::Settings& s = run.settings;
    std::string out = headOf(run, f.sessions, s.sessions, "场");
    out += limitsLine(s);
    out += sessionTermsLine(s);
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
    writeJsonHead(j, run);
    writeBankroll(j, s);
    j.key("sessionRounds").value(s.sessionRounds);
    writeStops(j, s);
    j.key("sessionsAsked").value(s.sessions).key("interrupted").value(run.interrupted);
    j.key("sessions").value(f.sessions);
    j.key("rounds").value(f.roundsPlayed);
    j.key("hands").beginObject().key("dealt").value(f.handsDealt);
    writeCoups(j, s, f.coups, f.handsDealt);
    j.endObject();
    writeEnds(j, f.ends, f.sessions, &sessionEndName, "sessions");
    writeDistribution(j, "net", f.net);
    writeEstimate(j, "netPerUnitStaked", f.netPerUnitStaked);
    writeEstimate(j, "netPerUnitStakedWithoutTies", f.netPerUnitStakedNoTies);
    writeDistribution(j, "roundsPerSession", f.rounds);
    writeDistribution(j, "handsPerSession", f.hands);
    writeDistribution(j, "lowest", f.lowest);
    j.endObject();
    return j.str() + "\n";
}

} // namespace zelmar
