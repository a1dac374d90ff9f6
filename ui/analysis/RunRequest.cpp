#include "ui/analysis/RunRequest.h"

#include "cli/SimOptions.h"

#include <charconv>

namespace zelmar {

namespace {
// The shortest text that reads back as the same number.
std::string shortest(double v)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    return { text, end };
}
// Where a session stops, as run and exact both take it.
void addStops(std::vector<std::string>& words, const RunRequest& r)
{
    if (r.stopWin > 0)
        words.insert(words.end(), { "--stop-win", std::to_string(r.stopWin) });
    if (r.stopLoss > 0)
        words.insert(words.end(), { "--stop-loss", std::to_string(r.stopLoss) });
}

// The game and the bankroll, as run and exact both take them.
void addGame(std::vector<std::string>& words, const RunRequest& r)
{
    switch (r.game) {
    case GameChoice::BankerBaccarat:
        break;
    case GameChoice::PlayerBaccarat:
        words.insert(words.end(), { "--bet", "player" });
        break;
    case GameChoice::WinChance:
        words.insert(words.end(), { "--win-chance", shortest(r.winChance) });
        break;
    }
    if (r.bankroll > 0)
        words.insert(words.end(), { "--bankroll", std::to_string(r.bankroll) });
}

} // namespace

std::vector<std::string> commandLineOf(const RunRequest& r, const std::string& folder)
{
    std::vector<std::string> words { "run", "--rules", folder };
    if (!r.folderB.empty())
        words = { "compare", "--rules", folder, "--rules", r.folderB };
    words.insert(words.end(), { "--seed", std::to_string(r.seed) });
    if (r.sessions > 0) {
        words.insert(words.end(),
            { "--sessions", std::to_string(r.sessions), "--session-rounds",
                std::to_string(r.sessionRounds) });
        addStops(words, r);
    } else {
        words.insert(words.end(), { "--rounds", std::to_string(r.rounds) });
    }
    addGame(words, r);
    return words;
}

std::vector<std::string> exactCommandLineOf(const RunRequest& r, const std::string& folder)
{
    std::vector<std::string> words { "exact", "--rules", folder };
    if (r.sessions > 0) {
        words.insert(words.end(), { "--sessions", "--session-rounds", std::to_string(r.sessionRounds) });
        addStops(words, r);
    }
    addGame(words, r);
    return words;
}

std::variant<sim::RunPlan, std::string> planOf(
    const RunRequest& request, const std::string& folder, const SimRules& rules, const SimRules* rulesB)
{
    auto options = simOptionsOfWords(commandLineOf(request, folder));
    if (const std::string* why = std::get_if<std::string>(&options))
        return *why;
    sim::RunPlan plan { std::get<SimOptions>(options).settings, std::nullopt };
    plan.a.winSeq = rules.winSeq;
    plan.a.lostTable = rules.lostTable;
    if (rulesB && !request.folderB.empty()) {
        plan.b = plan.a;
        plan.b->winSeq = rulesB->winSeq;
        plan.b->lostTable = rulesB->lostTable;
    }
    for (const sim::Settings* s : { &plan.a, plan.b ? &*plan.b : nullptr })
        if (s)
            if (const auto why = bankrollProblem(*s))
                return *why;
    return plan;
}

} // namespace zelmar
