#include "replay/EventScript.h"

#include "report/JsonWriter.h"

#include <fmt/format.h>

namespace zelmar {

std::optional<BadEvent> parseEvents(std::string_view text, std::vector<Event>& events)
{
    events.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (const auto event = eventOf(c))
            events.push_back(*event);
        else if (c != ' ' && c != '\t' && c != ',' && c != '\r' && c != '\n')
            return BadEvent { c, i + 1 };
    }
    return std::nullopt;
}

std::string describeBadEvent(const BadEvent& bad, const std::string& where)
{
    const unsigned char c = static_cast<unsigned char>(bad.character);
    std::string shown;
    if (c >= 0x21 && c < 0x7F) {
        shown = std::string("“") + bad.character + "”";
    } else {
        shown = fmt::format("0x{:02X}", c);
    }
    return "无法识别的事件字符 " + shown + "（" + where + "第 " + std::to_string(bad.position)
        + " 个字符）；只接受 W 赢、L 输、B 后退、R 重来、S 重新加载规则";
}

Replayer::Replayer(const std::string& rulesFolder, bool json)
    : m_calculator(rulesFolder, m_view)
    , m_json(json)
{
}

std::string Replayer::start()
{
    m_view.startStep();
    m_calculator.StartUp();
    return line("start");
}

std::string Replayer::run(Event event)
{
    ++m_step;
    m_view.startStep();
    m_calculator.Play(event);
    const char name[2] = { static_cast<char>(event), '\0' };
    return line(name);
}

std::string Replayer::line(const char* event) const
{
    return m_json ? jsonLine(event) : tableLine(event);
}

namespace {

void writeGrid(JsonWriter& w, const SequenceGrid& g)
{
    w.beginObject();
    w.key("rows").value(g.rows());
    w.key("cols").value(g.cols());
    w.key("cells").beginArray();
    for (int r = 0; r < g.rows(); ++r) {
        w.beginArray();
        for (int c = 0; c < g.cols(); ++c)
            w.value(g.text(r, c));
        w.endArray();
    }
    w.endArray();
    w.key("plain").value(g.plainBlack() ? "black" : "default");
    w.key("marks").beginArray();
    for (const CellMark& m : g.marks()) {
        w.beginObject();
        w.key("r").value(m.row);
        w.key("c").value(m.col);
        w.key("bold").value(m.style.bold);
        // Colours as the 24-bit values of the window's palette, low byte red.
        w.key("color");
        switch (m.style.color) {
        case CellColor::Red:
            w.value(255);
            break;
        case CellColor::Black:
            w.value(0);
            break;
        case CellColor::Default:
            w.null();
            break;
        }
        w.endObject();
    }
    w.endArray();
    w.endObject();
}

void writeTexts(JsonWriter& w, const std::vector<std::string>& texts)
{
    w.beginArray();
    for (const auto& t : texts)
        w.value(t);
    w.endArray();
}

// The hands of the round as the replay writes them: "1" per win, "0" per
// loss, oldest first.
std::string historyText(const std::vector<Hand>& hands)
{
    std::string text;
    text.reserve(hands.size());
    for (Hand h : hands)
        text += h == Hand::Win ? '1' : '0';
    return text;
}

std::string joined(const std::vector<std::string>& texts)
{
    std::string out;
    for (const auto& t : texts) {
        if (!out.empty())
            out += " | ";
        out += t;
    }
    return out;
}

} // namespace

std::string Replayer::jsonLine(const char* event) const
{
    const RoundRecord& r = m_calculator.Record();
    JsonWriter w;
    w.beginObject();
    w.key("step").value(m_step);
    w.key("event").value(event);
    w.key("notices");
    writeTexts(w, m_view.notices);
    w.key("errors");
    writeTexts(w, m_view.failures);
    w.key("direction").value(directionText(r.direction));
    w.key("curRow").value(r.curRow);
    w.key("curCol").value(r.curCol);
    w.key("lastRow").value(r.lastRow);
    w.key("lastCol").value(r.lastCol);
    w.key("stake").value(r.stake);
    w.key("score").value(r.score);
    w.key("history").value(historyText(r.history));
    w.key("rulesMissing").value(r.rulesMissing ? 1 : 0);
    w.key("winSeq").beginArray();
    if (r.winSeq)
        for (i16 v : r.winSeq->values())
            w.value(v);
    w.endArray();
    w.key("lostTable").beginArray();
    if (r.lostTable) {
        for (int row = 0; row < r.lostTable->rows(); ++row) {
            w.beginArray();
            for (int col = 0; col < r.lostTable->cols(); ++col)
                w.value(r.lostTable->cell(row, col));
            w.endArray();
        }
    }
    w.endArray();
    w.key("shown").beginObject();
    w.key("score").value(m_view.shownScore);
    w.key("stake").value(m_view.shownStake);
    w.endObject();
    w.key("grids").beginObject();
    w.key("win");
    writeGrid(w, m_calculator.Grids().win());
    w.key("lost");
    writeGrid(w, m_calculator.Grids().lost());
    w.endObject();
    w.endObject();
    return w.str() + "\n";
}

std::string replayTableHeader()
{
    return fmt::format("{:>5} {:<5} {:>6} {:>6}  {:<14} {}\n", "step", "event", "stake", "score", "position",
        "notices / errors");
}

std::string Replayer::tableLine(const char* event) const
{
    const RoundRecord& r = m_calculator.Record();
    std::string position;
    switch (r.direction) {
    case Direction::Origin:
        position = "origin";
        break;
    case Direction::Win:
        position = "win " + std::to_string(r.curCol);
        break;
    case Direction::Loss:
        position = "loss " + std::to_string(r.curRow) + "," + std::to_string(r.curCol);
        break;
    }
    std::string out
        = fmt::format("{:>5} {:<5} {:>6} {:>6}  {:<14} ", m_step, event, r.stake, r.score, position);
    out += joined(m_view.notices);
    if (!m_view.failures.empty()) {
        if (!m_view.notices.empty())
            out += " | ";
        out += "错误：" + joined(m_view.failures);
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out + "\n";
}

} // namespace zelmar
