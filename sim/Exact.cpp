#include "sim/Exact.h"

#include "engine/RoundSteps.h"
#include "sim/BaccaratOdds.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>
#include <unordered_map>

namespace zelmar::sim {

namespace {

// What decides the rest of a round. The cells the cursor came from and the
// history are only shown or read by stepping back, which a player of
// independent hands never does.
struct EngineKey {
    Direction direction = Direction::Origin;
    i16 row = 0;
    i16 col = 0;
    i16 stake = 1;
    i16 score = 0;
    auto tie() const { return std::tuple(direction, row, col, stake, score); }
    bool operator<(const EngineKey& o) const { return tie() < o.tie(); }
};

struct Move {
    enum Kind : std::uint8_t { Next, Ended, Failed } kind = Failed;
    RoundEnd end = RoundEnd::EngineFailure;
    i16 score = 0; // of a round that ended
    std::uint32_t next = 0;
};

struct EngineState {
    EngineKey key;
    bool movesKnown = false;
    Move onWin;
    Move onLoss;
};

// The engine's states, each with where a won and a lost hand take it, found
// by recording the hand on a round record in that state.
class EngineStates {
public:
    explicit EngineStates(const Settings& s)
        : m_settings(s)
    {
    }

    std::uint32_t idOf(const EngineKey& key)
    {
        const auto [at, added] = m_ids.try_emplace(key, static_cast<std::uint32_t>(m_states.size()));
        if (added)
            m_states.push_back({ key, false, {}, {} });
        return at->second;
    }
    const EngineState& state(std::uint32_t id)
    {
        if (!m_states[id].movesKnown) {
            const EngineKey key = m_states[id].key;
            const Move win = play(key, true);
            const Move loss = play(key, false);
            EngineState& st = m_states[id]; // play() may have grown the list
            st.onWin = win;
            st.onLoss = loss;
            st.movesKnown = true;
        }
        return m_states[id];
    }
    std::size_t size() const { return m_states.size(); }
    // A state as found, its moves known only if some pass stood on it.
    const EngineState& found(std::uint32_t id) const { return m_states[id]; }

private:
    Move play(const EngineKey& key, bool won)
    {
        RoundRecord r;
        r.winSeq = m_settings.winSeq;
        r.lostTable = m_settings.lostTable;
        r.keepHistory = false;
        r.direction = key.direction;
        r.curRow = key.row;
        r.curCol = key.col;
        r.stake = key.stake;
        r.score = key.score;
        QuietEffects fx;
        Move m;
        try {
            if (won)
                RecordWin(r, fx);
            else
                RecordLoss(r, fx);
        } catch (const EngineError&) {
            return m;
        }
        if (fx.ended) {
            m.kind = Move::Ended;
            m.end = roundEndOf(*fx.ended);
            m.score = fx.endScore;
            return m;
        }
        m.kind = Move::Next;
        m.next = idOf({ r.direction, r.curRow, r.curCol, r.stake, r.score });
        return m;
    }

    const Settings& m_settings;
    std::map<EngineKey, std::uint32_t> m_ids;
    std::vector<EngineState> m_states;
};

// The path figures a pass follows beside the engine's state (0 where it
// does not), in the order the states of one engine state are kept.
struct Aux {
    Money money = 0;
    Money need = 0;
    std::int32_t largest = 0;
    std::int32_t reach = 0; // 2 x (furthest loss cell in row order + 1), + 1 once on loss cell (0, 0)
    auto tie() const { return std::tuple(money, need, largest, reach); }
};

struct Live {
    Aux a;
    double p = 0;
};

struct Ended {
    RoundEnd end;
    i16 score;
    Money money;
    Money need;
    std::int32_t largest;
    std::int32_t reach;
    long hands;
    double p;
};

struct PassOptions {
    bool money = true;
    bool need = false;
    bool largest = false;
    bool reach = false;
    std::optional<Money> cover; // the bankroll, in the money unit
    std::size_t statesAtMost = 0;
};

struct PassTotals {
    double leftOut = 0;
    double hands = 0; // sum over hands of the chance it is dealt
    double stakedNoTies = 0;
    std::vector<double> winVisits; // by column
    long handsFollowed = 0;
    std::size_t peakStates = 0;
    Money highestNeed = 0; // of every hand looked at
    double work = 0; // states followed
    bool stopped = false;
};

class Chain {
public:
    Chain(const Settings& s, const ExactLimits& limits)
        : m_settings(s)
        , m_limits(limits)
        , m_unit(moneyUnitOf(s))
        , m_hand(handChancesOf(s))
        , m_engine(s)
    {
        const double decided = 1 - m_hand.tie;
        m_win = m_hand.win / decided;
        m_six = m_hand.winOnSix / decided;
        m_loss = 1 - m_win - m_six; // so that the three add up to 1
        m_origin = m_engine.idOf({});
    }

    const MoneyUnit& unit() const { return m_unit; }
    const HandChances& hand() const { return m_hand; }
    std::size_t engineStates() const { return m_engine.size(); }
    std::size_t needBytes() const { return m_needBytes; }

    // Follows rounds from the origin to their ends, handing each end to
    // `take`. The states of one engine state are kept in order of their path
    // figures; a hand shifts the money and raises the maxima, which mostly
    // keeps that order, so the states that reach an engine state come as a
    // few ordered runs, merged in one pass.
    template <class Take> PassTotals run(const PassOptions& o, const ExactControl& control, Take&& take)
    {
        PassTotals t;
        std::vector<std::vector<Live>> live(1);
        std::vector<std::vector<Live>> next;
        std::vector<std::vector<std::uint32_t>> runs; // where each run of next[id] starts
        std::vector<std::uint32_t> active { m_origin };
        std::vector<std::uint32_t> touched;
        live.resize(std::max<std::size_t>(live.size(), m_origin + 1));
        live[m_origin].push_back({ {}, 1.0 });
        double done = 0;
        const auto scale = m_unit.scale;
        for (long hand = 0; !active.empty(); ++hand) {
            if (control.stop && control.stop->load(std::memory_order_relaxed)) {
                t.stopped = true;
                for (std::uint32_t id : active)
                    for (const Live& e : live[id])
                        t.leftOut += e.p;
                break;
            }
            t.handsFollowed = hand;
            std::size_t states = 0;
            touched.clear();
            for (std::uint32_t id : active) {
                const EngineState st = m_engine.state(id); // a copy: the list of states may grow
                const EngineKey& k = st.key;
                std::vector<Live>& here = live[id];
                states += here.size();
                if (k.direction == Direction::Win) {
                    if (t.winVisits.size() <= static_cast<std::size_t>(k.col))
                        t.winVisits.resize(static_cast<std::size_t>(k.col) + 1);
                    for (const Live& e : here)
                        t.winVisits[static_cast<std::size_t>(k.col)] += e.p;
                }
                const auto end = [&](RoundEnd why, i16 score, const Aux& a, long hands, double p) {
                    take(Ended { why, score, a.money, a.need, a.largest, a.reach, hands, p });
                    done += p;
                };
                if (hand >= m_settings.maxHands || k.stake > m_settings.tableMax) {
                    const RoundEnd why
                        = hand >= m_settings.maxHands ? RoundEnd::HandLimit : RoundEnd::TableLimit;
                    for (const Live& e : here)
                        end(why, k.score, e.a, hand, e.p);
                    here.clear();
                    continue;
                }
                const i16 stake = k.stake;
                const Money onTable = Money { stake } * scale;
                const Move* moves[3] = { &st.onWin, &st.onWin, &st.onLoss };
                const double chances[3] = { m_win, m_six, m_loss };
                const Money won[3]
                    = { Money { stake } * m_unit.winPays, Money { stake } * m_unit.winOnSixPays, -onTable };
                // The states that place the hand, then each outcome's moves
                // as one ordered run (a win and a win on 6 go to the same
                // engine state, by different amounts).
                m_placed.clear();
                for (const Live& e : here) {
                    const Money needHere = onTable - e.a.money;
                    t.highestNeed = std::max(t.highestNeed, needHere);
                    Aux a = e.a;
                    if (o.need)
                        a.need = std::max(a.need, needHere);
                    if (o.cover && needHere > *o.cover) {
                        a.need = needHere; // the first hand it could not place
                        end(RoundEnd::Broke, k.score, a, hand, e.p);
                        continue;
                    }
                    t.hands += e.p;
                    t.stakedNoTies += e.p * stake;
                    if (o.largest)
                        a.largest = std::max<std::int32_t>(a.largest, stake);
                    m_placed.push_back({ a, e.p });
                }
                for (int w = 0; w < 3; ++w) {
                    if (!(chances[w] > 0) || m_placed.empty())
                        continue;
                    const Move& m = *moves[w];
                    const std::int32_t reachTo = o.reach && m.kind == Move::Next ? reachCode(m.next) : 0;
                    if (m.kind == Move::Next) {
                        ensure(next, runs, m.next);
                        if (runs[m.next].empty())
                            touched.push_back(m.next);
                        runs[m.next].push_back(static_cast<std::uint32_t>(next[m.next].size()));
                    }
                    for (const Live& e : m_placed) {
                        const double p = e.p * chances[w];
                        if (!(p > 0))
                            continue;
                        Aux to = e.a;
                        if (o.money)
                            to.money += won[w];
                        if (m.kind == Move::Failed) {
                            end(RoundEnd::EngineFailure, k.score, to, hand + 1, p);
                        } else if (m.kind == Move::Ended) {
                            end(m.end, m.score, to, hand + 1, p);
                        } else {
                            if (o.reach)
                                to.reach
                                    = std::max(to.reach & ~1, reachTo & ~1) | (to.reach & 1) | (reachTo & 1);
                            next[m.next].push_back({ to, p });
                        }
                    }
                }
                here.clear();
            }
            t.peakStates = std::max(t.peakStates, states);
            t.work += static_cast<double>(states);
            active.clear();
            std::size_t kept = 0;
            for (std::uint32_t id : touched) {
                mergeRuns(next[id], runs[id], o.largest || o.reach, t);
                runs[id].clear();
                kept += next[id].size();
                if (!next[id].empty())
                    active.push_back(id);
            }
            if (kept > o.statesAtMost)
                leaveOutLeastLikely(next, active, o.statesAtMost, t);
            if (live.size() < next.size())
                live.resize(next.size());
            for (std::uint32_t id : active)
                live[id].swap(next[id]);
            if (control.progress)
                control.progress(std::min(1.0, done + t.leftOut));
        }
        return t;
    }

    // The same as `run` for the money alone (and the bankroll): the states of
    // one engine state are a window of chances over consecutive money
    // values, which a hand moves as a whole by what it wins or loses. With
    // the money a function of the score the window is one value wide.
    template <class Take>
    PassTotals runMoney(
        std::optional<Money> cover, std::size_t statesAtMost, const ExactControl& control, Take&& take)
    {
        struct Window {
            Money low = 0;
            std::vector<double> p;
            Money high() const { return low + static_cast<Money>(p.size()) - 1; }
        };
        PassTotals t;
        std::vector<Window> live(m_engine.size());
        std::vector<Window> next;
        std::vector<std::uint32_t> active { m_origin };
        std::vector<std::uint32_t> touched;
        std::vector<std::pair<Money, Money>> span; // of next[id], before it is laid out
        live[m_origin] = { 0, { 1.0 } };
        double done = 0;
        const auto scale = m_unit.scale;
        const double chances[3] = { m_win, m_six, m_loss };
        for (long hand = 0; !active.empty(); ++hand) {
            if (control.stop && control.stop->load(std::memory_order_relaxed)) {
                t.stopped = true;
                for (std::uint32_t id : active)
                    for (double p : live[id].p)
                        t.leftOut += p;
                break;
            }
            t.handsFollowed = hand;
            std::size_t states = 0;
            touched.clear();
            const auto endAll = [&](RoundEnd why, i16 score, const Window& w, Money shift, long hands,
                                    double c) {
                for (std::size_t i = 0; i < w.p.size(); ++i)
                    if (w.p[i] > 0) {
                        const double p = w.p[i] * c;
                        take(Ended { why, score, w.low + static_cast<Money>(i) + shift, 0, 0, 0, hands, p });
                        done += p;
                    }
            };
            // First where every window goes, then the windows laid out and
            // added into.
            for (int phase = 0; phase < 2; ++phase) {
                for (std::uint32_t id : active) {
                    const EngineState st = m_engine.state(id);
                    const EngineKey& k = st.key;
                    Window& here = live[id];
                    const Money onTable = Money { k.stake } * scale;
                    if (phase == 0) {
                        if (hand >= m_settings.maxHands || k.stake > m_settings.tableMax) {
                            endAll(hand >= m_settings.maxHands ? RoundEnd::HandLimit : RoundEnd::TableLimit,
                                k.score, here, 0, hand, 1.0);
                            here.p.clear();
                            continue;
                        }
                        // A hand it cannot place ends the lowest money values.
                        Money keepFrom = here.low;
                        if (cover)
                            keepFrom = std::max(keepFrom, onTable - *cover);
                        for (std::size_t i = 0;
                             i < here.p.size() && here.low + static_cast<Money>(i) < keepFrom; ++i)
                            if (here.p[i] > 0) {
                                const Money money = here.low + static_cast<Money>(i);
                                take(Ended { RoundEnd::Broke, k.score, money, onTable - money, 0, 0, hand,
                                    here.p[i] });
                                done += here.p[i];
                            }
                        if (keepFrom > here.high()) {
                            here.p.clear();
                            continue;
                        }
                        if (keepFrom > here.low) {
                            here.p.erase(here.p.begin(), here.p.begin() + (keepFrom - here.low));
                            here.low = keepFrom;
                        }
                        while (!here.p.empty() && !(here.p.back() > 0))
                            here.p.pop_back();
                        double mass = 0;
                        Money lowest = here.high();
                        for (std::size_t i = 0; i < here.p.size(); ++i)
                            if (here.p[i] > 0) {
                                mass += here.p[i];
                                lowest = std::min(lowest, here.low + static_cast<Money>(i));
                                ++states;
                            }
                        t.highestNeed = std::max(t.highestNeed, onTable - lowest);
                        t.hands += mass;
                        t.stakedNoTies += mass * k.stake;
                        if (k.direction == Direction::Win) {
                            if (t.winVisits.size() <= static_cast<std::size_t>(k.col))
                                t.winVisits.resize(static_cast<std::size_t>(k.col) + 1);
                            t.winVisits[static_cast<std::size_t>(k.col)] += mass;
                        }
                    }
                    if (here.p.empty())
                        continue;
                    const Move* moves[3] = { &st.onWin, &st.onWin, &st.onLoss };
                    const Money won[3] = { Money { k.stake } * m_unit.winPays,
                        Money { k.stake } * m_unit.winOnSixPays, -onTable };
                    for (int w = 0; w < 3; ++w) {
                        if (!(chances[w] > 0))
                            continue;
                        const Move& m = *moves[w];
                        if (m.kind != Move::Next) {
                            if (phase == 0)
                                endAll(m.kind == Move::Failed ? RoundEnd::EngineFailure : m.end,
                                    m.kind == Move::Failed ? k.score : m.score, here, won[w], hand + 1,
                                    chances[w]);
                            continue;
                        }
                        const std::uint32_t to = m.next;
                        if (phase == 0) {
                            if (span.size() <= to)
                                span.resize(to + 1, { 1, 0 });
                            auto& [lo, hi] = span[to];
                            if (lo > hi) {
                                touched.push_back(to);
                                lo = here.low + won[w];
                                hi = here.high() + won[w];
                            } else {
                                lo = std::min(lo, here.low + won[w]);
                                hi = std::max(hi, here.high() + won[w]);
                            }
                        } else {
                            Window& into = next[to];
                            const std::size_t offset = static_cast<std::size_t>(here.low + won[w] - into.low);
                            const double c = chances[w];
                            double* out = into.p.data() + offset;
                            const double* in = here.p.data();
                            for (std::size_t i = 0; i < here.p.size(); ++i)
                                out[i] += c * in[i];
                        }
                    }
                }
                if (phase == 0) {
                    if (next.size() < span.size())
                        next.resize(span.size());
                    for (std::uint32_t id : touched) {
                        auto& [lo, hi] = span[id];
                        next[id].low = lo;
                        next[id].p.assign(static_cast<std::size_t>(hi - lo + 1), 0.0);
                        lo = 1;
                        hi = 0;
                    }
                }
            }
            t.peakStates = std::max(t.peakStates, states);
            t.work += static_cast<double>(states);
            for (std::uint32_t id : active)
                live[id].p.clear();
            active.clear();
            std::size_t kept = 0;
            for (std::uint32_t id : touched) {
                for (double& p : next[id].p)
                    if (p > 0 && p < m_limits.leaveOutBelow) {
                        t.leftOut += p;
                        p = 0;
                    } else if (p > 0) {
                        ++kept;
                    }
                active.push_back(id);
            }
            if (kept > statesAtMost) {
                std::vector<double> chancesKept;
                for (std::uint32_t id : active)
                    for (double p : next[id].p)
                        if (p > 0)
                            chancesKept.push_back(p);
                const double least = leastLeftOut(std::move(chancesKept), statesAtMost);
                for (std::uint32_t id : active)
                    for (double& p : next[id].p)
                        if (p > 0 && p <= least) {
                            t.leftOut += p;
                            p = 0;
                        }
            }
            if (live.size() < next.size())
                live.resize(next.size());
            for (std::uint32_t id : active)
                std::swap(live[id], next[id]);
            if (control.progress)
                control.progress(std::min(1.0, done + t.leftOut));
        }
        return t;
    }

    // For x = 0 .. top money units, the chance that a round never needs more
    // than x, worked out backwards over (engine state, cover), where the cover
    // is x plus the money won so far: a hand of stake k can be placed while
    // the cover is at least k. Nothing is left out by the number of states.
    //
    // It takes a won hand to pay less than the stake (a commission): then the
    // cover less the score's money falls with every win and stays with every
    // loss, and a loss takes the score down by its stake, so in order of that
    // level and of the score every state depends only on states worked out
    // before it: one pass. On other games a win and a loss can bring a round
    // back where it was, and there is no such order: no answer then, nor past
    // `cellsAtMost` cells.
    //
    // Every move is the engine's, from the states the passes before found;
    // a state they never stood on (reached by what they left out) is taken as
    // never running short. Hands are not cut: a round cut at the hand limit
    // may be counted as needing more than it had placed when it was cut.
    std::optional<std::vector<double>> needAtMost(Money top, std::size_t cellsAtMost)
    {
        const Money scale = m_unit.scale;
        const Money winPays = m_unit.winPays;
        if (m_six > 0 || !(m_win > 0) || winPays >= scale || top < 0)
            return std::nullopt;
        const std::size_t n = m_engine.size();
        i16 scoreTop = 0;
        for (std::uint32_t id = 0; id < n; ++id)
            scoreTop = std::max(scoreTop, m_engine.found(id).key.score);
        // The cover of a state reached from x <= top: x plus at most the
        // score's money.
        const Money coverTop = top + scale * scoreTop;
        const auto width = static_cast<std::size_t>(coverTop + 1);
        if (n == 0 || width > cellsAtMost / n)
            return std::nullopt;

        // A loss takes the score down by its stake, a win up by it: within a
        // level of (cover less the score's money), which a loss keeps and a
        // win lowers, the states in order of their score.
        std::vector<std::uint32_t> order(n);
        for (std::uint32_t id = 0; id < n; ++id) {
            order[id] = id;
            const EngineState& st = m_engine.found(id);
            if (st.movesKnown && st.key.stake < 1)
                return std::nullopt;
        }
        const auto scoreOf = [&](std::uint32_t id) { return m_engine.found(id).key.score; };
        std::sort(order.begin(), order.end(), [&](auto x, auto y) { return scoreOf(x) < scoreOf(y); });
        const auto floorDiv = [](Money a, Money b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };

        std::vector<double> g(n * width, 1.0); // a state never stood on: 1
        m_needBytes = g.size() * sizeof(double) + order.size() * sizeof(std::uint32_t);
        const auto at = [&](std::uint32_t id, Money cover) {
            return cover > coverTop ? 1.0 : g[id * width + static_cast<std::size_t>(cover)];
        };
        const Money lowest = -scale * scoreOf(order.back());
        const Money highest = coverTop - scale * scoreOf(order.front());
        for (Money level = lowest; level <= highest; ++level) {
            // The scores whose cover lies in 0 .. coverTop at this level.
            const Money fromScore = -floorDiv(level, scale);
            const Money toScore = floorDiv(coverTop - level, scale);
            auto it = std::lower_bound(order.begin(), order.end(), fromScore,
                [&](std::uint32_t id, Money v) { return scoreOf(id) < v; });
            for (; it != order.end() && scoreOf(*it) <= toScore; ++it) {
                const std::uint32_t id = *it;
                const EngineState& st = m_engine.found(id);
                const EngineKey& k = st.key;
                if (!st.movesKnown || k.stake > m_settings.tableMax)
                    continue; // stays 1: no hand of it is placed
                const Money cover = level + scale * k.score;
                const Money stake = k.stake;
                double& here = g[id * width + static_cast<std::size_t>(cover)];
                if (cover < stake * scale) {
                    here = 0;
                    continue;
                }
                const double won
                    = st.onWin.kind == Move::Next ? at(st.onWin.next, cover + stake * winPays) : 1.0;
                const double lost
                    = st.onLoss.kind == Move::Next ? at(st.onLoss.next, cover - stake * scale) : 1.0;
                here = m_win * won + m_loss * lost;
            }
        }
        std::vector<double> atMost(static_cast<std::size_t>(top) + 1);
        for (Money x = 0; x <= top; ++x)
            atMost[static_cast<std::size_t>(x)] = at(m_origin, x);
        return atMost;
    }

private:
    // The reach code of standing on engine state `id`.
    std::int32_t reachCode(std::uint32_t id)
    {
        const EngineKey k = m_engine.state(id).key;
        if (k.direction != Direction::Loss)
            return 0;
        const std::int32_t index = k.row * m_settings.lostTable->cols() + k.col;
        return 2 * (index + 1) + (index == 0 ? 1 : 0);
    }

    static void ensure(
        std::vector<std::vector<Live>>& next, std::vector<std::vector<std::uint32_t>>& runs, std::uint32_t id)
    {
        if (next.size() <= id) {
            next.resize(id + 1);
            runs.resize(id + 1);
        }
    }

    // One ordered list from the runs, states that met added up, the unlikely
    // ones left out.
    void mergeRuns(
        std::vector<Live>& v, const std::vector<std::uint32_t>& starts, bool mayReorder, PassTotals& t)
    {
        const auto less = [](const Live& x, const Live& y) { return x.a.tie() < y.a.tie(); };
        const auto endOf = [&](std::size_t r) { return r + 1 < starts.size() ? starts[r + 1] : v.size(); };
        // A maximum taken can reorder what it collapses: such a run is sorted.
        if (mayReorder)
            for (std::size_t r = 0; r < starts.size(); ++r) {
                const auto from = v.begin() + starts[r];
                const auto to = v.begin() + static_cast<std::ptrdiff_t>(endOf(r));
                if (!std::is_sorted(from, to, less))
                    std::sort(from, to, less);
            }
        // Runs merged pairwise through a buffer kept from hand to hand.
        for (std::size_t r = 1; r < starts.size(); ++r) {
            m_buffer.clear();
            std::merge(v.begin(), v.begin() + starts[r], v.begin() + starts[r],
                v.begin() + static_cast<std::ptrdiff_t>(endOf(r)), std::back_inserter(m_buffer), less);
            std::copy(m_buffer.begin(), m_buffer.end(), v.begin());
        }
        std::size_t out = 0;
        for (std::size_t i = 0; i < v.size();) {
            Live sum = v[i];
            std::size_t j = i + 1;
            for (; j < v.size() && v[j].a.money == sum.a.money && v[j].a.need == sum.a.need
                 && v[j].a.largest == sum.a.largest && v[j].a.reach == sum.a.reach;
                 ++j)
                sum.p += v[j].p;
            if (sum.p < m_limits.leaveOutBelow)
                t.leftOut += sum.p;
            else
                v[out++] = sum;
            i = j;
        }
        v.resize(out);
    }

    // Past the limit of states, the least likely are left out.
    // The chance at or below which states go, so that `keep` of them stay.
    static double leastLeftOut(std::vector<double> chances, std::size_t keep)
    {
        const auto cut = chances.begin() + static_cast<std::ptrdiff_t>(keep);
        std::nth_element(chances.begin(), cut, chances.end(), std::greater<>());
        return *cut;
    }

    static void leaveOutLeastLikely(std::vector<std::vector<Live>>& next,
        const std::vector<std::uint32_t>& active, std::size_t keep, PassTotals& t)
    {
        std::vector<double> chances;
        for (std::uint32_t id : active)
            for (const Live& e : next[id])
                chances.push_back(e.p);
        const double least = leastLeftOut(std::move(chances), keep);
        for (std::uint32_t id : active) {
            auto& v = next[id];
            std::size_t out = 0;
            for (const Live& e : v)
                if (e.p > least)
                    v[out++] = e;
                else
                    t.leftOut += e.p;
            v.resize(out);
        }
    }

    const Settings& m_settings;
    ExactLimits m_limits;
    MoneyUnit m_unit;
    HandChances m_hand;
    EngineStates m_engine;
    std::vector<Live> m_buffer;
    std::vector<Live> m_placed; // of the engine state at hand
    std::size_t m_needBytes = 0; // of the backward pass, if it ran
    std::uint32_t m_origin = 0;
    double m_win = 0;
    double m_six = 0;
    double m_loss = 0;
};

Chances sortedOf(const std::unordered_map<std::int64_t, double>& m)
{
    Chances c(m.begin(), m.end());
    std::sort(c.begin(), c.end());
    return c;
}

std::optional<Money> coverOf(const Settings& s, const MoneyUnit& unit)
{
    if (!s.bankroll)
        return std::nullopt;
    return toMoney(*s.bankroll, unit);
}

} // namespace

HandChances handChancesOf(const Settings& s)
{
    if (s.game == Game::WinChance)
        return { s.winChance, 0, 1 - s.winChance, 0 };
    const CoupChances c = coupChancesOffTheTop(s.decks);
    if (s.bet == Bet::Player)
        return { c.player, 0, c.banker, c.tie };
    if (s.game == Game::NoCommission)
        return { c.banker - c.bankerOnSix, c.bankerOnSix, c.player, c.tie };
    return { c.banker, 0, c.player, c.tie };
}

ExactRound exactRound(const Settings& s, const ExactLimits& limits, const ExactControl& control)
{
    Chain chain(s, limits);
    ExactRound r;
    r.unit = chain.unit();
    r.hand = chain.hand();
    const auto scale = r.unit.scale;

    // Three passes, each following only what its figures need: the ends,
    // scores and money; what a round needs; the largest stake and the cells
    // reached. The money goes along wherever a bankroll reads it.
    std::unordered_map<std::int64_t, double> score, money, need, largest, hands;
    std::vector<double> reachAtLeast;
    double lossOrigin = 0;
    const auto part = [&](double from) {
        ExactControl c = control;
        if (control.progress)
            c.progress = [&control, from](double d) { control.progress(from + d / 3); };
        return c;
    };
    const std::optional<Money> cover = coverOf(s, r.unit);
    std::unordered_map<std::int64_t, double> brokeNeed;
    const PassTotals a = chain.runMoney(cover, limits.statesAtMost, part(0), [&](const Ended& e) {
        r.ends[static_cast<std::size_t>(e.end)] += e.p;
        score[e.score] += e.p;
        money[e.money] += e.p;
        hands[e.hands] += e.p;
        if (e.end == RoundEnd::Broke)
            brokeNeed[e.need] += e.p;
    });
    // What a round needs: worked out backwards where the game allows it, with
    // nothing left out but what the first pass left out and, as the
    // backward pass does not cut rounds, the rounds cut at the hand limit;
    // followed forward beside the money where that leaves out less.
    PassTotals n;
    n.leftOut = 1;
    const Money needTop = cover ? std::min(*cover, a.highestNeed) : a.highestNeed;
    if (const auto atMost = a.stopped ? std::nullopt : chain.needAtMost(needTop, limits.needCellsAtMost)) {
        double below = 0;
        for (std::size_t x = 0; x < atMost->size(); ++x) {
            if ((*atMost)[x] > below)
                need[static_cast<std::int64_t>(x)] += (*atMost)[x] - below;
            below = std::max(below, (*atMost)[x]);
        }
        for (const auto& [x, p] : brokeNeed)
            need[x] += p;
        double counted = 0;
        for (const auto& [x, p] : need)
            counted += p;
        n.leftOut
            = std::max(0.0, 1 - counted) + a.leftOut + r.ends[static_cast<std::size_t>(RoundEnd::HandLimit)];
    }
    if (n.leftOut > 1e-9 && !a.stopped) {
        std::unordered_map<std::int64_t, double> followed;
        const PassTotals f = chain.run({ true, true, false, false, cover, limits.needStatesAtMost },
            part(1.0 / 3), [&](const Ended& e) { followed[e.need] += e.p; });
        if (f.leftOut < n.leftOut || f.stopped) {
            n = f;
            need.swap(followed);
        }
    }
    const PassTotals b = chain.run({ cover.has_value(), false, true, true, cover, limits.statesAtMost },
        part(2.0 / 3), [&](const Ended& e) {
            largest[e.largest] += e.p;
            const auto furthest = static_cast<std::size_t>(e.reach / 2);
            if (reachAtLeast.size() <= furthest)
                reachAtLeast.resize(furthest + 1);
            reachAtLeast[furthest] += e.p;
            if (e.reach % 2)
                lossOrigin += e.p;
        });
    r.stopped = a.stopped || n.stopped || b.stopped;
    r.leftOut = a.leftOut;
    r.needLeftOut = n.leftOut;
    r.cellsLeftOut = b.leftOut;
    r.score = sortedOf(score);
    r.money = sortedOf(money);
    r.need = sortedOf(need);
    r.largestStake = sortedOf(largest);
    r.hands = sortedOf(hands);

    const double tiesPerHand = r.hand.tie / (1 - r.hand.tie);
    r.meanHands = a.hands;
    r.meanTies = a.hands * tiesPerHand;
    r.meanStakedNoTies = a.stakedNoTies;
    r.meanStaked = a.stakedNoTies * (1 + tiesPerHand);
    double m = 0;
    for (const auto& [value, p] : r.money)
        m += static_cast<double>(value) * p;
    r.meanMoney = m / static_cast<double>(scale);

    // Reached: the cursor stood on it. The win path passes each cell once; on
    // the loss path the cells reached are every one up to the furthest.
    const WinSeq& win = *s.winSeq;
    for (int col = 0; col < win.size(); ++col)
        if (win.at(col) > 0) {
            const auto c = static_cast<std::size_t>(col);
            r.winCells.push_back({ 0, col, win.at(col), c < a.winVisits.size() ? a.winVisits[c] : 0.0 });
        }
    for (std::size_t i = reachAtLeast.size(); i-- > 1;)
        reachAtLeast[i - 1] += reachAtLeast[i];
    const LostTable& lost = *s.lostTable;
    for (int row = 0; row < lost.rows(); ++row)
        for (int col = 0; col < lost.cols(); ++col) {
            const i16 v = lost.cell(row, col);
            if (v <= 0)
                continue;
            const auto index = static_cast<std::size_t>(row * lost.cols() + col);
            double chance = index + 1 < reachAtLeast.size() ? reachAtLeast[index + 1] : 0.0;
            if (index == 0)
                chance = lossOrigin;
            r.lossCells.push_back({ row, col, v, chance });
        }

    r.handsFollowed = std::max({ a.handsFollowed, n.handsFollowed, b.handsFollowed });
    r.engineStates = chain.engineStates();
    r.peakStates = std::max({ a.peakStates, n.peakStates, b.peakStates });
    // The states of a hand and of the next (up to three each) or the table
    // of the backward pass, whichever is larger, and the engine's states
    // with their index.
    r.peakBytes = std::max(4 * r.peakStates * sizeof(Live), chain.needBytes())
        + r.engineStates * (sizeof(EngineState) + 64);
    return r;
}

ExactSessionsResult exactSessions(const Settings& s, const ExactLimits& limits, const ExactControl& control)
{
    Chain chain(s, limits);
    ExactSessionsResult result;
    const MoneyUnit unit = chain.unit();
    const auto scale = unit.scale;
    const std::optional<Money> bankroll = coverOf(s, unit);
    constexpr Money NoLimit = std::numeric_limits<Money>::max() / 4;
    const Money stopWin = s.stopWin ? toMoney(*s.stopWin, unit) : NoLimit;
    const Money stopLoss = s.stopLoss ? -toMoney(*s.stopLoss, unit) : -NoLimit;

    // A round's kernel: (money, 1 when broke) -> chance.
    struct Kernel {
        std::vector<std::tuple<Money, bool, double>> outcomes;
        double leftOut = 0;
        double work = 0;
        bool stopped = false;
    };
    const auto kernelFor = [&](std::optional<Money> cover) {
        Kernel k;
        std::map<std::pair<Money, bool>, double> sums;
        const PassTotals t
            = chain.runMoney(cover, limits.statesAtMost, { control.stop, {} }, [&](const Ended& e) {
                  sums[{ e.money, e.end == RoundEnd::Broke }] += e.p;
              });
        for (const auto& [key, p] : sums)
            k.outcomes.emplace_back(key.first, key.second, p);
        k.leftOut = t.leftOut;
        k.work = t.work;
        k.stopped = t.stopped;
        return std::pair { k, t.highestNeed };
    };
    auto [unlimited, highestNeed] = kernelFor(std::nullopt);

    // Every bankroll left below the highest need has a kernel of its own;
    // each round then moves every net the session can stand at.
    Money mostWon = 0;
    Money mostLost = 0;
    for (const auto& [money, broke, p] : unlimited.outcomes) {
        mostWon = std::max(mostWon, money);
        mostLost = std::max(mostLost, -money);
    }
    const Money rounds = s.sessionRounds;
    const Money below = std::min({ bankroll.value_or(NoLimit), -stopLoss, rounds * mostLost });
    const Money above = std::min(stopWin, rounds * mostWon);
    std::size_t kernelsNeeded = 1;
    if (bankroll) {
        const Money lowest = std::max(scale, *bankroll - below + 1);
        const Money highest = std::min(highestNeed - 1, *bankroll + above - 1);
        if (highest >= lowest)
            kernelsNeeded += static_cast<std::size_t>(highest - lowest + 1);
    }
    const double workNeeded = static_cast<double>(kernelsNeeded) * unlimited.work
        + static_cast<double>(rounds) * static_cast<double>(below + above + 1)
            * static_cast<double>(unlimited.outcomes.size());
    result.tooLarge = { workNeeded, limits.sessionWorkAtMost, kernelsNeeded };
    if (!(workNeeded <= limits.sessionWorkAtMost))
        return result;

    ExactSessions f;
    f.unit = unit;
    f.work = unlimited.work;
    std::map<Money, Kernel> kernels;
    const auto kernelAt = [&](Money net) -> const Kernel& {
        if (!bankroll || *bankroll + net >= highestNeed)
            return unlimited;
        const Money cover = *bankroll + net;
        auto at = kernels.find(cover);
        if (at == kernels.end()) {
            at = kernels.emplace(cover, kernelFor(cover).first).first;
            f.work += at->second.work;
        }
        return at->second;
    };
    std::map<Money, double> live { { 0, 1.0 } };
    std::map<Money, double> ended;
    const auto endWith = [&](SessionEnd why, Money net, double p) {
        f.ends[static_cast<std::size_t>(why)] += p;
        ended[net] += p;
    };
    for (long round = 0; round < s.sessionRounds && !live.empty(); ++round) {
        if (control.stop && control.stop->load(std::memory_order_relaxed)) {
            f.stopped = true;
            break;
        }
        std::map<Money, double> next;
        for (const auto& [net, p] : live) {
            if (bankroll && *bankroll + net < scale) {
                endWith(SessionEnd::Broke, net, p);
                continue;
            }
            f.meanRounds += p;
            const Kernel& k = kernelAt(net);
            f.leftOut += p * k.leftOut;
            f.stopped = f.stopped || k.stopped;
            for (const auto& [money, broke, q] : k.outcomes) {
                const Money after = net + money;
                const double pq = p * q;
                if (broke)
                    endWith(SessionEnd::Broke, after, pq);
                else if (after >= stopWin)
                    endWith(SessionEnd::StopWin, after, pq);
                else if (after <= stopLoss)
                    endWith(SessionEnd::StopLoss, after, pq);
                else
                    next[after] += pq;
            }
        }
        for (auto it = next.begin(); it != next.end();)
            if (it->second < limits.leaveOutBelow) {
                f.leftOut += it->second;
                it = next.erase(it);
            } else {
                ++it;
            }
        live.swap(next);
        if (control.progress)
            control.progress(static_cast<double>(round + 1) / static_cast<double>(s.sessionRounds));
    }
    for (const auto& [net, p] : live)
        if (f.stopped)
            f.leftOut += p;
        else
            endWith(SessionEnd::RoundsPlayed, net, p);
    f.kernels = kernels.size() + 1;
    f.net.assign(ended.begin(), ended.end());
    result.figures = std::move(f);
    return result;
}

ExactSummary summarize(const Chances& c, double scale, const std::vector<double>& percents)
{
    ExactSummary s;
    for (const auto& [v, p] : c) {
        s.mass += p;
        s.mean += static_cast<double>(v) * p;
        (v > 0 ? s.above : v < 0 ? s.below : s.at) += p;
    }
    if (c.empty() || !(s.mass > 0))
        return s;
    s.mean /= s.mass;
    double var = 0;
    for (const auto& [v, p] : c)
        var += (static_cast<double>(v) - s.mean) * (static_cast<double>(v) - s.mean) * p;
    s.sd = std::sqrt(var / s.mass) / scale;
    s.mean /= scale;
    s.min = static_cast<double>(c.front().first) / scale;
    s.max = static_cast<double>(c.back().first) / scale;
    for (double percent : percents) {
        // Nearest rank: the least value with at least percent% at or below it.
        const double wanted = percent / 100 * s.mass * (1 - 1e-12);
        double seen = 0;
        double value = s.max;
        for (const auto& [v, p] : c) {
            seen += p;
            if (seen >= wanted) {
                value = static_cast<double>(v) / scale;
                break;
            }
        }
        s.percentiles.emplace_back(percent, value);
    }
    return s;
}

Chances atLeast(const Chances& c)
{
    Chances out(c.size());
    double tail = 0;
    for (std::size_t i = c.size(); i-- > 0;) {
        tail += c[i].second;
        out[i] = { c[i].first, tail };
    }
    return out;
}

double failChance(const Chances& need, std::int64_t b)
{
    double p = 0;
    for (const auto& [v, q] : need)
        if (v > b)
            p += q;
    return p;
}

std::int64_t leastBankroll(const Chances& need, double share, std::int64_t step)
{
    // Needs from the top down: the bankroll must reach every need above the
    // share that may fail.
    double tail = 0;
    std::int64_t least = 0;
    for (std::size_t i = need.size(); i-- > 0;) {
        if (tail + need[i].second > share) {
            least = need[i].first;
            break;
        }
        tail += need[i].second;
    }
    return (least + step - 1) / step * step;
}

} // namespace zelmar::sim
