#include "report/ReportText.h"

#include "sim/Figures.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace zelmar {

namespace {

using sim::Estimate;
using sim::RoundEnd;
using sim::SessionEnd;

// Places that show an error of `se` to two significant digits.
int placesFor(double se, int fallback)
{
    if (!(se > 0) || !std::isfinite(se))
        return fallback;
    return std::clamp(1 - static_cast<int>(std::floor(std::log10(se))), 0, 8);
}

// In the order of the enums.
constexpr std::array<EndName, sim::RoundEndKinds> RoundEndNames { {
    { "赢的方向数列到了尽头", "winPathRanOut" },
    { "赢的方向上输了一局", "lostOnWinSide" },
    { "输的方向上反败为胜", "turnedOnLossSide" },
    { "输的方向数列到了尽头", "lossPathRanOut" },
    { "手数到了上限被截断", "cutAtMaxHands" },
    { "注码超过台面上限", "overTableMax" },
    { "计算出错（溢出或下标越界）", "engineFailure" },
    { "本钱不够下一手的注码", "broke" },
} };

constexpr std::array<EndName, sim::SessionEndKinds> SessionEndNames { {
    { "打满了局数", "roundsPlayed" },
    { "赢到目标离场", "stopWin" },
    { "输到止损离场", "stopLoss" },
    { "本钱不够下注（输光）", "broke" },
} };

} // namespace

EndName endName(RoundEnd e)
{
    return RoundEndNames.at(static_cast<std::size_t>(e));
}

EndName sessionEndName(SessionEnd e)
{
    return SessionEndNames.at(static_cast<std::size_t>(e));
}

std::string fixed(double v, int decimals)
{
    std::string s = fmt::format("{:.{}f}", v, decimals);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string withError(const Estimate& e, double factor, const char* suffix)
{
    if (std::isnan(e.se))
        return fixed(e.value * factor, 6) + suffix + "（太少，算不出标准误）";
    if (e.se == 0) // a share of none or all, or a single value
        return fixed(e.value * factor, 4) + suffix + " ± 0" + suffix;
    const int places = placesFor(e.se * factor, 4);
    const auto exact = [&](double v) {
        const std::string s = fmt::format("{:.{}f}", v, places);
        return s.find_first_not_of("-0.") == std::string::npos ? s.substr(s[0] == '-' ? 1 : 0) : s;
    };
    return exact(e.value * factor) + suffix + " ± " + exact(e.se * factor) + suffix;
}

std::string describeGame(const sim::Settings& s, bool withCut)
{
    if (s.game == sim::Game::WinChance)
        return "独立的手，每手赢的机会 " + fixed(s.winChance * 100, 4) + "%，没有和局，没有佣金";
    std::string text = std::string(s.game == sim::Game::NoCommission ? "免佣百家乐，" : "百家乐，")
        + std::to_string(s.decks) + " 副牌，"
        + (withCut ? "切牌在倒数第 " + std::to_string(s.cut) + " 张，" : std::string()) + "每手押";
    if (s.bet == sim::Bet::Player)
        text += "闲";
    else if (s.game == sim::Game::NoCommission)
        text += "庄，不抽佣：庄以 6 点赢只赔一半，其他庄赢 1 赔 1";
    else
        text += "庄，庄赢抽佣 " + fixed(s.commission * 100, 4) + "%";
    return text;
}

} // namespace zelmar
