#include "sim/Shoe.h"

namespace zelmar::sim {

namespace {

std::vector<std::uint8_t> freshDecks(int decks)
{
    std::vector<std::uint8_t> cards;
    cards.reserve(static_cast<std::size_t>(decks) * 52);
    for (int d = 0; d < decks; ++d)
        for (int suit = 0; suit < 4; ++suit)
            for (int rank = 1; rank <= 13; ++rank)
                cards.push_back(static_cast<std::uint8_t>(rank >= 10 ? 0 : rank));
    return cards;
}

} // namespace

Shoe::Shoe(int decks, int cut, Random& random)
    : Shoe(freshDecks(decks), static_cast<std::size_t>(decks) * 52 - static_cast<std::size_t>(cut), random)
{
    shuffle();
    m_shuffles = 0;
}

Shoe::Shoe(std::vector<std::uint8_t> cards, std::size_t cutAt, Random& random)
    : m_cards(std::move(cards))
    , m_cutAt(cutAt)
    , m_random(&random)
{
}

Shoe Shoe::stacked(std::vector<std::uint8_t> points, Random& random)
{
    const std::size_t n = points.size();
    return { std::move(points), n, random };
}

void Shoe::shuffle()
{
    for (std::size_t i = m_cards.size(); i-- > 1;) {
        const std::size_t j = m_random->below(static_cast<std::uint32_t>(i + 1));
        std::swap(m_cards[i], m_cards[j]);
    }
    m_next = 0;
    ++m_shuffles;
}

} // namespace zelmar::sim
