#include "sim/Simulation.h"

#include "engine/RoundSteps.h"
#include "sim/Baccarat.h"
#include "sim/Ordered.h"
#include "sim/Random.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace zelmar::sim {

namespace {

enum class Hand : std::uint8_t { Won, WonOnSix, Lost, Push };

// Independent hands, each won with the same chance; no ties, no commission.
class ChanceHands {
public:
    ChanceHands(const Settings& s, long block)
        : m_random(s.seed, static_cast<std::uint64_t>(block))
        // Compared with 53 random bits: 2^53 wins always, 0 never.
        , m_threshold(static_cast<std::uint64_t>(s.winChance * 9007199254740992.0))
    {
    }
    Hand next() { return (m_random.next() >> 11) < m_threshold ? Hand::Won : Hand::Lost; }
    void count(CoupCounts& /*coups*/) const { }

private:
    Random m_random;
    std::uint64_t m_threshold;
};

// Coups from a shoe, the same side bet on each.
class BaccaratHands {
public:
    BaccaratHands(const Settings& s, long block)
        : m_random(s.seed, static_cast<std::uint64_t>(block))
        , m_shoe(s.decks, s.cut, m_random)
        , m_onBanker(s.bet == Bet::Banker)
        , m_sixPaysHalf(s.game == Game::NoCommission && m_onBanker)
    {
    }
    BaccaratHands(const BaccaratHands&) = delete; // the shoe holds the generator's address

    Hand next()
    {
        m_shoe.startHand();
        const Coup c = dealCoup(m_shoe);
        ++m_counts[static_cast<int>(c.winner)];
        if (c.winner == Winner::Tie)
            return Hand::Push;
        const bool onSix = c.winner == Winner::Banker && c.bankerTotal == 6;
        m_bankerSix += onSix ? 1 : 0; // counted whichever side is bet
        if ((c.winner == Winner::Banker) != m_onBanker)
            return Hand::Lost;
        return onSix && m_sixPaysHalf ? Hand::WonOnSix : Hand::Won;
    }
    void count(CoupCounts& coups) const
    {
        coups.bankerWins += m_counts[0];
        coups.playerWins += m_counts[1];
        coups.ties += m_counts[2];
        coups.bankerWinsOnSix += m_bankerSix;
    }

private:
    Random m_random;
    Shoe m_shoe;
    bool m_onBanker;
    bool m_sixPaysHalf;
    long m_counts[3] = {};
    long m_bankerSix = 0;
};

RoundRecord freshRecord(const Settings& s)
{
    RoundRecord r;
    r.winSeq = s.winSeq;
    r.lostTable = s.lostTable;
    r.keepHistory = false; // the simulator never steps back
    return r;
}

constexpr Money NoLimit = std::numeric_limits<Money>::max() / 4;

// One round from the origin to its end, with `cover` money in hand. `r` is
// at the origin on entry and is left there.
template <class Hands>
RoundResult playRound(RoundRecord& r, Hands& hands, const Settings& s, const MoneyUnit& unit, Money cover)
{
    RoundResult out;
    QuietEffects fx;
    for (;;) {
        if (out.hands >= s.maxHands) {
            out.end = RoundEnd::HandLimit;
            break;
        }
        const i16 stake = r.stake;
        if (stake > s.tableMax) {
            out.end = RoundEnd::TableLimit;
            break;
        }
        const Money onTable = Money { stake } * unit.scale;
        out.need = std::max(out.need, onTable - out.money);
        if (onTable - out.money > cover) {
            out.end = RoundEnd::Broke; // the round needed more than there was
            break;
        }
        const Hand hand = hands.next();
        out.staked += stake;
        if (hand == Hand::Push) {
            ++out.ties;
            out.tieStaked += stake;
            continue;
        }
        ++out.hands;
        out.largestStake = std::max(out.largestStake, stake);
        out.score = r.score;
        bool failed = false;
        try {
            if (hand == Hand::Lost) {
                out.money -= onTable;
                RecordLoss(r, fx);
            } else {
                out.money += stake * (hand == Hand::Won ? unit.winPays : unit.winOnSixPays);
                RecordWin(r, fx);
            }
        } catch (const EngineError&) {
            failed = true; // the hand was played; the calculator could not record it
        }
        if (failed) {
            out.end = RoundEnd::EngineFailure;
            r = freshRecord(s);
            return out;
        }
        if (fx.ended) {
            out.score = fx.endScore;
            out.end = roundEndOf(*fx.ended);
            return out;
        }
    }
    out.score = r.score;
    r = freshRecord(s);
    return out;
}

template <class Hands> Block playBlockWith(const Settings& s, long index)
{
    Block b;
    b.index = index;
    const long first = index * BlockRounds;
    const long count = std::min(BlockRounds, s.rounds - first);
    b.rounds.reserve(static_cast<std::size_t>(std::max(0L, count)));
    const MoneyUnit unit = moneyUnitOf(s);
    const Money cover = s.bankroll ? toMoney(*s.bankroll, unit) : NoLimit;
    Hands hands(s, index);
    RoundRecord r = freshRecord(s);
    for (long i = 0; i < count; ++i)
        b.rounds.push_back(playRound(r, hands, s, unit, cover));
    hands.count(b.coups);
    const auto scale = static_cast<double>(unit.scale);
    for (const RoundResult& one : b.rounds) {
        const double money = static_cast<double>(one.money) / scale;
        b.perStake.add(money, static_cast<double>(one.staked));
        b.perStakeNoTies.add(money, static_cast<double>(one.staked - one.tieStaked));
        b.perHand.add(money, static_cast<double>(one.hands + one.ties));
    }
    return b;
}

template <class Hands> SessionBlock playSessionBlockWith(const Settings& s, long index)
{
    SessionBlock b;
    b.index = index;
    const long first = index * BlockSessions;
    const long count = std::min(BlockSessions, s.sessions - first);
    b.sessions.reserve(static_cast<std::size_t>(std::max(0L, count)));
    const MoneyUnit unit = moneyUnitOf(s);
    const Money bankroll = s.bankroll ? toMoney(*s.bankroll, unit) : NoLimit;
    const Money stopWin = s.stopWin ? toMoney(*s.stopWin, unit) : NoLimit;
    // A loss limit of L is reached once the net is L or more below 0.
    const Money stopLoss = s.stopLoss ? -toMoney(*s.stopLoss, unit) : -NoLimit;
    Hands hands(s, index);
    RoundRecord r = freshRecord(s);
    for (long i = 0; i < count; ++i) {
        std::vector<Money>* trace = nullptr;
        if (index == 0 && i < TracedSessions)
            trace = &b.traces.emplace_back();
        SessionResult session;
        for (;;) {
            // Every round opens with a stake of 1.
            if (bankroll + session.net < unit.scale) {
                session.end = SessionEnd::Broke;
                break;
            }
            const RoundResult round = playRound(r, hands, s, unit, bankroll + session.net);
            ++b.roundEnds[static_cast<std::size_t>(round.end)];
            ++session.rounds;
            session.net += round.money;
            session.lowest = std::min(session.lowest, session.net);
            session.hands += round.hands;
            session.ties += round.ties;
            session.staked += round.staked;
            session.tieStaked += round.tieStaked;
            if (trace && session.rounds <= TracedRoundsAtMost)
                trace->push_back(session.net);
            if (round.end == RoundEnd::Broke) {
                session.end = SessionEnd::Broke;
                break;
            }
            if (session.net >= stopWin) {
                session.end = SessionEnd::StopWin;
                break;
            }
            if (session.net <= stopLoss) {
                session.end = SessionEnd::StopLoss;
                break;
            }
            if (session.rounds >= s.sessionRounds) {
                session.end = SessionEnd::RoundsPlayed;
                break;
            }
        }
        b.sessions.push_back(session);
    }
    hands.count(b.coups);
    return b;
}

} // namespace

RoundEnd roundEndOf(EndReason why)
{
    switch (why) {
    case EndReason::WinPathRanOut:
        return RoundEnd::WinPathRanOut;
    case EndReason::LossPathRanOut:
        return RoundEnd::LossPathRanOut;
    case EndReason::LostOnWinSide:
        return RoundEnd::LostOnWinSide;
    case EndReason::TurnedOnLossSide:
    case EndReason::StartedOver: // never recorded by a win or a loss
        break;
    }
    return RoundEnd::TurnedOnLossSide;
}

i16 firstStake(const Settings& s)
{
    return freshRecord(s).stake;
}

MoneyUnit moneyUnitOf(const Settings& s)
{
    if (s.game == Game::WinChance || s.bet == Bet::Player)
        return {};
    if (s.game == Game::NoCommission)
        return { 2, 2, 1 };
    // The commission as a fraction k / 10^6, then in lowest terms.
    const auto k = static_cast<std::int64_t>(std::llround(s.commission * 1e6));
    const std::int64_t g = std::gcd(k, std::int64_t { 1'000'000 });
    const std::int64_t scale = 1'000'000 / g;
    const std::int64_t pays = scale - k / g;
    return { scale, pays, pays };
}

Money toMoney(double units, const MoneyUnit& unit)
{
    // Rounded down, with room for a decimal amount just below its exact product.
    return static_cast<Money>(std::floor(units * static_cast<double>(unit.scale) + 1e-7));
}

Block playBlock(const Settings& settings, long index)
{
    if (settings.game == Game::WinChance)
        return playBlockWith<ChanceHands>(settings, index);
    return playBlockWith<BaccaratHands>(settings, index);
}

SessionBlock playSessionBlock(const Settings& settings, long index)
{
    if (settings.game == Game::WinChance)
        return playSessionBlockWith<ChanceHands>(settings, index);
    return playSessionBlockWith<BaccaratHands>(settings, index);
}

long runRounds(
    const Settings& settings, const std::function<void(const Block&)>& take, const RunControl& control)
{
    const long blocks = (settings.rounds + BlockRounds - 1) / BlockRounds;
    long rounds = 0;
    runOrdered(
        blocks, settings.threads, control.stop, [&](long index) { return playBlock(settings, index); },
        [&](const Block& b) {
            take(b);
            rounds += static_cast<long>(b.rounds.size());
            if (control.progress)
                control.progress(rounds);
        });
    return rounds;
}

long runSessions(
    const Settings& settings, const std::function<void(const SessionBlock&)>& take, const RunControl& control)
{
    const long blocks = (settings.sessions + BlockSessions - 1) / BlockSessions;
    long sessions = 0;
    runOrdered(
        blocks, settings.threads, control.stop, [&](long index) { return playSessionBlock(settings, index); },
        [&](const SessionBlock& b) {
            take(b);
            sessions += static_cast<long>(b.sessions.size());
            if (control.progress)
                control.progress(sessions);
        });
    return sessions;
}

} // namespace zelmar::sim
