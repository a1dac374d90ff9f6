#pragma once
// One rule file's text made into its table: read, parsed, or the report of
// why it could not be, naming the file, line and item. Every program that
// reads rule files goes through here, so each reports a bad file alike.

#include "engine/Tables.h"
#include "rules/RuleFiles.h"

#include <memory>
#include <optional>
#include <string>

namespace zelmar {

template <typename Table> struct LoadedRule {
    std::shared_ptr<const Table> table; // null when the text is empty or did not load
    std::optional<std::string> report; // why a text could not be read or parsed

    bool empty() const { return !table && !report; }
};

LoadedRule<WinSeq> LoadWinRule(const ReadResult& read);
LoadedRule<LostTable> LoadLostRule(const ReadResult& read);

} // namespace zelmar
