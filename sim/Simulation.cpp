#include "sim/Simulation.h"

#include "engine/RoundSteps.h"
#include "sim/Baccarat.h"
#include "sim/Random.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace zelmar::sim {

namespace {

enum class Hand { Won, Lost, Push };

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
    double winPays() const { return 1.0; }
    void count(Block& /*block*/) const { }

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
        , m_winPays(m_onBanker ? 1.0 - s.commission : 1.0)
    {
    }
    BaccaratHands(const BaccaratHands&) = delete; // the shoe holds the generator's address

    Hand next()
    {
        m_shoe.startHand();
        const Winner w = dealCoup(m_shoe).winner;
        ++m_counts[static_cast<int>(w)];
        if (w == Winner::Tie)
            return Hand::Push;
        return (w == Winner::Banker) == m_onBanker ? Hand::Won : Hand::Lost;
    }
    double winPays() const { return m_winPays; }
    void count(Block& b) const
    {
        b.bankerWins = m_counts[0];
        b.playerWins = m_counts[1];
        b.ties = m_counts[2];
    }

private:
    Random m_random;
    Shoe m_shoe;
    bool m_onBanker;
    double m_winPays;
    long m_counts[3] = {};
};

RoundEnd endOf(EndReason why)
{
    switch (why) {
    case EndReason::WinPathRanOut:
        return RoundEnd::WinPathRanOut;
    case EndReason::LossPathRanOut:
        return RoundEnd::LossPathRanOut;
    case EndReason::LostOnWinSide:
        return RoundEnd::LostOnWinSide;
    case EndReason::TurnedOnLossSide:
    case EndReason::StartedOver: // the simulator never starts a round over
        break;
    }
    return RoundEnd::TurnedOnLossSide;
}

RoundRecord freshRecord(const Settings& s)
{
    RoundRecord r;
    r.winSeq = s.winSeq;
    r.lostTable = s.lostTable;
    return r;
}

// One round from the origin to its end. `r` is at the origin on entry and
// is left there.
template <class Hands> RoundResult playRound(RoundRecord& r, Hands& hands, const Settings& s)
{
    RoundResult out;
    QuietEffects fx;
    // The money is kept as stakes won and lost, so that a round's result is
    // one product and one difference, not a sum of rounded payouts.
    std::int64_t won = 0;
    std::int64_t lost = 0;
    const auto money = [&] { return static_cast<double>(won) * hands.winPays() - static_cast<double>(lost); };
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
        const Hand hand = hands.next();
        out.staked += stake;
        if (hand == Hand::Push) {
            ++out.ties;
            continue;
        }
        ++out.hands;
        out.largestStake = std::max(out.largestStake, stake);
        out.score = r.score;
        bool failed = false;
        try {
            if (hand == Hand::Won) {
                won += stake;
                RecordWin(r, fx);
            } else {
                lost += stake;
                RecordLoss(r, fx);
            }
        } catch (const EngineError&) {
            failed = true; // the hand was played; the calculator could not record it
        }
        out.deepest = std::min(out.deepest, money());
        if (failed) {
            out.end = RoundEnd::EngineFailure;
            break;
        }
        if (fx.ended) {
            out.score = fx.endScore;
            out.end = endOf(*fx.ended);
            out.money = money();
            return out;
        }
    }
    if (out.end != RoundEnd::EngineFailure)
        out.score = r.score;
    out.money = money();
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
    Hands hands(s, index);
    RoundRecord r = freshRecord(s);
    for (long i = 0; i < count; ++i)
        b.rounds.push_back(playRound(r, hands, s));
    hands.count(b);
    return b;
}

} // namespace

Block playBlock(const Settings& settings, long index)
{
    if (settings.game == Game::WinChance)
        return playBlockWith<ChanceHands>(settings, index);
    return playBlockWith<BaccaratHands>(settings, index);
}

long runRounds(
    const Settings& settings, const std::function<void(const Block&)>& take, const RunControl& control)
{
    const long blocks = (settings.rounds + BlockRounds - 1) / BlockRounds;
    const auto stopped = [&] { return control.stop && control.stop->load(std::memory_order_relaxed); };

    std::mutex mutex;
    std::condition_variable finished;
    std::map<long, Block> done; // finished blocks not yet handed on
    long nextBlock = 0;
    int running = 0;

    const auto work = [&] {
        std::unique_lock lock(mutex);
        while (!stopped() && nextBlock < blocks) {
            const long index = nextBlock++;
            lock.unlock();
            Block b = playBlock(settings, index);
            lock.lock();
            done.emplace(index, std::move(b));
            finished.notify_all();
        }
        --running;
        finished.notify_all();
    };

    const int threads = static_cast<int>(std::clamp<long>(settings.threads, 1, std::max(1L, blocks)));
    std::vector<std::jthread> pool;
    running = threads;
    pool.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work);

    long handed = 0;
    long rounds = 0;
    std::unique_lock lock(mutex);
    for (;;) {
        // Blocks are started in order and every started block finishes, so
        // the blocks handed on are always the first ones.
        auto it = done.find(handed);
        if (it != done.end()) {
            Block b = std::move(it->second);
            done.erase(it);
            lock.unlock();
            take(b);
            ++handed;
            rounds += static_cast<long>(b.rounds.size());
            if (control.progress)
                control.progress(rounds);
            lock.lock();
            continue;
        }
        if (running == 0)
            break;
        finished.wait(lock);
    }
    lock.unlock();
    pool.clear();
    return rounds;
}

} // namespace zelmar::sim
