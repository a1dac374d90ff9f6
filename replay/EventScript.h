#pragma once
// Events of a replay: one character per click. W win, L loss, B step back,
// R start over, S reload the rules; lower case too. Blanks, commas and line
// ends separate nothing and are skipped.

#include "calculator/Calculator.h"
#include "calculator/HeadlessView.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmar {

struct BadEvent {
    char character;
    std::size_t position; // 1-based, in the text given
};

// The events of `text`, or the first character that is none.
std::optional<BadEvent> parseEvents(std::string_view text, std::vector<Event>& events);

std::string describeBadEvent(const BadEvent& bad, const std::string& where);

// Runs events through the engine as the main window would, and writes one
// line per step.
class Replayer {
public:
    Replayer(const std::string& rulesFolder, bool json);

    std::string start(); // the program's start-up, step 0
    std::string run(Event event); // one event

private:
    std::string line(const char* event) const;
    std::string jsonLine(const char* event) const;
    std::string tableLine(const char* event) const;

    HeadlessView m_view;
    Calculator m_calculator;
    bool m_json;
    int m_step = 0;
};

std::string replayTableHeader();

} // namespace zelmar
