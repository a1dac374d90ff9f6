#pragma once
// A running calculator: the rule files of one folder, the rules loaded from
// them, the round and the state of the two grids. A window (or a tool) asks
// it to start, to reload the rules or to play an event, and shows what the
// calculator tells its view; it keeps no state of play of its own.

#include "calculator/CalculatorView.h"
#include "engine/Round.h"
#include "engine/RoundEvents.h"
#include "engine/SequenceGrid.h"
#include "rules/RuleFiles.h"

#include <optional>
#include <string>

namespace zelmar {

class Calculator {
public:
    Calculator(std::string ruleFolder, CalculatorView& view, FileService& fs = defaultFileService());

    // The start of the program: clear away any save that was cut off, load
    // the rules, put the round at the origin and show stake 1 and score 0.
    void StartUp();
    // Reads both rule files again. A text that cannot be read or parsed is
    // reported and its table keeps what it held; an empty text keeps its
    // table too. Either raises rulesMissing; the other file still loads. The
    // round stays where it is.
    void LoadRules();
    // One click, or a reload, as the main window makes it.
    void Play(Event event);

    const RoundRecord& Record() const { return m_round.record(); }
    const SequenceGrids& Grids() const { return m_grids; }

    // The rule editor's side. The texts of both files byte for byte, as the
    // editor shows them; reading creates a missing file empty.
    void ReadRuleTexts(ReadResult& win, ReadResult& lost) const;
    // Writes the texts given, win file first; a file whose text is nullopt
    // is left alone. The rules in use change only by the next LoadRules.
    [[nodiscard]] SaveError SaveRuleTexts(
        const std::optional<std::string>& winText, const std::optional<std::string>& lostText) const;

private:
    // A null table keeps the one in use.
    void setRules(WinSeqPtr winSeq, LostTablePtr lostTable, bool rulesMissing);
    void show(const Effects& effects);

    RuleFiles m_files;
    CalculatorView& m_view;
    Round m_round;
    SequenceGrids m_grids;
};

} // namespace zelmar
