#pragma once
// What the simulation panel asks for, without any toolkit: the game, how
// much to play and the seed. The panel fills it, the run job turns it into
// the simulator's settings, and it says which zelmar-sim command line gives
// the same figures.

#include <cstdint>
#include <string>
#include <vector>

namespace zelmar {

// What the simulator plays: sessions, and two rule folders on the same
// hands (single rounds only).
inline constexpr bool SimulatorPlaysSessions = true;
inline constexpr bool SimulatorCompares = true;

enum class GameChoice { BankerBaccarat, PlayerBaccarat, WinChance };

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

    bool operator==(const RunRequest&) const = default;
};

// The words after "zelmar-sim" that play the same rounds with the rules of
// `folder` and print the same figures as the window shows (--json is left
// for the caller to add): "compare" with the two folders when the request
// has a folder B.
std::vector<std::string> commandLineOf(const RunRequest& request, const std::string& folder);

} // namespace zelmar
