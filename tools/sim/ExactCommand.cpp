#include "tools/sim/ExactCommand.h"

#include "cli/CommandLine.h"
#include "cli/RuleFolderOption.h"
#include "cli/SimOptions.h"
#include "report/ExactReport.h"
#include "rules/Utf8Path.h"
#include "sim/SimRules.h"

#include <atomic>
#include <csignal>
#include <fstream>

namespace zelmar {

namespace {

const CommandSyntax ExactSpec { "zelmar-sim",
    "用法：zelmar-sim exact [选项]\n"
    "  不抽样，精确算出一局（或一场）的各种机会：每手相互独立时，一局一局就是一条马尔可夫链，\n"
    "  每一手都由计算器的“赢”“输”来走。\n"
    "  --win-chance P       相互独立的手，每手赢的机会为 P（0 到 1），没有和局和佣金\n"
    "  --game baccarat      百家乐（缺省）：每手按整靴第一手的机会，把手当作相互独立\n"
    "  --game no-commission 免佣百家乐：庄以 6 点赢只赔一半，其他庄赢 1 赔 1，不抽佣\n"
    "  --decks N            牌靴里的牌副数，缺省 8\n"
    "  --bet banker|player  押庄（缺省）或押闲\n"
    "  --commission C       庄赢的佣金比例，缺省 0.05\n"
    "  --max-hands H        一局打满 H 手还没结束就截断，缺省 10000\n"
    "  --table-max M        台面上限：注码超过 M 就下不了，这一局到此为止\n"
    "  --bankroll B         每局（或每场）带着 B 个单位的本钱：下不起的那一手就停下\n"
    "  --sessions           改为算一场：一局接一局地打，输赢带到下一局，直到下面的条件之一\n"
    "  --session-rounds N   每场最多打 N 局，缺省 1000\n"
    "  --stop-win W         一局打完时净赢到 W 个单位（含佣金）就离场\n"
    "  --stop-loss L        一局打完时净输到 L 个单位（含佣金）就离场\n"
    "  --json               以一个 JSON 对象输出同样的数字\n"
    "  --csv 文件           把各个分布（x, 机会）写入 CSV 文件\n"
    "  --rules 目录         放 winText.txt 和 lostText.txt 的文件夹，缺省为本程序所在的文件夹\n"
    "  --help               显示本说明\n"
    "  --version            显示版本号\n",
    { { "--game", true }, { "--win-chance", true }, { "--decks", true }, { "--bet", true },
        { "--commission", true }, { "--max-hands", true }, { "--table-max", true }, { "--bankroll", true },
        { "--sessions" }, { "--session-rounds", true }, { "--stop-win", true }, { "--stop-loss", true },
        { "--json" }, { "--csv", true }, { "--rules", true } } };

std::atomic<bool> g_stop { false };

extern "C" void onExactInterrupt(int /*signal*/)
{
    g_stop.store(true, std::memory_order_relaxed);
    std::signal(SIGINT, SIG_DFL);
}

struct Options {
    sim::Settings settings;
    bool sessions = false;
    bool json = false;
    std::string csv;
};

// Writes `text` to `out`; false, with the reason on `err`, when it failed.
bool write(std::ostream& out, const std::string& text, std::ostream& err)
{
    out << text << std::flush;
    if (out)
        return true;
    err << "写入标准输出时出错：报告没有完整写出\n";
    return false;
}

} // namespace

int exactCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto read = readCommandLine(ExactSpec, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    const CommandLine& line = std::get<CommandLine>(read);
    Options o;
    if (const auto why = readExactOptions(line, o.settings))
        return refuse(ExactSpec, err, *why);
    o.sessions = line.has("--sessions");
    o.json = line.has("--json");
    if (const std::string* csv = line.value("--csv"))
        o.csv = *csv;
    const std::string folder = ruleFolderOption(line, err);
    auto rules = loadSimRules(folder);
    if (const auto* error = std::get_if<std::string>(&rules)) {
        err << *error << "\n";
        return 2;
    }
    o.settings.winSeq = std::get<SimRules>(rules).winSeq;
    o.settings.lostTable = std::get<SimRules>(rules).lostTable;
    if (const auto why = bankrollProblem(o.settings))
        return refuse(ExactSpec, err, *why);

    std::ofstream csv;
    if (!o.csv.empty()) {
        csv.open(PathFromUtf8(o.csv), std::ios::binary | std::ios::trunc);
        if (!csv.is_open()) {
            err << "无法写入 CSV 文件 " << o.csv << "\n";
            return 2;
        }
    }

    g_stop.store(false);
    const auto previous = std::signal(SIGINT, onExactInterrupt);
    const sim::ExactControl control { &g_stop, {} };
    ExactDescription d { o.settings, folder, false };
    std::string report;
    std::string table;
    int status = 0;
    if (o.sessions) {
        o.settings.sessions = 1;
        const sim::ExactSessionsResult result = sim::exactSessions(o.settings, {}, control);
        if (!result.figures) {
            std::signal(SIGINT, previous);
            err << sessionsTooLargeText(result.tooLarge) << "\n";
            return 2;
        }
        d.stopped = result.figures->stopped;
        report = o.json ? exactSessionJsonReport(d, *result.figures)
                        : exactSessionTextReport(d, *result.figures);
        table = exactSessionCsv(*result.figures);
    } else {
        const sim::ExactRound round = sim::exactRound(o.settings, {}, control);
        d.stopped = round.stopped;
        report = o.json ? exactJsonReport(d, round) : exactTextReport(d, round);
        table = exactCsv(round);
    }
    std::signal(SIGINT, previous);
    if (d.stopped)
        status = 130;
    if (!write(out, report, err))
        status = 1;
    if (!o.csv.empty()) {
        csv << table;
        csv.close();
        if (!csv) {
            err << "写入 CSV 文件 " << o.csv << " 时出错\n";
            status = 1;
        }
    }
    return status;
}

} // namespace zelmar
