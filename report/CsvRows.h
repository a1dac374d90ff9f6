#pragma once
// The CSV of a run: one row per round, or per session, as zelmar-sim run
// --csv and the analysis window's export write it. After a comparison each
// row starts with the rule set it belongs to.

#include "sim/Simulation.h"

#include <ostream>
#include <string>

namespace zelmar {

class CsvRows {
public:
    // `labelled`: a first column names the rule set of each row.
    CsvRows(std::ostream& out, bool sessions, bool labelled = false);

    void header();
    // The rows of a block; `label` fills the first column when labelled.
    void add(const sim::Block& block, const sim::MoneyUnit& unit, const std::string& label = {});
    void add(const sim::SessionBlock& block, const sim::MoneyUnit& unit, const std::string& label = {});

private:
    std::ostream& m_out;
    bool m_sessions;
    bool m_labelled;
};

} // namespace zelmar
