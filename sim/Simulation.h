#pragma once
// Playing many rounds of a progression through the calculator's own engine.
// A round starts at the origin and is played hand by hand, each hand recorded
// as the win or lose button records it, until the engine ends the round or a
// limit of the table or of the run stops it.
//
// The rounds are cut into blocks of BlockRounds. Each block has its own
// generator (and its own shoe) seeded from the run's seed and the block's
// number, so the same seed gives the same rounds whatever the number of
// threads; finished blocks are handed on in their order.

#include "engine/Tables.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace zelmar::sim {

enum class Game { Baccarat, WinChance };
enum class Bet { Banker, Player };

// How a round ended. The first four are the engine's own ends of a round.
enum class RoundEnd : std::uint8_t {
    WinPathRanOut,
    LostOnWinSide,
    TurnedOnLossSide,
    LossPathRanOut,
    HandLimit, // still going after maxHands hands
    TableLimit, // the next stake was above the table's maximum
    EngineFailure, // 16-bit overflow or an index outside a table
};
inline constexpr int RoundEndKinds = 7;

struct RoundResult {
    std::int64_t staked = 0; // sum of the stakes placed, ties included
    double money = 0; // net result, commission included
    double deepest = 0; // lowest running net result after a hand, 0 or below
    std::int32_t hands = 0; // hands recorded (ties are not)
    std::int32_t ties = 0;
    i16 score = 0; // the round's score as the calculator states it
    i16 largestStake = 0;
    RoundEnd end = RoundEnd::WinPathRanOut;
};

struct Settings {
    WinSeqPtr winSeq;
    LostTablePtr lostTable;
    Game game = Game::Baccarat;
    int decks = 8;
    int cut = 14;
    Bet bet = Bet::Banker;
    double commission = 0.05;
    double winChance = 0.5;
    long rounds = 100000;
    std::uint64_t seed = 0;
    int threads = 1;
    long maxHands = 10000;
    long tableMax = 32767; // no 16-bit stake is above it
};

inline constexpr long BlockRounds = 1000;

struct Block {
    long index = 0;
    std::vector<RoundResult> rounds;
    long bankerWins = 0; // coups dealt, baccarat only
    long playerWins = 0;
    long ties = 0;
};

// The rounds of one block; the same for the same settings and index.
Block playBlock(const Settings& settings, long index);

struct RunControl {
    const std::atomic<bool>* stop = nullptr; // no new block starts once set
    std::function<void(long roundsDone)> progress; // called on the calling thread
};

// Plays settings.rounds rounds on settings.threads threads and hands every
// block to `take`, in order, on the calling thread. Returns the rounds
// played: fewer than asked when `stop` was set, always whole blocks.
long runRounds(
    const Settings& settings, const std::function<void(const Block&)>& take, const RunControl& control = {});

} // namespace zelmar::sim
