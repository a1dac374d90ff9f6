#include "tools/sim/RunCommand.h"

#include "tools/sim/SimPlay.h"
#include "tools/sim/SimRules.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

namespace zelmar {

namespace {

const char* const Usage
    = "用法：zelmar-sim run [选项]\n"
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
      "  --csv 文件           每局一行写入 CSV 文件\n"
      "  --plot 文件.png      把图表画到 PNG 文件\n"
      "  --plot-size 宽x高    图表的像素大小，缺省 1600x1000\n"
      "  --rules 目录         放 winText.txt 和 lostText.txt 的文件夹，缺省为本程序所在的文件夹\n";

const char* const CompareUsage
    = "用法：zelmar-sim compare --rules 目录A --rules 目录B [run 的选项]\n"
      "  两套规则在同样的手上各玩同样多的局，并排列出两边的数字和差 A − B（带成对的标准误）。\n"
      "  run 的选项都可以用，只有 --csv 和 --sessions 除外。\n";

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
    bool gameGiven = false;
    bool chanceGiven = false;
    bool shoeOptionGiven = false; // --decks, --cut, --bet or --commission
    bool commissionGiven = false;
    bool threadsGiven = false;
    bool seedGiven = false;
    bool json = false;
    std::string csv;
    std::string plot;
    int plotWidth = 1600;
    int plotHeight = 1000;
    std::string rules;
    std::vector<std::string> moreRules; // compare: the folders after the first
    bool sessionOptionGiven = false; // --session-rounds, --stop-win or --stop-loss
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

// The options of sessions, one after another: true when `arg` was one.
bool sessionOption(const std::string& arg, const std::function<std::string()>& valueOf, Options& o)
{
    sim::Settings& s = o.settings;
    if (arg == "--sessions")
        s.sessions = wholeNumber(arg, valueOf(), 100'000'000);
    else if (arg == "--session-rounds")
        s.sessionRounds = wholeNumber(arg, valueOf(), 2'000'000'000);
    else if (arg == "--stop-win")
        s.stopWin = positiveNumber(arg, valueOf());
    else if (arg == "--stop-loss")
        s.stopLoss = positiveNumber(arg, valueOf());
    else
        return false;
    o.sessionOptionGiven = o.sessionOptionGiven || arg != "--sessions";
    return true;
}

Options parseOptions(int argc, char** argv)
{
    Options o;
    sim::Settings& s = o.settings;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto valueOf = [&]() -> std::string {
            if (i + 1 >= argc)
                throw BadInput { arg + " 后面缺少取值" };
            return argv[++i];
        };
        if (arg == "--game") {
            const std::string game = valueOf();
            if (game != "baccarat" && game != "no-commission")
                throw BadInput { "--game 只能是 baccarat 或 no-commission（免佣），收到“" + game
                    + "”；独立的手请用 --win-chance P" };
            s.game = game == "baccarat" ? sim::Game::Baccarat : sim::Game::NoCommission;
            o.gameGiven = true;
        } else if (arg == "--win-chance") {
            s.winChance = realNumber(arg, valueOf(), 0, 1, " 0 到 1 之间的数");
            s.game = sim::Game::WinChance;
            o.chanceGiven = true;
        } else if (arg == "--decks") {
            s.decks = static_cast<int>(wholeNumber(arg, valueOf(), 1000));
            o.shoeOptionGiven = true;
        } else if (arg == "--cut") {
            s.cut = static_cast<int>(wholeNumber(arg, valueOf(), 52000));
            o.shoeOptionGiven = true;
        } else if (arg == "--bet") {
            const std::string bet = valueOf();
            if (bet != "banker" && bet != "player")
                throw BadInput { "--bet 只能是 banker（押庄）或 player（押闲），收到“" + bet + "”" };
            s.bet = bet == "banker" ? sim::Bet::Banker : sim::Bet::Player;
            o.shoeOptionGiven = true;
        } else if (arg == "--commission") {
            s.commission = realNumber(arg, valueOf(), 0, 1, " 0 到 1 之间的数");
            o.commissionGiven = true;
            o.shoeOptionGiven = true;
        } else if (arg == "--rounds") {
            s.rounds = wholeNumber(arg, valueOf(), 200'000'000);
        } else if (arg == "--seed") {
            const std::string text = valueOf();
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), s.seed);
            if (ec != std::errc() || end != text.data() + text.size())
                throw BadInput { "--seed 需要 0 到 18446744073709551615 之间的整数，收到“" + text + "”" };
            o.seedGiven = true;
        } else if (arg == "--threads") {
            s.threads = static_cast<int>(wholeNumber(arg, valueOf(), 256));
            o.threadsGiven = true;
        } else if (arg == "--max-hands") {
            s.maxHands = wholeNumber(arg, valueOf(), 2'000'000'000);
        } else if (arg == "--table-max") {
            s.tableMax = wholeNumber(arg, valueOf(), 2'000'000'000);
        } else if (arg == "--bankroll") {
            s.bankroll = positiveNumber(arg, valueOf());
        } else if (sessionOption(arg, valueOf, o)) {
        } else if (arg == "--json") {
            o.json = true;
        } else if (arg == "--csv") {
            o.csv = valueOf();
        } else if (arg == "--plot") {
            o.plot = valueOf();
        } else if (arg == "--plot-size") {
            const std::string size = valueOf();
            const auto x = size.find('x');
            if (x == std::string::npos)
                throw BadInput { "--plot-size 需要“宽x高”，例如 1600x1000，收到“" + size + "”" };
            o.plotWidth = static_cast<int>(wholeNumber(arg, size.substr(0, x), 10000));
            o.plotHeight = static_cast<int>(wholeNumber(arg, size.substr(x + 1), 10000));
        } else if (arg == "--rules") {
            (o.rules.empty() ? o.rules : o.moreRules.emplace_back()) = valueOf();
        } else {
            throw BadInput { "无法识别的参数：" + arg };
        }
    }
    if (o.chanceGiven && (o.gameGiven || o.shoeOptionGiven))
        throw BadInput {
            "--win-chance 的手没有牌靴：不能与 --game、--decks、--cut、--bet 或 --commission 同用"
        };
    if (o.sessionOptionGiven && s.sessions == 0)
        throw BadInput { "--session-rounds、--stop-win 和 --stop-loss 要与 --sessions K 同用" };
    if (s.game == sim::Game::NoCommission && o.commissionGiven)
        throw BadInput { "免佣百家乐不抽佣：--game no-commission 不能与 --commission 同用" };
    if (s.game != sim::Game::WinChance && s.cut >= s.decks * 52)
        throw BadInput { "--cut 必须小于牌靴里的牌数（" + std::to_string(s.decks * 52) + " 张）" };
    return o;
}

std::uint64_t freshSeed()
{
    std::random_device device;
    return (std::uint64_t { device() } << 32) ^ device();
}

// A bar on standard error while a run that has lasted more than a second
// goes on, when standard error is a terminal.
class ProgressBar {
public:
    ProgressBar(long total, const char* what)
        : m_total(total)
        , m_what(what)
        , m_enabled(::isatty(STDERR_FILENO) == 1)
        , m_start(std::chrono::steady_clock::now())
    {
    }
    ~ProgressBar()
    {
        if (m_shown)
            std::fputs("\r\033[K", stderr);
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
        std::fprintf(stderr, "\r[%s%s] %5.1f%%  %ld / %ld %s（Ctrl-C 停止并统计已玩完的）",
            std::string(filled, '#').c_str(), std::string(40 - filled, '.').c_str(), permille / 10.0, done,
            m_total, m_what);
        std::fflush(stderr);
    }

private:
    long m_total;
    const char* m_what;
    bool m_enabled;
    bool m_shown = false;
    int m_permille = -1;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace

int runCommand(int argc, char** argv, const char* program, bool compare)
{
    const char* const usage = compare ? CompareUsage : Usage;
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
    }
    Options o;
    try {
        o = parseOptions(argc, argv);
        if (compare && (o.moreRules.size() != 1))
            throw BadInput { "compare 需要两个 --rules 目录，A 和 B" };
        if (compare && (!o.csv.empty() || o.settings.sessions > 0))
            throw BadInput { "compare 不能与 --csv 或 --sessions 同用" };
        if (!compare && !o.moreRules.empty())
            throw BadInput { "--rules 只能给一次；要比较两套规则请用 zelmar-sim compare" };
    } catch (const BadInput& bad) {
        std::fprintf(stderr, "%s\n%s", bad.message.c_str(), usage);
        return 2;
    }
    sim::Settings& s = o.settings;
    if (!o.threadsGiven)
        s.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (!o.seedGiven)
        s.seed = freshSeed();
    if (o.rules.empty())
        o.rules = defaultRuleFolder(program);

    std::vector<SimRules> loaded;
    for (const std::string* folder : { &o.rules, compare ? &o.moreRules[0] : nullptr }) {
        if (!folder)
            continue;
        auto rules = loadSimRules(*folder);
        if (const auto* error = std::get_if<std::string>(&rules)) {
            std::fprintf(stderr, "%s\n", error->c_str());
            return 2;
        }
        loaded.push_back(std::get<SimRules>(rules));
    }
    s.winSeq = loaded[0].winSeq;
    s.lostTable = loaded[0].lostTable;

    PlayRequest request { s, o.rules, o.json, o.csv, o.plot, o.plotWidth, o.plotHeight };
    // Ctrl-C from here on stops the run after the blocks under way.
    g_stop.store(false);
    const auto previous = std::signal(SIGINT, onInterrupt);
    std::optional<ProgressBar> bar;
    PlayHooks hooks;
    hooks.stop = &g_stop;
    hooks.progress = [&](long done, long total) {
        if (!bar)
            bar.emplace(total, s.sessions > 0 ? "场" : "局");
        bar->update(done);
    };
    int status = 0;
    if (compare) {
        sim::Settings b = s;
        b.winSeq = loaded[1].winSeq;
        b.lostTable = loaded[1].lostTable;
        status = compareAndReport(request, b, o.moreRules[0], std::cout, std::cerr, hooks);
    } else {
        status = playAndReport(request, std::cout, std::cerr, hooks);
    }
    bar.reset();
    std::signal(SIGINT, previous);
    return status;
}

} // namespace zelmar
