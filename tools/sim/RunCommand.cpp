#include "tools/sim/RunCommand.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/RuleFolderOption.h"
#include "cli/SimOptions.h"
#include "sim/SimRules.h"
#include "tools/sim/SimPlay.h"

#include <fmt/format.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>

namespace zelmar {

namespace {

std::atomic<bool> g_stop { false };

// The first Ctrl-C asks the run to stop; a second one ends the program.
extern "C" void onInterrupt(int /*signal*/)
{
    g_stop.store(true, std::memory_order_relaxed);
    std::signal(SIGINT, SIG_DFL);
}

// The command line of `syntax` read into options, or the exit status when it
// is answered or refused.
std::variant<std::pair<CommandLine, SimOptions>, int> readOptions(
    const CommandSyntax& syntax, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto read = readCommandLine(syntax, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    CommandLine& line = std::get<CommandLine>(read);
    auto options = simOptionsOf(line);
    if (const std::string* why = std::get_if<std::string>(&options))
        return refuse(syntax, err, *why);
    return std::pair { std::move(line), std::get<SimOptions>(std::move(options)) };
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

PlayRequest requestOf(const SimOptions& o, const std::string& rulesFolder)
{
    return { { o.settings, {} }, rulesFolder, {}, o.json, o.csv, o.plot, o.plotWidth, o.plotHeight };
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
    auto read = readOptions(RunSyntax, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    auto& [line, o] = std::get<0>(read);
    const std::string rulesFolder = ruleFolderOption(line, err);
    if (!loadRules(rulesFolder, o.settings, err))
        return 2;
    if (const auto why = bankrollProblem(o.settings))
        return refuse(RunSyntax, err, *why);
    const PlayRequest request = requestOf(o, rulesFolder);
    return playStoppable(
        o.settings, err, [&](const PlayHooks& hooks) { return play(request, out, err, hooks); });
}

int compareCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto read = readOptions(CompareSyntax, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    auto& [line, o] = std::get<0>(read);
    const std::vector<std::string> folders = line.values("--rules");
    if (folders.size() != 2)
        return refuse(CompareSyntax, err, "compare 需要两个 --rules 目录，A 和 B");
    if (line.has("--csv") || line.has("--sessions"))
        return refuse(CompareSyntax, err, "compare 不能与 --csv 或 --sessions 同用");
    sim::Settings b = o.settings;
    if (!loadRules(folders[0], o.settings, err) || !loadRules(folders[1], b, err))
        return 2;
    for (const sim::Settings* rules : { &o.settings, &b })
        if (const auto why = bankrollProblem(*rules))
            return refuse(CompareSyntax, err, *why);
    PlayRequest request = requestOf(o, folders[0]);
    request.plan.b = b;
    request.rulesFolderB = folders[1];
    return playStoppable(
        o.settings, err, [&](const PlayHooks& hooks) { return play(request, out, err, hooks); });
}

} // namespace zelmar
