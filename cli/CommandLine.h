#pragma once
// The one reader of the tools' command lines. A command states its options,
// `--name` alone or `--name value`, and how many other words it takes (an
// event text, "-"). The reader refuses, in Chinese and with exit status 2,
// an option it does not know, one given more often than it may be (once,
// unless the command says otherwise), a value missing (a value never
// starts with "--") and a word too many; `--help` (or `-h`) and
// `--version` answer on the output stream with exit status 0. Values are
// checked by the command itself, which refuses them through `refuse`.

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zelmar {

struct OptionSyntax {
    std::string_view name; // "--rules"
    bool takesValue = false;
    std::size_t timesAtMost = 1;
};

struct CommandSyntax {
    std::string_view program; // as --version names it: "zelmar-sim"
    std::string_view usage; // printed for --help, and after every refusal
    std::vector<OptionSyntax> options;
    std::size_t wordsAtMost = 0; // words that are not options
};

class CommandLine {
public:
    bool has(std::string_view option) const { return m_values.find(option) != m_values.end(); }
    // The (first) value given to `option`, or nullptr when it was not given.
    const std::string* value(std::string_view option) const;
    // Every value given to `option`, in the order given.
    std::vector<std::string> values(std::string_view option) const;
    const std::vector<std::string>& words() const { return m_words; }

private:
    friend std::variant<CommandLine, int> readCommandLine(
        const CommandSyntax&, const std::vector<std::string>&, std::ostream&, std::ostream&);
    // A flag has one empty value each time it is given.
    std::map<std::string, std::vector<std::string>, std::less<>> m_values;
    std::vector<std::string> m_words;
};

// The command line read from `args`, the words after the command's name; or
// the exit status when the command is already answered or refused.
std::variant<CommandLine, int> readCommandLine(
    const CommandSyntax& syntax, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes `reason` and the usage to `err`; returns 2, the status of bad input.
int refuse(const CommandSyntax& syntax, std::ostream& err, const std::string& reason);

} // namespace zelmar
