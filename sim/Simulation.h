#pragma once
// Playing many rounds of a progression through the calculator's own engine.
// A round starts at the origin and is played hand by hand, each hand recorded
// as the win or lose button records it, until the engine ends the round or a
// limit of the table, of the money or of the run stops it.
//
// Money is counted exactly, in whole cents of the game's own size (see
// MoneyUnit): a banker win with 5 % commission pays 19 twentieths, so money
// there is counted in twentieths of a unit. No sum of money is ever rounded.
//
// The work is cut into blocks: BlockRounds rounds, or BlockSessions sessions.
// Each block has its own generator (and its own shoe) seeded from the run's
// seed and the block's number, so the same seed gives the same rounds
// whatever the number of threads; finished blocks are handed on in order.

#include "engine/RoundSteps.h"
#include "engine/Tables.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zelmar::sim {

enum class Game {
    Baccarat, // punto banco, a banker win pays 1 less the commission
    NoCommission, // punto banco, a banker win on a total of 6 pays half, every other banker win 1 to 1
    WinChance, // independent hands won with a fixed chance, paid 1 to 1, no ties
};
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
    Broke, // the money left could not cover the next stake; the last end
};
inline constexpr int RoundEndKinds = static_cast<int>(RoundEnd::Broke) + 1;

// How a round the engine ended is counted.
RoundEnd roundEndOf(EndReason why);

// Money in whole units of 1/scale of a stake unit.
using Money = std::int64_t;

// The exact unit money is counted in: `scale` parts to a stake unit, and
// what a won hand pays per unit staked in those parts.
struct MoneyUnit {
    std::int64_t scale = 1;
    std::int64_t winPays = 1; // a won hand (banker win with commission: scale less the commission)
    std::int64_t winOnSixPays = 1; // a banker win on a total of 6 at the no-commission game
};

struct RoundResult {
    std::int64_t staked = 0; // sum of the stakes placed, ties included
    std::int64_t tieStaked = 0; // the part of it placed on ties (pushed back)
    Money money = 0; // net result, commission included
    // The most money the round ever had on the table and behind it: before
    // each hand, the running net so far less the stake about to be placed,
    // at its lowest, as a positive amount. A bankroll of at least this much
    // plays the round to its end.
    Money need = 0;
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
    // Money in hand at the start of a round (without sessions) or of a
    // session: a stake it cannot cover ends the round as Broke.
    std::optional<double> bankroll;

    // Sessions: rounds one after another, the money carried over, until
    // sessionRounds rounds, the net reaches stopWin or -stopLoss (checked
    // when a round ends), or the money left cannot cover a stake.
    long sessions = 0; // 0: no sessions, settings.rounds single rounds
    long sessionRounds = 1000;
    std::optional<double> stopWin;
    std::optional<double> stopLoss;
};

// The unit money is counted in for the settings' game and bet. For a
// commission of up to six decimal places the unit is exact; a finer
// commission is taken to the nearest millionth (zelmar-sim refuses one).
MoneyUnit moneyUnitOf(const Settings& s);
// The stake of a round's first hand under the settings' rules.
i16 firstStake(const Settings& s);
// An amount of money given in stake units, in the money unit, rounded down.
Money toMoney(double units, const MoneyUnit& unit);
inline double unitsOf(Money m, const MoneyUnit& unit)
{
    return static_cast<double>(m) / static_cast<double>(unit.scale);
}

inline constexpr long BlockRounds = 1000;
inline constexpr long BlockSessions = 100;

// Coups dealt, baccarat only.
struct CoupCounts {
    long bankerWins = 0;
    long bankerWinsOnSix = 0; // part of bankerWins
    long playerWins = 0;
    long ties = 0;
    CoupCounts& operator+=(const CoupCounts& o)
    {
        bankerWins += o.bankerWins;
        bankerWinsOnSix += o.bankerWinsOnSix;
        playerWins += o.playerWins;
        ties += o.ties;
        return *this;
    }
};

// Money per unit: net over a total (staked, hands), with the standard
// error of the ratio over rounds or sessions.
template <class Real> struct RatioSumsOf {
    Real money = 0;
    Real moneySquared = 0;
    Real base = 0;
    Real baseSquared = 0;
    Real product = 0;
    void add(Real m, Real b)
    {
        money += m;
        moneySquared += m * m;
        base += b;
        baseSquared += b * b;
        product += m * b;
    }
    template <class Other> void add(const RatioSumsOf<Other>& o)
    {
        money += o.money;
        moneySquared += o.moneySquared;
        base += o.base;
        baseSquared += o.baseSquared;
        product += o.product;
    }
};
// A block's sums, taken by the thread that plays it.
using BlockRatioSums = RatioSumsOf<double>;

struct Block {
    long index = 0;
    std::vector<RoundResult> rounds;
    CoupCounts coups;
    // Net money in units against stakes with and without ties and against
    // hands dealt, summed over the block's rounds.
    BlockRatioSums perStake;
    BlockRatioSums perStakeNoTies;
    BlockRatioSums perHand;
};

// The rounds of one block; the same for the same settings and index.
Block playBlock(const Settings& settings, long index);

enum class SessionEnd : std::uint8_t {
    RoundsPlayed, // sessionRounds rounds
    StopWin, // the net reached the target
    StopLoss, // the net reached the limit
    Broke, // the money left could not cover a stake; the last end
};
inline constexpr int SessionEndKinds = static_cast<int>(SessionEnd::Broke) + 1;

struct SessionResult {
    Money net = 0;
    Money lowest = 0; // the running net at its lowest after a round, 0 or below
    long rounds = 0;
    long hands = 0; // recorded hands
    long ties = 0;
    std::int64_t staked = 0;
    std::int64_t tieStaked = 0;
    SessionEnd end = SessionEnd::RoundsPlayed;
};

// The running net after each round of a few sessions, for the chart.
inline constexpr int TracedSessions = 12;
inline constexpr long TracedRoundsAtMost = 4000;

struct SessionBlock {
    long index = 0;
    std::vector<SessionResult> sessions;
    std::array<long, RoundEndKinds> roundEnds {};
    std::vector<std::vector<Money>> traces; // block 0 only: nets after each round
    CoupCounts coups;
};

SessionBlock playSessionBlock(const Settings& settings, long index);

struct RunControl {
    const std::atomic<bool>* stop = nullptr; // no new block starts once set
    std::function<void(long done)> progress; // rounds or sessions; called on the calling thread
};

// Plays settings.rounds rounds on settings.threads threads and hands every
// block to `take`, in order, on the calling thread. Returns the rounds
// played: fewer than asked when `stop` was set, always whole blocks.
long runRounds(
    const Settings& settings, const std::function<void(const Block&)>& take, const RunControl& control = {});

// The same for settings.sessions sessions.
long runSessions(const Settings& settings, const std::function<void(const SessionBlock&)>& take,
    const RunControl& control = {});

} // namespace zelmar::sim
