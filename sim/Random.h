#pragma once
// The simulator's random numbers: xoshiro256** seeded through SplitMix64.
// Every block of rounds gets its own generator from the run's seed and the
// block's number, so a run gives the same hands however it is split over
// threads.

#include <cstdint>

namespace zelmar::sim {

inline std::uint64_t splitMix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

class Random {
public:
    Random(std::uint64_t seed, std::uint64_t stream)
    {
        std::uint64_t mix = seed;
        std::uint64_t streamKey = splitMix64(mix) ^ (stream * 0xD1B54A32D192ED03ull);
        for (auto& word : m_s)
            word = splitMix64(streamKey);
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
        const std::uint64_t t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return result;
    }

    // Uniform in 0 .. bound - 1, without bias (Lemire's multiply and reject).
    std::uint32_t below(std::uint32_t bound)
    {
        std::uint64_t m = (next() >> 32) * bound;
        auto low = static_cast<std::uint32_t>(m);
        if (low < bound) {
            const std::uint32_t threshold = -bound % bound;
            while (low < threshold) {
                m = (next() >> 32) * bound;
                low = static_cast<std::uint32_t>(m);
            }
        }
        return static_cast<std::uint32_t>(m >> 32);
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t m_s[4];
};

} // namespace zelmar::sim
