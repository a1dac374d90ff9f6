#pragma once
// What the fuzz targets share: the rule files in memory of the robustness
// tests, a check that aborts with a message (so that libFuzzer keeps the
// input that broke a property), and the properties of a load.

#include "calculator/Calculator.h"
#include "calculator/HeadlessView.h"
#include "rules/RuleParser.h"
#include "tests/support/MemoryFileService.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #cond);                 \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

namespace zelmar::fuzz {

// After the calculator loaded `winText` and `lostText` into a round that was
// `before`: a table whose text is empty or does not parse is kept as it was
// and raises rulesMissing, a text that does not parse is reported once by its
// file's name, the other text loads, the grids are filled once, and the round
// does not move.
inline void checkLoaded(const std::string& winText, const std::string& lostText, const RoundRecord& before,
    const RoundRecord& r, const HeadlessView& view)
{
    std::size_t reports = 0;
    bool missing = false;
    auto one = [&](const std::string& text, bool parses, bool kept, const char* file) {
        const bool empty = IsEmptyRuleText(text);
        missing |= empty || !parses;
        FUZZ_CHECK(kept == (empty || !parses));
        if (!empty && !parses)
            FUZZ_CHECK(
                reports < view.failures.size() && view.failures[reports++].find(file) != std::string::npos);
    };
    one(winText, ParseWinRule(winText).ok(), r.winSeq == before.winSeq, WinFileName);
    one(lostText, ParseLostRule(lostText).ok(), r.lostTable == before.lostTable, LostFileName);
    FUZZ_CHECK(reports == view.failures.size() && view.fills == 1);
    FUZZ_CHECK(r.rulesMissing == missing);
    RoundRecord unmoved = r;
    unmoved.winSeq = before.winSeq;
    unmoved.lostTable = before.lostTable;
    unmoved.rulesMissing = before.rulesMissing;
    FUZZ_CHECK(unmoved == before);
}

} // namespace zelmar::fuzz
