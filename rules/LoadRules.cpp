#include "LoadRules.h"

#include "RuleParser.h"

namespace zelmar {

namespace {

// Parses one non-empty text into a new table, or reports why it cannot and
// gives back null so that the table in use stays.
template <typename Table, typename Parse>
std::shared_ptr<const Table> parseOrReport(
    Round& round, const ReadResult& read, const char* file, Parse parse, i16& rulesMissing)
{
    if (read.error) {
        round.view().ReportFailure(*read.error);
        rulesMissing = 1;
        return nullptr;
    }
    if (read.text.empty()) {
        rulesMissing = 1;
        return nullptr;
    }
    auto parsed = parse(read.text);
    if (!parsed.ok()) {
        round.view().ReportFailure(describe(file, parsed.error()));
        rulesMissing = 1;
        return nullptr;
    }
    return std::make_shared<const Table>(std::move(parsed.table()));
}

} // namespace

void LoadRules(Round& round, const RuleFiles& files)
{
    ReadResult win;
    ReadResult lost;
    files.ReadRuleTexts(win, lost);
    i16 rulesMissing = 0;
    auto winSeq = parseOrReport<WinSeq>(round, win, WinFileName, ParseWinRule, rulesMissing);
    auto lostTable = parseOrReport<LostTable>(round, lost, LostFileName, ParseLostRule, rulesMissing);
    round.setRules(std::move(winSeq), std::move(lostTable), rulesMissing);
}

void StartUp(Round& round, const RuleFiles& files)
{
    files.RemoveLeftoverSaves();
    LoadRules(round, files);
    round.ResetState();
    round.ShowTotals();
}

} // namespace zelmar
