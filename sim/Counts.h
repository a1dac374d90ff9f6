#pragma once
// How many times each whole value came up: the exact distribution of a
// figure over any number of rounds in a size that does not grow with them.
// Values near 0 are counted in place; the rare ones further out in a map.

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace zelmar::sim {

class Counts {
public:
    void add(std::int64_t value, long times = 1)
    {
        const std::int64_t at = value + Near;
        if (at >= 0 && at < 2 * Near) {
            if (m_near.empty())
                m_near.resize(2 * Near);
            m_near[static_cast<std::size_t>(at)] += times;
        } else {
            m_far[value] += times;
        }
        m_total += times;
    }
    void add(const Counts& other)
    {
        for (const auto& [value, times] : other.sorted())
            add(value, times);
    }

    long total() const { return m_total; }
    // (value, times) in increasing order of value, values that came up only.
    std::vector<std::pair<std::int64_t, long>> sorted() const
    {
        std::vector<std::pair<std::int64_t, long>> out;
        auto far = m_far.begin();
        for (; far != m_far.end() && far->first < -Near; ++far)
            out.push_back(*far);
        for (std::size_t i = 0; i < m_near.size(); ++i)
            if (m_near[i] != 0)
                out.emplace_back(static_cast<std::int64_t>(i) - Near, m_near[i]);
        for (; far != m_far.end(); ++far)
            out.push_back(*far);
        return out;
    }

private:
    static constexpr std::int64_t Near = 1 << 16;
    std::vector<long> m_near; // index value + Near
    std::map<std::int64_t, long> m_far;
    long m_total = 0;
};

} // namespace zelmar::sim
