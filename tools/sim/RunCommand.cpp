#include "tools/sim/RunCommand.h"

#include "rules/Utf8Path.h"
#include "sim/SimChart.h"
#include "tools/common/Console.h"
#include "tools/sim/RunReport.h"
#include "tools/sim/SimRules.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <thread>

namespace zelmar {

namespace {

const char* const Usage
    = "用法：zelmar-sim run [选项]\n"
      "  从原点开始一局一局地玩，每手按计算器的“赢”“输”记录，统计结果。\n"
      "  --game baccarat      百家乐（缺省）：从牌靴发牌，按补牌规则\n"
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
      "  --bankroll B         统计有多少局会在中途输光 B 个单位的本钱\n"
      "  --json               以一个 JSON 对象输出同样的数字\n"
      "  --csv 文件           每局一行写入 CSV 文件\n"
      "  --plot 文件.png      把图表画到 PNG 文件\n"
      "  --plot-size 宽x高    图表的像素大小，缺省 1600x1000\n"
      "  --rules 目录         放 winText.txt 和 lostText.txt 的文件夹，缺省为本程序所在的文件夹\n";

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
    bool threadsGiven = false;
    bool seedGiven = false;
    std::optional<double> bankroll;
    bool json = false;
    std::string csv;
    std::string plot;
    int plotWidth = 1600;
    int plotHeight = 1000;
    std::string rules;
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
            if (game != "baccarat")
                throw BadInput { "--game 只能是 baccarat，收到“" + game + "”；独立的手请用 --win-chance P" };
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
            o.bankroll = realNumber(arg, valueOf(), 0, HUGE_VAL, "一个正数");
            if (*o.bankroll <= 0)
                throw BadInput { "--bankroll 需要一个正数，收到“" + std::string(argv[i]) + "”" };
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
            o.rules = valueOf();
        } else {
            throw BadInput { "无法识别的参数：" + arg };
        }
    }
    if (o.chanceGiven && (o.gameGiven || o.shoeOptionGiven))
        throw BadInput {
            "--win-chance 的手没有牌靴：不能与 --game、--decks、--cut、--bet 或 --commission 同用"
        };
    if (s.game == sim::Game::Baccarat && s.cut >= s.decks * 52)
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
    explicit ProgressBar(long total)
        : m_total(total)
        , m_enabled(StderrIsConsole())
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
        std::fprintf(stderr, "\r[%s%s] %5.1f%%  %ld / %ld 局（Ctrl-C 停止并统计已玩完的局）",
            std::string(filled, '#').c_str(), std::string(40 - filled, '.').c_str(), permille / 10.0, done,
            m_total);
        std::fflush(stderr);
    }

private:
    long m_total;
    bool m_enabled;
    bool m_shown = false;
    int m_permille = -1;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace

int runCommand(int argc, char** argv, const char* program)
{
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
    }
    Options o;
    try {
        o = parseOptions(argc, argv);
    } catch (const BadInput& bad) {
        std::fprintf(stderr, "%s\n%s", bad.message.c_str(), Usage);
        return 2;
    }
    sim::Settings& s = o.settings;
    if (!o.threadsGiven)
        s.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (!o.seedGiven)
        s.seed = freshSeed();
    if (o.rules.empty())
        o.rules = defaultRuleFolder(program);

    auto rules = loadSimRules(o.rules);
    if (const auto* error = std::get_if<std::string>(&rules)) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return 2;
    }
    s.winSeq = std::get<SimRules>(rules).winSeq;
    s.lostTable = std::get<SimRules>(rules).lostTable;

    std::ofstream csv;
    if (!o.csv.empty()) {
        csv.open(PathFromUtf8(o.csv), std::ios::binary | std::ios::trunc);
        if (!csv) {
            std::fprintf(stderr, "无法写入 CSV 文件 %s\n", o.csv.c_str());
            return 2;
        }
        csv << csvHeader();
    }

    // A chart that could not be written is better known before a long run.
    if (!o.plot.empty() && !std::ofstream(PathFromUtf8(o.plot), std::ios::binary | std::ios::app)) {
        std::fprintf(stderr, "无法写入图表文件 %s\n", o.plot.c_str());
        return 2;
    }

    // Ctrl-C from here on stops the run after the blocks under way.
    g_stop.store(false);
    const auto previous = std::signal(SIGINT, onInterrupt);
    // The seed comes first, so that even a run stopped early can be repeated.
    std::fprintf(o.json ? stderr : stdout, "种子：%llu（用 --seed %llu 可以重复这次运行）\n",
        static_cast<unsigned long long>(s.seed), static_cast<unsigned long long>(s.seed));
    std::fflush(o.json ? stderr : stdout);

    sim::Tally tally(s.rounds, o.bankroll);
    std::optional<ProgressBar> bar;
    bar.emplace(s.rounds);
    sim::RunControl control;
    control.stop = &g_stop;
    control.progress = [&](long done) { bar->update(done); };
    sim::runRounds(
        s,
        [&](const sim::Block& b) {
            tally.add(b);
            if (csv.is_open()) {
                long round = b.index * sim::BlockRounds;
                for (const sim::RoundResult& r : b.rounds)
                    csv << csvRow(++round, r);
            }
        },
        control);
    std::signal(SIGINT, previous);
    bar.reset();

    RunDescription run { s, o.rules, tally.rounds() < s.rounds };
    const sim::RunFigures figures = tally.figures();
    const std::string report = o.json ? jsonReport(run, figures) : textReport(run, figures);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);

    int status = run.interrupted ? 130 : 0;
    if (csv.is_open()) {
        csv.close();
        if (!csv) {
            std::fprintf(stderr, "写入 CSV 文件 %s 时出错\n", o.csv.c_str());
            status = 1;
        }
    }
    if (!o.plot.empty()) {
        const std::string title = "zelmar-sim：" + describeGame(s) + "；" + std::to_string(figures.rounds)
            + " 局，种子 " + std::to_string(s.seed);
        if (auto error = sim::saveRunChart(figures, title, o.plot, o.plotWidth, o.plotHeight)) {
            std::fprintf(stderr, "%s\n", error->c_str());
            status = 1;
        }
    }
    return status;
}

} // namespace zelmar
