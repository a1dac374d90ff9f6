#include "sim/Run.h"

#include <algorithm>
#include <chrono>

namespace zelmar::sim {

namespace {

using Clock = std::chrono::steady_clock;

// When the growing figures are due: working them out sorts what the tally
// keeps of every round, so they are taken at most every 150 ms and never
// for more than a fifth of the time.
class Snapshots {
public:
    explicit Snapshots(const RunHooks& hooks)
        : m_grew(hooks.grew)
    {
    }
    template <class Take> void offer(Take take)
    {
        if (!m_grew
            || Clock::now() - m_last < std::max<Clock::duration>(std::chrono::milliseconds(150), 4 * m_cost))
            return;
        const auto start = Clock::now();
        const RunResults results = take();
        m_last = Clock::now();
        m_cost = m_last - start;
        m_grew(results);
    }

private:
    const std::function<void(const RunResults&)>& m_grew;
    Clock::time_point m_last = Clock::now();
    Clock::duration m_cost {};
};

RunControl controlOf(const RunHooks& hooks)
{
    return { hooks.stop, hooks.progress };
}

RunResults playRounds(const RunPlan& plan, const RunHooks& hooks)
{
    const Settings& s = plan.a;
    Tally tally(s.rounds, moneyUnitOf(s), s.bankroll);
    const auto results = [&] {
        return RunResults { plan.asked(), tally.rounds(), tally.figures(), {}, {}, {} };
    };
    Snapshots snapshots(hooks);
    runRounds(
        s,
        [&](const Block& block) {
            tally.add(block);
            if (hooks.rounds)
                hooks.rounds(block);
            snapshots.offer(results);
        },
        controlOf(hooks));
    return results();
}

RunResults playSessions(const RunPlan& plan, const RunHooks& hooks)
{
    const Settings& s = plan.a;
    SessionTally tally(moneyUnitOf(s));
    const auto results = [&] {
        return RunResults { plan.asked(), tally.sessions(), {}, tally.figures(), {}, {} };
    };
    Snapshots snapshots(hooks);
    runSessions(
        s,
        [&](const SessionBlock& block) {
            tally.add(block);
            if (hooks.sessions)
                hooks.sessions(block);
            snapshots.offer(results);
        },
        controlOf(hooks));
    return results();
}

RunResults playPair(const RunPlan& plan, const RunHooks& hooks)
{
    const Settings& a = plan.a;
    const MoneyUnit unit = moneyUnitOf(a);
    Tally tallyA(a.rounds, unit, a.bankroll);
    Tally tallyB(a.rounds, unit, a.bankroll);
    PairedTally paired(unit, unit);
    const auto results = [&] {
        return RunResults { plan.asked(), tallyA.rounds(), tallyA.figures(), {}, tallyB.figures(),
            paired.figures() };
    };
    Snapshots snapshots(hooks);
    runPaired(
        a, *plan.b,
        [&](const PairedBlock& p) {
            tallyA.add(p.a);
            tallyB.add(p.b);
            paired.add(p);
            snapshots.offer(results);
        },
        controlOf(hooks));
    return results();
}

} // namespace

RunResults runSimulation(const RunPlan& plan, const RunHooks& hooks)
{
    if (plan.a.sessions > 0)
        return playSessions(plan, hooks);
    if (plan.b)
        return playPair(plan, hooks);
    return playRounds(plan, hooks);
}

} // namespace zelmar::sim
