#pragma once
// What the simulation panel asks for, without any toolkit: the game, how
// much to play and the seed. The panel fills it; it is stated as the
// zelmar-sim command line that gives the same figures, and that command line
// is read into the simulator's settings as zelmar-sim reads it.

#include "sim/Run.h"
#include "sim/SimRules.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zelmar {

enum class GameChoice { BankerBaccarat, PlayerBaccarat, WinChance };

// How the figures are had: sampled by the simulator, worked out exactly
// (zelmar-sim exact), or both, so that each checks the other.
enum class Method { Simulate, Exact, Both };

struct RunRequest {
    GameChoice game = GameChoice::BankerBaccarat;
    double winChance = 0.5; // WinChance only
    long rounds = 100000;
    std::uint64_t seed = 0;
    long bankroll = 0; // units; 0: none

    // An evening at the table: sessions of rounds with the money carried
    // over (sessions == 0: single rounds).
    long sessions = 0;
    long sessionRounds = 100;
    long stopWin = 0; // units; 0: none
    long stopLoss = 0;

    // A second rule folder played on the same hands (empty: none).
    std::string folderB;

    Method method = Method::Simulate;
    bool simulates() const { return method != Method::Exact; }
    bool worksOut() const { return method != Method::Simulate; }

    bool operator==(const RunRequest&) const = default;
};

// The words after "zelmar-sim" that play the same rounds with the rules of
// `folder` and print the same figures as the window shows (--json is left
// for the caller to add): "compare" with the two folders when the request
// has a folder B.
std::vector<std::string> commandLineOf(const RunRequest& request, const std::string& folder);

// The words after "zelmar-sim" that work out the same exact figures (the
// rules of A alone).
std::vector<std::string> exactCommandLineOf(const RunRequest& request, const std::string& folder);

// What that command line plays with the rules of A (and of B when the
// request compares); or why it cannot be played.
std::variant<sim::RunPlan, std::string> planOf(
    const RunRequest& request, const std::string& folder, const SimRules& rules, const SimRules* rulesB);

} // namespace zelmar
