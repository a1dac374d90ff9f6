#include "tools/sim/RunCommand.h"

#include "tools/common/CommandLine.h"
#include "tools/common/Console.h"
#include "tools/common/RuleFolderOption.h"
#include "tools/sim/SimPlay.h"
#include "tools/sim/SimRules.h"

#include <fmt/format.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <thread>

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

const CommandSyntax RunSpec { "zelmar-sim",
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

const CommandSyntax CompareSpec { "zelmar-sim",
    "用法：zelmar-sim compare --rules 目录A --rules 目录B [选项]\n"
    "  两套规则在同样的手上各玩同样多的局，并排列出两边的数字和差 A − B（带成对的标准误）。\n"
    "  选项与 zelmar-sim run 的相同（见 zelmar-sim run --help），只有 --csv 和 --sessions 除外。\n"
    "  --rules 目录         给两次，先 A 后 B：各放一套 winText.txt 和 lostText.txt\n"
    "  --help               显示本说明\n"
    "  --version            显示版本号\n",
    playOptions(2) };

std::atomic<bool> g_stop { false };

// The first Ctrl-C asks the run to stop; a second one ends the program.
extern "C" void onInterrupt(int /*signal*/)
{
    g_stop.store(true, std::memory_order_relaxed);
    std::signal(SIGINT, SIG_DFL);
}

struct BadInput {
    std::string message;
};

struct Options {
    sim::Settings settings;
    bool json = false;
    std::string csv;
    std::string plot;
    int plotWidth = 1600;
    int plotHeight = 1000;
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
    if (const std::string* commission = line.value("--commission"))
        s.commission = realNumber("--commission", *commission, 0, 1, " 0 到 1 之间的数");

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

void readPlay(const CommandLine& line, sim::Settings& s)
{
    const auto whole = [&](const char* option, long max, auto& into) {
        if (const std::string* text = line.value(option))
            into = static_cast<std::remove_reference_t<decltype(into)>>(wholeNumber(option, *text, max));
    };
    const auto positive = [&](const char* option, std::optional<double>& into) {
        if (const std::string* text = line.value(option))
            into = positiveNumber(option, *text);
    };
    whole("--rounds", 200'000'000, s.rounds);
    if (const std::string* seed = line.value("--seed")) {
        const auto [end, ec] = std::from_chars(seed->data(), seed->data() + seed->size(), s.seed);
        if (ec != std::errc() || end != seed->data() + seed->size())
            throw BadInput { "--seed 需要 0 到 18446744073709551615 之间的整数，收到“" + *seed + "”" };
    } else {
        s.seed = freshSeed();
    }
    s.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    whole("--threads", 256, s.threads);
    whole("--max-hands", 2'000'000'000, s.maxHands);
    whole("--table-max", 2'000'000'000, s.tableMax);
    positive("--bankroll", s.bankroll);
    whole("--sessions", 100'000'000, s.sessions);
    whole("--session-rounds", 2'000'000'000, s.sessionRounds);
    positive("--stop-win", s.stopWin);
    positive("--stop-loss", s.stopLoss);
    if (s.sessions == 0
        && (line.has("--session-rounds") || line.has("--stop-win") || line.has("--stop-loss")))
        throw BadInput { "--session-rounds、--stop-win 和 --stop-loss 要与 --sessions K 同用" };
}

Options optionsOf(const CommandLine& line)
{
    Options o;
    readGame(line, o.settings);
    readPlay(line, o.settings);
    o.json = line.has("--json");
    if (const std::string* csv = line.value("--csv"))
        o.csv = *csv;
    if (const std::string* plot = line.value("--plot"))
        o.plot = *plot;
    if (const std::string* size = line.value("--plot-size")) {
        const auto x = size->find('x');
        if (x == std::string::npos)
            throw BadInput { "--plot-size 需要“宽x高”，例如 1600x1000，收到“" + *size + "”" };
        o.plotWidth = static_cast<int>(wholeNumber("--plot-size", size->substr(0, x), 10000));
        o.plotHeight = static_cast<int>(wholeNumber("--plot-size", size->substr(x + 1), 10000));
    }
    return o;
}

// The command line of `syntax` read into options, or the exit status when it
// is answered or refused.
std::variant<std::pair<CommandLine, Options>, int> readOptions(
    const CommandSyntax& syntax, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto read = readCommandLine(syntax, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    CommandLine& line = std::get<CommandLine>(read);
    try {
        Options o = optionsOf(line);
        return std::pair { std::move(line), std::move(o) };
    } catch (const BadInput& bad) {
        return refuse(syntax, err, bad.message);
    }
}

// The rules in `folder` put into `s`; false, with the reason on `err`, when
// they cannot be loaded.
bool loadRules(const std::string& folder, sim::Settings& s, std::ostream& err)
{
    auto rules = loadSimRules(folder);
    if (const auto* error = std::get_if<std::string>(&rules)) {
        err << *error << "\n";
        return false;
    }
    s.winSeq = std::get<SimRules>(rules).winSeq;
    s.lostTable = std::get<SimRules>(rules).lostTable;
    return true;
}

PlayRequest requestOf(const Options& o, const std::string& rulesFolder)
{
    return { o.settings, rulesFolder, o.json, o.csv, o.plot, o.plotWidth, o.plotHeight };
}

// A bar on the error stream while a run that has lasted more than a second
// goes on, when the error stream is the terminal's.
class ProgressBar {
public:
    ProgressBar(long total, const char* what, std::ostream& err)
        : m_total(total)
        , m_what(what)
        , m_err(err)
        , m_enabled(&err == &std::cerr && StderrIsConsole())
        , m_start(std::chrono::steady_clock::now())
    {
    }
    ~ProgressBar()
    {
        if (m_shown)
            m_err << "\r\033[K" << std::flush;
    }
    void update(long done)
    {
        if (!m_enabled || done >= m_total)
            return;
        if (!m_shown && std::chrono::steady_clock::now() - m_start < std::chrono::seconds(1))
            return;
        const int permille = static_cast<int>(1000 * done / m_total);
        if (m_shown && permille == m_permille)
            return;
        m_shown = true;
        m_permille = permille;
        const int filled = permille * 40 / 1000;
        m_err << fmt::format("\r[{}{}] {:5.1f}%  {} / {} {}（Ctrl-C 停止并统计已玩完的）",
            std::string(filled, '#'), std::string(40 - filled, '.'), permille / 10.0, done, m_total, m_what)
              << std::flush;
    }

private:
    long m_total;
    const char* m_what;
    std::ostream& m_err;
    bool m_enabled;
    bool m_shown = false;
    int m_permille = -1;
    std::chrono::steady_clock::time_point m_start;
};

// Runs `play` with Ctrl-C asking it to stop after the blocks under way and
// a progress bar on `err`; returns its status.
template <class Play> int playStoppable(const sim::Settings& s, std::ostream& err, Play play)
{
    g_stop.store(false);
    const auto previous = std::signal(SIGINT, onInterrupt);
    std::optional<ProgressBar> bar;
    bar.emplace(s.sessions > 0 ? s.sessions : s.rounds, s.sessions > 0 ? "场" : "局", err);
    PlayHooks hooks;
    hooks.stop = &g_stop;
    hooks.progress = [&](long done, long /*total*/) { bar->update(done); };
    const int status = play(hooks);
    bar.reset();
    std::signal(SIGINT, previous);
    return status;
}

} // namespace

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto read = readOptions(RunSpec, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    auto& [line, o] = std::get<0>(read);
    const std::string rulesFolder = ruleFolderOption(line, err);
    if (!loadRules(rulesFolder, o.settings, err))
        return 2;
    const PlayRequest request = requestOf(o, rulesFolder);
    return playStoppable(
        o.settings, err, [&](const PlayHooks& hooks) { return playAndReport(request, out, err, hooks); });
}

int compareCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto read = readOptions(CompareSpec, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    auto& [line, o] = std::get<0>(read);
    const std::vector<std::string> folders = line.values("--rules");
    if (folders.size() != 2)
        return refuse(CompareSpec, err, "compare 需要两个 --rules 目录，A 和 B");
    if (line.has("--csv") || line.has("--sessions"))
        return refuse(CompareSpec, err, "compare 不能与 --csv 或 --sessions 同用");
    sim::Settings b = o.settings;
    if (!loadRules(folders[0], o.settings, err) || !loadRules(folders[1], b, err))
        return 2;
    const PlayRequest request = requestOf(o, folders[0]);
    return playStoppable(o.settings, err,
        [&](const PlayHooks& hooks) { return compareAndReport(request, b, folders[1], out, err, hooks); });
}

} // namespace zelmar
