#include "rules/LoadRule.h"

#include "rules/RuleParser.h"

namespace zelmar {

namespace {

template <typename Table, typename Parse>
LoadedRule<Table> load(const ReadResult& read, const char* file, Parse parse)
{
    if (read.error)
        return { nullptr, read.error };
    if (IsEmptyRuleText(read.text))
        return {};
    auto parsed = parse(read.text);
    if (!parsed.ok())
        return { nullptr, describe(file, parsed.error()) };
    return { std::make_shared<const Table>(std::move(parsed.table())), std::nullopt };
}

} // namespace

LoadedRule<WinSeq> LoadWinRule(const ReadResult& read)
{
    return load<WinSeq>(read, WinFileName, ParseWinRule);
}

LoadedRule<LostTable> LoadLostRule(const ReadResult& read)
{
    return load<LostTable>(read, LostFileName, ParseLostRule);
}

} // namespace zelmar
