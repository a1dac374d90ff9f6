#include "report/CsvRows.h"

#include "report/ReportText.h"

namespace zelmar {

namespace {

std::string number(long v)
{
    return std::to_string(v);
}

std::string units(sim::Money m, const sim::MoneyUnit& unit)
{
    return fixed(sim::unitsOf(m, unit), 6);
}

} // namespace

CsvRows::CsvRows(std::ostream& out, bool sessions, bool labelled)
    : m_out(out)
    , m_sessions(sessions)
    , m_labelled(labelled)
{
}

void CsvRows::header()
{
    m_out << (m_labelled ? "规则," : "")
          << (m_sessions ? "次,局数,手数,和局,净输赢,最低点,离场方式\n"
                         : "局,手数,和局,得分,金额,要备的本钱,最大注码,结束方式\n");
}

void CsvRows::add(const sim::Block& block, const sim::MoneyUnit& unit, const std::string& label)
{
    long round = block.index * sim::BlockRounds;
    for (const sim::RoundResult& r : block.rounds) {
        if (m_labelled)
            m_out << label << ',';
        m_out << number(++round) + "," + number(r.hands) + "," + number(r.ties) + "," + number(r.score) + ","
                + units(r.money, unit) + "," + units(r.need, unit) + "," + number(r.largestStake) + ","
                + endName(r.end).text + "\n";
    }
}

void CsvRows::add(const sim::SessionBlock& block, const sim::MoneyUnit& unit, const std::string& label)
{
    long session = block.index * sim::BlockSessions;
    for (const sim::SessionResult& s : block.sessions) {
        if (m_labelled)
            m_out << label << ',';
        m_out << number(++session) + "," + number(s.rounds) + "," + number(s.hands) + "," + number(s.ties)
                + "," + units(s.net, unit) + "," + units(s.lowest, unit) + "," + sessionEndName(s.end).text
                + "\n";
    }
}

} // namespace zelmar
