#include "calculator/Calculator.h"

#include "rules/LoadRule.h"

namespace zelmar {

Calculator::Calculator(std::string ruleFolder, CalculatorView& view, FileService& fs)
    : m_files(std::move(ruleFolder), fs)
    , m_view(view)
{
}

void Calculator::StartUp()
{
    m_files.RemoveLeftoverSaves();
    LoadRules();
    m_round.ResetState();
    m_view.showTotals(Record().score, Record().stake);
}

void Calculator::LoadRules()
{
    ReadResult winText;
    ReadResult lostText;
    m_files.ReadRuleTexts(winText, lostText);
    const LoadedRule<WinSeq> win = LoadWinRule(winText);
    const LoadedRule<LostTable> lost = LoadLostRule(lostText);
    for (const auto* report : { &win.report, &lost.report }) {
        if (*report)
            m_view.reportFailure(**report);
    }
    setRules(win.table, lost.table, !win.table || !lost.table);
}

void Calculator::setRules(WinSeqPtr winSeq, LostTablePtr lostTable, bool rulesMissing)
{
    m_round.setRules(std::move(winSeq), std::move(lostTable), rulesMissing);
    m_view.beginFill();
    m_grids.FillGrids(Record().winSeq, Record().lostTable);
    m_view.endFill(Record().winSeq, Record().lostTable);
}

void Calculator::ReadRuleTexts(ReadResult& win, ReadResult& lost) const
{
    m_files.ReadRuleTexts(win, lost);
}

SaveError Calculator::SaveRuleTexts(
    const std::optional<std::string>& winText, const std::optional<std::string>& lostText) const
{
    if (winText && lostText)
        return m_files.SaveRuleTexts(*winText, *lostText);
    if (winText)
        return m_files.SaveWinText(*winText);
    if (lostText)
        return m_files.SaveLostText(*lostText);
    return std::nullopt;
}

void Calculator::Play(Event event)
{
    switch (event) {
    case Event::Win:
        return show(m_round.cmdWin_Click());
    case Event::Loss:
        return show(m_round.cmdLost_Click());
    case Event::Back:
        return show(m_round.cmdBack_Click());
    case Event::Reset:
        return show(m_round.cmdReset_Click());
    case Event::Reload:
        return LoadRules();
    }
}

// Each effect changes the grids' state first, then tells the view, so that
// a notice comes up over the marks of the moment it was made.
void Calculator::show(const Effects& effects)
{
    for (const Effect& e : effects) {
        switch (e.kind) {
        case Effect::Kind::ShowTotals:
            m_view.showTotals(e.score, e.stake);
            break;
        case Effect::Kind::ShowCursor:
            m_view.cellsChanged(m_grids.ShowCursor(e.cursor));
            break;
        case Effect::Kind::ClearMarks:
            m_view.cellsChanged(m_grids.ClearMarks(e.direction));
            break;
        case Effect::Kind::Notice:
            m_view.notice(e.text);
            break;
        case Effect::Kind::Failure:
            m_view.reportFailure(e.text);
            break;
        }
    }
}

} // namespace zelmar
