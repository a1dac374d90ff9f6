#include "cli/CommandLine.h"

#include <algorithm>

namespace zelmar {

const std::string* CommandLine::value(std::string_view option) const
{
    const auto it = m_values.find(option);
    return it == m_values.end() ? nullptr : &it->second.front();
}

std::vector<std::string> CommandLine::values(std::string_view option) const
{
    const auto it = m_values.find(option);
    return it == m_values.end() ? std::vector<std::string>() : it->second;
}

namespace {

// The status of an answer written to `out`: 0, or 1 when it could not be written.
int answered(std::ostream& out, std::ostream& err)
{
    if (out.flush())
        return 0;
    err << "写入标准输出时出错\n";
    return 1;
}

} // namespace

std::variant<CommandLine, int> readCommandLine(
    const CommandSyntax& syntax, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << syntax.usage;
            return answered(out, err);
        }
        if (arg == "--version") {
            out << syntax.program << " " << ZELMAR_VERSION << "\n";
            return answered(out, err);
        }
        // A lone "-" is a word: standard input.
        if (arg.size() < 2 || arg[0] != '-') {
            if (line.m_words.size() == syntax.wordsAtMost)
                return refuse(
                    syntax, err, (syntax.wordsAtMost == 0 ? "无法识别的参数：" : "多余的参数：") + arg);
            line.m_words.push_back(arg);
            continue;
        }
        const auto option = std::find_if(syntax.options.begin(), syntax.options.end(),
            [&](const OptionSyntax& o) { return o.name == arg; });
        if (option == syntax.options.end())
            return refuse(syntax, err, "无法识别的参数：" + arg);
        std::vector<std::string>& given = line.m_values[arg];
        if (const std::size_t most = option->timesAtMost; given.size() == most)
            return refuse(
                syntax, err, arg + (most == 1 ? " 只能给一次" : " 最多给 " + std::to_string(most) + " 次"));
        std::string value;
        if (option->takesValue) {
            if (i + 1 == args.size() || args[i + 1].starts_with("--"))
                return refuse(syntax, err, arg + " 后面缺少取值");
            value = args[++i];
        }
        given.push_back(std::move(value));
    }
    return line;
}

int refuse(const CommandSyntax& syntax, std::ostream& err, const std::string& reason)
{
    err << reason << "\n" << syntax.usage;
    return 2;
}

} // namespace zelmar
