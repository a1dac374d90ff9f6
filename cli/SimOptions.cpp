#include "cli/SimOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <sstream>
#include <thread>

#include <fmt/format.h>

namespace zelmar {

namespace {

// The options run and compare share; compare takes --rules twice and
// refuses --csv and --sessions itself, so that it can say why.
std::vector<OptionSyntax> playOptions(std::size_t rulesAtMost)
{
    return { { "--game", true }, { "--win-chance", true }, { "--decks", true }, { "--cut", true },
        { "--bet", true }, { "--commission", true }, { "--rounds", true }, { "--seed", true },
        { "--threads", true }, { "--max-hands", true }, { "--table-max", true }, { "--bankroll", true },
        { "--sessions", true }, { "--session-rounds", true }, { "--stop-win", true }, { "--stop-loss", true },
        { "--json" }, { "--csv", true }, { "--plot", true }, { "--plot-size", true },
        { "--rules", true, rulesAtMost } };
}

struct BadInput {
    std::string message;
};

long wholeNumber(const std::string& option, const std::string& text, long max)
{
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value <= 0 || value > max)
        throw BadInput { option + " 需要 1 到 " + std::to_string(max) + " 之间的整数，收到“" + text + "”" };
    return value;
}

double realNumber(
    const std::string& option, const std::string& text, double min, double max, const char* range)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < min
        || value > max)
        throw BadInput { option + " 需要" + range + "，收到“" + text + "”" };
    return value;
}

double positiveNumber(const std::string& option, const std::string& text)
{
    const double value = realNumber(option, text, 0, HUGE_VAL, "一个正数");
    if (value <= 0)
        throw BadInput { option + " 需要一个正数，收到“" + text + "”" };
    return value;
}

std::uint64_t freshSeed()
{
    std::random_device device;
    return (std::uint64_t { device() } << 32) ^ device();
}

void readGame(const CommandLine& line, sim::Settings& s)
{
    const auto whole = [&](const char* option, long max, auto& into) {
        if (const std::string* text = line.value(option))
            into = static_cast<std::remove_reference_t<decltype(into)>>(wholeNumber(option, *text, max));
    };
    if (const std::string* game = line.value("--game")) {
        if (*game != "baccarat" && *game != "no-commission")
            throw BadInput { "--game 只能是 baccarat 或 no-commission（免佣），收到“" + *game
                + "”；独立的手请用 --win-chance P" };
        s.game = *game == "baccarat" ? sim::Game::Baccarat : sim::Game::NoCommission;
    }
    if (const std::string* chance = line.value("--win-chance")) {
        s.winChance = realNumber("--win-chance", *chance, 0, 1, " 0 到 1 之间的数");
        s.game = sim::Game::WinChance;
    }
    whole("--decks", 1000, s.decks);
    whole("--cut", 52000, s.cut);
    if (const std::string* bet = line.value("--bet")) {
        if (*bet != "banker" && *bet != "player")
            throw BadInput { "--bet 只能是 banker（押庄）或 player（押闲），收到“" + *bet + "”" };
        s.bet = *bet == "banker" ? sim::Bet::Banker : sim::Bet::Player;
    }
    if (const std::string* commission = line.value("--commission")) {
        s.commission = realNumber("--commission", *commission, 0, 1, " 0 到 1 之间的数");
        // Money is counted exactly in millionths of a unit at the finest.
        const double millionths = s.commission * 1e6;
        if (std::abs(millionths - std::round(millionths)) > 1e-6)
            throw BadInput { "--commission 最多 6 位小数（百万分之一），收到“" + *commission
                + "”：更细的佣金无法准确计算" };
    }

    const bool shoeOptionGiven = line.has("--game") || line.has("--decks") || line.has("--cut")
        || line.has("--bet") || line.has("--commission");
    if (line.has("--win-chance") && shoeOptionGiven)
        throw BadInput {
            "--win-chance 的手没有牌靴：不能与 --game、--decks、--cut、--bet 或 --commission 同用"
        };
    if (s.game == sim::Game::NoCommission && line.has("--commission"))
        throw BadInput { "免佣百家乐不抽佣：--game no-commission 不能与 --commission 同用" };
    if (s.game != sim::Game::WinChance && s.cut >= s.decks * 52)
        throw BadInput { "--cut 必须小于牌靴里的牌数（" + std::to_string(s.decks * 52) + " 张）" };
}

// The limits of a round: its hands, the table's maximum and the bankroll.
void readLimits(const CommandLine& line, sim::Settings& s)
{
    if (const std::string* text = line.value("--max-hands"))
        s.maxHands = wholeNumber("--max-hands", *text, 2'000'000'000);
    if (const std::string* text = line.value("--table-max"))
        s.tableMax = wholeNumber("--table-max", *text, 2'000'000'000);
    if (const std::string* text = line.value("--bankroll"))
        s.bankroll = positiveNumber("--bankroll", *text);
}

// Where a session stops; `sessionsOption` names how sessions are asked for.
void readStops(const CommandLine& line, sim::Settings& s, bool sessions, const char* sessionsOption)
{
    if (const std::string* text = line.value("--session-rounds"))
        s.sessionRounds = wholeNumber("--session-rounds", *text, 2'000'000'000);
    if (const std::string* text = line.value("--stop-win"))
        s.stopWin = positiveNumber("--stop-win", *text);
    if (const std::string* text = line.value("--stop-loss"))
        s.stopLoss = positiveNumber("--stop-loss", *text);
    if (!sessions && (line.has("--session-rounds") || line.has("--stop-win") || line.has("--stop-loss")))
        throw BadInput { std::string("--session-rounds、--stop-win 和 --stop-loss 要与 ") + sessionsOption
            + " 同用" };
}

void readPlay(const CommandLine& line, sim::Settings& s)
{
    if (const std::string* text = line.value("--rounds"))
        s.rounds = wholeNumber("--rounds", *text, 200'000'000);
    if (const std::string* seed = line.value("--seed")) {
        const auto [end, ec] = std::from_chars(seed->data(), seed->data() + seed->size(), s.seed);
        if (ec != std::errc() || end != seed->data() + seed->size())
            throw BadInput { "--seed 需要 0 到 18446744073709551615 之间的整数，收到“" + *seed + "”" };
    } else {
        s.seed = freshSeed();
    }
    s.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (const std::string* text = line.value("--threads"))
        s.threads = static_cast<int>(wholeNumber("--threads", *text, 256));
    readLimits(line, s);
    if (const std::string* text = line.value("--sessions"))
        s.sessions = wholeNumber("--sessions", *text, 100'000'000);
    readStops(line, s, s.sessions > 0, "--sessions K");
    if (s.sessions > 0 && line.has("--rounds"))
        throw BadInput { "--rounds 不能与 --sessions 同用：每场的局数请用 --session-rounds N" };
}

SimOptions readOptions(const CommandLine& line)
{
    SimOptions o;
    readGame(line, o.settings);
    readPlay(line, o.settings);
    o.json = line.has("--json");
    if (const std::string* csv = line.value("--csv")) {
        if (*csv == "-")
            throw BadInput { "--csv 需要一个文件名：“-”不行，标准输出上已经是报告" };
        o.csv = *csv;
    }
    if (const std::string* plot = line.value("--plot"))
        o.plot = *plot;
    if (line.has("--plot-size") && !line.has("--plot"))
        throw BadInput { "--plot-size 要与 --plot 文件.png 同用" };
    if (const std::string* size = line.value("--plot-size")) {
        const auto x = size->find('x');
        if (x == std::string::npos)
            throw BadInput { "--plot-size 需要“宽x高”，例如 1600x1000，收到“" + *size + "”" };
        o.plotWidth = static_cast<int>(wholeNumber("--plot-size", size->substr(0, x), 10000));
        o.plotHeight = static_cast<int>(wholeNumber("--plot-size", size->substr(x + 1), 10000));
    }
    return o;
}

} // namespace

const CommandSyntax RunSyntax { "zelmar-sim",
    "用法：zelmar-sim run [选项]\n"
    "  从原点开始一局一局地玩，每手按计算器的“赢”“输”记录，统计结果。\n"
    "  --game baccarat      百家乐（缺省）：从牌靴发牌，按补牌规则\n"
    "  --game no-commission 免佣百家乐：庄以 6 点赢只赔一半，其他庄赢 1 赔 1，不抽佣\n"
    "  --win-chance P       改为相互独立的手，每手赢的机会为 P（0 到 1），没有和局和佣金\n"
    "  --decks N            牌靴里的牌副数，缺省 8\n"
    "  --cut N              切牌在倒数第 N 张，出现后打完这一手就洗牌，缺省 14\n"
    "  --bet banker|player  押庄（缺省）或押闲\n"
    "  --commission C       庄赢的佣金比例，缺省 0.05\n"
    "  --rounds N           局数，缺省 100000\n"
    "  --seed S             随机种子，缺省每次新取一个（总会打印出来）\n"
    "  --threads T          线程数，缺省为处理器核数；结果与线程数无关\n"
    "  --max-hands H        一局打满 H 手还没结束就截断，缺省 10000\n"
    "  --table-max M        台面上限：注码超过 M 就下不了，这一局到此为止\n"
    "  --bankroll B         每局（或每场）带着 B 个单位的本钱：下不起的那一手就停下\n"
    "  --sessions K         改为模拟 K 场：每场一局接一局地打，输赢带到下一局，直到下面的条件之一\n"
    "  --session-rounds N   每场最多打 N 局，缺省 1000\n"
    "  --stop-win W         一局打完时净赢到 W 个单位（含佣金）就离场\n"
    "  --stop-loss L        一局打完时净输到 L 个单位（含佣金）就离场\n"
    "  --json               以一个 JSON 对象输出同样的数字\n"
    "  --csv 文件           每局（或每场）一行写入 CSV 文件\n"
    "  --plot 文件.png      把图表画到 PNG 文件\n"
    "  --plot-size 宽x高    图表的像素大小，缺省 1600x1000\n"
    "  --rules 目录         放 winText.txt 和 lostText.txt 的文件夹，缺省为本程序所在的文件夹；\n"
    "                       比较两套规则请用 zelmar-sim compare\n"
    "  --help               显示本说明\n"
    "  --version            显示版本号\n",
    playOptions(1) };

const CommandSyntax CompareSyntax { "zelmar-sim",
    "用法：zelmar-sim compare --rules 目录A --rules 目录B [选项]\n"
    "  两套规则在同样的手上各玩同样多的局，并排列出两边的数字和差 A − B（带成对的标准误）。\n"
    "  选项与 zelmar-sim run 的相同（见 zelmar-sim run --help），只有 --csv 和 --sessions 除外。\n"
    "  --rules 目录         给两次，先 A 后 B：各放一套 winText.txt 和 lostText.txt\n"
    "  --help               显示本说明\n"
    "  --version            显示版本号\n",
    playOptions(2) };

std::optional<std::string> readExactOptions(const CommandLine& line, sim::Settings& s)
{
    try {
        readGame(line, s);
        readLimits(line, s);
        readStops(line, s, line.has("--sessions"), "--sessions");
        return std::nullopt;
    } catch (const BadInput& bad) {
        return bad.message;
    }
}

std::variant<SimOptions, std::string> simOptionsOf(const CommandLine& line)
{
    try {
        return readOptions(line);
    } catch (const BadInput& bad) {
        return bad.message;
    }
}

std::variant<SimOptions, std::string> simOptionsOfWords(const std::vector<std::string>& words)
{
    if (words.empty() || (words.front() != "run" && words.front() != "compare"))
        return std::string("不是 run 或 compare 的命令行");
    const CommandSyntax& syntax = words.front() == "run" ? RunSyntax : CompareSyntax;
    std::ostringstream out, err;
    auto read = readCommandLine(syntax, { words.begin() + 1, words.end() }, out, err);
    if (std::holds_alternative<int>(read))
        return err.str();
    return simOptionsOf(std::get<CommandLine>(read));
}

std::optional<std::string> bankrollProblem(const sim::Settings& s)
{
    if (!s.bankroll)
        return std::nullopt;
    const long first = sim::firstStake(s);
    if (*s.bankroll >= static_cast<double>(first))
        return std::nullopt;
    return "--bankroll 至少要 " + std::to_string(first) + " 个单位：每一局的第一手就要下 "
        + std::to_string(first) + " 个单位，本钱 " + fmt::format("{}", *s.bankroll) + " 连一手也下不了";
}

} // namespace zelmar
