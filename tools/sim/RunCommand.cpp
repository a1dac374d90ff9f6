#include "tools/sim/RunCommand.h"

#include "tools/common/CommandLine.h"
#include "tools/common/RuleFolderOption.h"
#include "tools/sim/RunReport.h"
#include "tools/sim/SimChart.h"
#include "tools/sim/SimRules.h"

#include <fmt/format.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

namespace zelmar {

namespace {

const CommandSpec Spec { "zelmar-sim",
    "用法：zelmar-sim run [选项]\n"
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
    "  --rules 目录         放 winText.txt 和 lostText.txt 的文件夹，缺省为本程序所在的文件夹\n"
    "  --help               显示本说明\n"
    "  --version            显示版本号\n",
    { { "--game", true }, { "--win-chance", true }, { "--decks", true }, { "--cut", true }, { "--bet", true },
        { "--commission", true }, { "--rounds", true }, { "--seed", true }, { "--threads", true },
        { "--max-hands", true }, { "--table-max", true }, { "--bankroll", true }, { "--json" },
        { "--csv", true }, { "--plot", true }, { "--plot-size", true }, { "--rules", true } } };

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
    std::optional<double> bankroll;
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

std::uint64_t freshSeed()
{
    std::random_device device;
    return (std::uint64_t { device() } << 32) ^ device();
}

Options optionsOf(const CommandLine& line)
{
    Options o;
    sim::Settings& s = o.settings;
    const auto whole = [&](const char* option, long max, auto& into) {
        if (const std::string* text = line.value(option))
            into = static_cast<std::remove_reference_t<decltype(into)>>(wholeNumber(option, *text, max));
    };
    if (const std::string* game = line.value("--game"); game && *game != "baccarat")
        throw BadInput { "--game 只能是 baccarat，收到“" + *game + "”；独立的手请用 --win-chance P" };
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
    if (const std::string* bankroll = line.value("--bankroll")) {
        o.bankroll = realNumber("--bankroll", *bankroll, 0, HUGE_VAL, "一个正数");
        if (*o.bankroll <= 0)
            throw BadInput { "--bankroll 需要一个正数，收到“" + *bankroll + "”" };
    }
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
    const bool shoeOptionGiven = line.has("--game") || line.has("--decks") || line.has("--cut")
        || line.has("--bet") || line.has("--commission");
    if (line.has("--win-chance") && shoeOptionGiven)
        throw BadInput {
            "--win-chance 的手没有牌靴：不能与 --game、--decks、--cut、--bet 或 --commission 同用"
        };
    if (s.game == sim::Game::Baccarat && s.cut >= s.decks * 52)
        throw BadInput { "--cut 必须小于牌靴里的牌数（" + std::to_string(s.decks * 52) + " 张）" };
    return o;
}

// A bar on standard error while a run that has lasted more than a second
// goes on, when the error stream is the terminal's.
class ProgressBar {
public:
    ProgressBar(long total, std::ostream& err)
        : m_total(total)
        , m_err(err)
        , m_enabled(&err == &std::cerr && ::isatty(STDERR_FILENO) == 1)
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
        m_err << fmt::format("\r[{}{}] {:5.1f}%  {} / {} 局（Ctrl-C 停止并统计已玩完的局）",
            std::string(filled, '#'), std::string(40 - filled, '.'), permille / 10.0, done, m_total)
              << std::flush;
    }

private:
    long m_total;
    std::ostream& m_err;
    bool m_enabled;
    bool m_shown = false;
    int m_permille = -1;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const auto read = readCommandLine(Spec, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    const CommandLine& line = std::get<CommandLine>(read);
    Options o;
    try {
        o = optionsOf(line);
    } catch (const BadInput& bad) {
        return refuse(Spec, err, bad.message);
    }
    sim::Settings& s = o.settings;
    const std::string rulesFolder = ruleFolderOption(line, err);

    auto rules = loadSimRules(rulesFolder);
    if (const auto* error = std::get_if<std::string>(&rules)) {
        err << *error << "\n";
        return 2;
    }
    s.winSeq = std::get<SimRules>(rules).winSeq;
    s.lostTable = std::get<SimRules>(rules).lostTable;

    std::ofstream csv;
    if (!o.csv.empty()) {
        csv.open(o.csv, std::ios::binary | std::ios::trunc);
        if (!csv) {
            err << "无法写入 CSV 文件 " << o.csv << "\n";
            return 2;
        }
        csv << csvHeader();
    }

    // A chart that could not be written is better known before a long run.
    if (!o.plot.empty() && !std::ofstream(o.plot, std::ios::binary | std::ios::app)) {
        err << "无法写入图表文件 " << o.plot << "\n";
        return 2;
    }

    // Ctrl-C from here on stops the run after the blocks under way.
    g_stop.store(false);
    const auto previous = std::signal(SIGINT, onInterrupt);
    // The seed comes first, so that even a run stopped early can be repeated.
    (o.json ? err : out) << fmt::format("种子：{}（用 --seed {} 可以重复这次运行）\n", s.seed, s.seed)
                         << std::flush;

    sim::Tally tally(s.rounds, o.bankroll);
    std::optional<ProgressBar> bar;
    bar.emplace(s.rounds, err);
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

    RunDescription run { s, rulesFolder, tally.rounds() < s.rounds };
    const sim::RunFigures figures = tally.figures();
    out << (o.json ? jsonReport(run, figures) : textReport(run, figures)) << std::flush;

    int status = run.interrupted ? 130 : 0;
    if (csv.is_open()) {
        csv.close();
        if (!csv) {
            err << "写入 CSV 文件 " << o.csv << " 时出错\n";
            status = 1;
        }
    }
    if (!o.plot.empty()) {
        const std::string title = "zelmar-sim：" + describeGame(s) + "；" + std::to_string(figures.rounds)
            + " 局，种子 " + std::to_string(s.seed);
        if (auto error = saveRunChart(figures, title, o.plot, o.plotWidth, o.plotHeight)) {
            err << *error << "\n";
            status = 1;
        }
    }
    return status;
}

} // namespace zelmar
