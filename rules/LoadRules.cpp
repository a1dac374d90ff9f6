#include "rules/LoadRules.h"

#include "rules/RuleParser.h"

namespace zelmar {

namespace {

// Parses one non-empty text into a new table, or reports why it cannot and
// gives back null so that the table in use stays.
template <typename Table, typename Parse>
std::shared_ptr<const Table> parseOrReport(
    const ReadResult& read, const char* file, Parse parse, const ReportFailure& report, i16& rulesMissing)
{
    if (read.error) {
        report(*read.error);
        rulesMissing = 1;
        return nullptr;
    }
    if (read.text.empty()) {
        rulesMissing = 1;
        return nullptr;
    }
    auto parsed = parse(read.text);
    if (!parsed.ok()) {
        report(describe(file, parsed.error()));
        rulesMissing = 1;
        return nullptr;
    }
    return std::make_shared<const Table>(std::move(parsed.table()));
}

} // namespace

void LoadRules(Round& round, const RuleFiles& files, const ReportFailure& report)
{
    ReadResult win;
    ReadResult lost;
    files.ReadRuleTexts(win, lost);
    i16 rulesMissing = 0;
    auto winSeq = parseOrReport<WinSeq>(win, WinFileName, ParseWinRule, report, rulesMissing);
    auto lostTable = parseOrReport<LostTable>(lost, LostFileName, ParseLostRule, report, rulesMissing);
    round.setRules(std::move(winSeq), std::move(lostTable), rulesMissing);
}

void StartUp(Round& round, const RuleFiles& files, const ReportFailure& report)
{
    files.RemoveLeftoverSaves();
    LoadRules(round, files, report);
    round.ResetState();
    round.ShowTotals();
}

} // namespace zelmar
