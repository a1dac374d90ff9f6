#include "report/CheckReport.h"

#include "report/JsonWriter.h"
#include "rules/RuleFiles.h"

#include <filesystem>
#include <optional>
#include <sstream>

namespace zelmar {

namespace {

using sim::CellValue;
using sim::DeadCell;
using sim::LossLoop;
using sim::RuleCheck;
using sim::Unreached;

// Longer lists are cut in the text report; the JSON holds them all.
constexpr std::size_t ListedAtMost = 20;

std::string num(long v)
{
    return std::to_string(v);
}

std::string item(int col)
{
    return "第 " + num(col + 1) + " 项";
}

std::string cell(int row, int col)
{
    return "第 " + num(row + 1) + " 行第 " + num(col + 1) + " 列";
}

std::string cellWithValue(const CellValue& c)
{
    return cell(c.row, c.col) + "（" + num(c.value) + "）";
}

const char* const OverflowNote = "（超出 16 位的范围：计算器会在这一手报告溢出，不记录它）";

std::string scoreWithNote(long score)
{
    return num(score) + (score < sim::ScoreMin || score > sim::ScoreMax ? OverflowNote : "");
}

std::string whyText(const DeadCell& d, const RuleCheck& c)
{
    switch (d.why) {
    case Unreached::OriginStake:
        return "每局第一手总是下注 1，起点这一项不作注码";
    case Unreached::PassedOver:
        return "负数，赢的方向上被跳过";
    case Unreached::AfterStop:
        return "在" + cellWithValue(*c.loss.stop) + "这个负数之后，走不到";
    case Unreached::StepBackTooLate:
        return "在输的方向上赢一手才能退回这一格，而那一手赢总会让得分大于 0，先结束本局";
    case Unreached::FirstLossEnds:
        return "输的方向上第一手输就结束本局，没有哪一手能退回这一格";
    }
    return {};
}

template <typename T, typename Line> void listLines(std::string& out, const std::vector<T>& items, Line line)
{
    for (std::size_t i = 0; i < items.size() && i < ListedAtMost; ++i)
        out += "    " + line(items[i]) + "\n";
    if (items.size() > ListedAtMost)
        out += "    ……另有 " + num(static_cast<long>(items.size() - ListedAtMost)) + " 处\n";
}

void unreachableLines(std::string& out, const std::vector<DeadCell>& cells, const RuleCheck& c, bool win)
{
    if (cells.empty()) {
        out += std::string("  走不到的") + (win ? "项" : "格") + "：没有。\n";
        return;
    }
    out += std::string("  走不到的") + (win ? "项 " : "格 ") + num(static_cast<long>(cells.size()))
        + " 处：\n";
    listLines(out, cells, [&](const DeadCell& d) {
        return (win ? item(d.col) : cell(d.row, d.col)) + "（" + num(d.value) + "）：" + whyText(d, c);
    });
}

std::string firstLine(const RuleCheck& c)
{
    if (c.loss.unbounded)
        return "最坏情况：没有下限。输的方向上有 " + num(static_cast<long>(c.loss.lossCycles.size()))
            + " 处输的循环，一局可以一直输下去而不结束，直到 16 位的得分溢出（低于 -32768）。\n"
              "没有多少本钱可以保证打完每一局。\n";
    const long worst = *c.worstScore();
    std::string line = "最坏情况：一局结束时的得分最低为 " + num(worst);
    if (worst < sim::ScoreMin)
        line += "，超出了 16 位的范围，计算器会在那一手报告溢出";
    line += "。";
    if (c.endlessRoundsPossible())
        line += "一局可能永远不结束，但不会因此多输。";
    return line + "\n本钱 " + num(*c.worstNeed())
        + " 单位可以打完任何一局：每一手之前，已经输掉的加上要下的注码最多这么多（按 1 赔 1 "
          "计；押庄抽佣时赢的手少赔，要多备一些）。\n";
}

} // namespace

std::string CheckHeadline(const RuleCheck& c)
{
    return firstLine(c);
}

std::string UnreachedReason(const DeadCell& cell, const RuleCheck& c)
{
    return whyText(cell, c);
}

std::string CheckReportText(const RuleCheck& c)
{
    std::string out = firstLine(c);

    const sim::WinPathFigures& w = c.win;
    out += std::string("赢的数列（") + WinFileName + "）：" + num(w.items) + " 项，可用（正数）"
        + num(w.usable) + " 项，最大值 " + num(w.largest) + "。\n";
    unreachableLines(out, w.unreachable, c, true);
    out += "  赢的方向：最大注码 " + num(w.largestStake) + "；最多连赢 " + num(w.longestWinRun)
        + " 手；在这个方向上结束的一局，得分最好 " + scoreWithNote(w.bestScore) + "，最坏 "
        + num(w.worstScore) + "。\n";

    const sim::LossPathFigures& l = c.loss;
    out += std::string("输的表格（") + LostFileName + "）：" + num(l.rows) + " 行 × " + num(l.cols) + " 列，"
        + num(l.items) + " 项，可用（正数）" + num(l.usable) + " 格，最大值 " + num(l.largest) + "。\n";
    if (l.stop)
        out += "  " + cellWithValue(*l.stop) + "是负数：输的方向走到这里，本局就结束。\n";
    unreachableLines(out, l.unreachable, c, false);
    out += "  输的方向：最大注码 " + num(l.largestStake) + "；在这个方向上结束的一局，得分最好 "
        + (l.bestScore ? num(*l.bestScore) : std::string("（表格太大，没有算出）")) + "，最坏"
        + (l.unbounded ? std::string("没有下限") : " " + scoreWithNote(l.worstScore)) + "。\n";
    const auto pair = [](const LossLoop& p) { return cellWithValue(p.from) + " → " + cellWithValue(p.to); };
    if (!l.lossCycles.empty()) {
        out += "  输的循环 " + num(static_cast<long>(l.lossCycles.size()))
            + " 处（在前一格输、在后一格赢，如此反复，每两手输掉两格之差，本局不会结束）：\n";
        listLines(out, l.lossCycles,
            [&](const LossLoop& p) { return pair(p) + "：每两手输 " + num(p.lossPerTwoHands()); });
    }
    if (!l.evenLoops.empty()) {
        out += "  不输不赢的循环 " + num(static_cast<long>(l.evenLoops.size()))
            + " 处（两格相等，在前一格输、在后一格赢，得分不变，本局也不会结束）：\n";
        listLines(out, l.evenLoops, pair);
    }
    return out;
}

namespace {

void writeCell(JsonWriter& j, int row, int col, long value, bool win)
{
    if (win) {
        j.key("item").value(col + 1);
    } else {
        j.key("row").value(row + 1);
        j.key("column").value(col + 1);
    }
    j.key("value").value(value);
}

const char* whyKey(Unreached why)
{
    switch (why) {
    case Unreached::OriginStake:
        return "originStake";
    case Unreached::PassedOver:
        return "passedOver";
    case Unreached::AfterStop:
        return "afterStop";
    case Unreached::StepBackTooLate:
        return "stepBackTooLate";
    case Unreached::FirstLossEnds:
        return "firstLossEnds";
    }
    return "";
}

void writeUnreachable(JsonWriter& j, const std::vector<DeadCell>& cells, bool win)
{
    j.key("unreachable").beginArray();
    for (const DeadCell& d : cells) {
        j.beginObject();
        writeCell(j, d.row, d.col, d.value, win);
        j.key("why").value(whyKey(d.why));
        j.endObject();
    }
    j.endArray();
}

void writeLoops(JsonWriter& j, const char* name, const std::vector<LossLoop>& loops, bool withLoss)
{
    j.key(name).beginArray();
    for (const LossLoop& p : loops) {
        j.beginObject();
        writeCell(j, p.from.row, p.from.col, p.from.value, false);
        j.key("nextRow").value(p.to.row + 1);
        j.key("nextColumn").value(p.to.col + 1);
        j.key("nextValue").value(p.to.value);
        if (withLoss)
            j.key("lossPerTwoHands").value(p.lossPerTwoHands());
        j.endObject();
    }
    j.endArray();
}

} // namespace

std::string CheckReportJson(const RuleCheck& c)
{
    JsonWriter j;
    j.beginObject();
    j.key("worstScore");
    if (auto worst = c.worstScore())
        j.value(*worst);
    else
        j.null();
    j.key("worstNeed");
    if (auto need = c.worstNeed())
        j.value(*need);
    else
        j.null();
    j.key("unbounded").value(c.loss.unbounded);
    j.key("overflows").value(c.win.overflows || c.loss.overflows);
    j.key("endlessRounds").value(c.endlessRoundsPossible());

    const sim::WinPathFigures& w = c.win;
    j.key("win").beginObject();
    j.key("file").value(WinFileName);
    j.key("items").value(w.items);
    j.key("usable").value(w.usable);
    j.key("largest").value(w.largest);
    writeUnreachable(j, w.unreachable, true);
    j.key("largestStake").value(w.largestStake);
    j.key("longestWinRun").value(w.longestWinRun);
    j.key("bestScore").value(w.bestScore);
    j.key("worstScore").value(w.worstScore);
    j.key("overflows").value(w.overflows);
    j.endObject();

    const sim::LossPathFigures& l = c.loss;
    j.key("loss").beginObject();
    j.key("file").value(LostFileName);
    j.key("rows").value(l.rows);
    j.key("columns").value(l.cols);
    j.key("items").value(l.items);
    j.key("usable").value(l.usable);
    j.key("largest").value(l.largest);
    writeUnreachable(j, l.unreachable, false);
    j.key("stop");
    if (l.stop) {
        j.beginObject();
        writeCell(j, l.stop->row, l.stop->col, l.stop->value, false);
        j.endObject();
    } else {
        j.null();
    }
    j.key("largestStake").value(l.largestStake);
    j.key("unbounded").value(l.unbounded);
    j.key("worstScore");
    if (l.unbounded)
        j.null();
    else
        j.value(l.worstScore);
    j.key("bestScore");
    if (l.bestScore)
        j.value(*l.bestScore);
    else
        j.null();
    j.key("overflows").value(l.overflows);
    writeLoops(j, "lossCycles", l.lossCycles, true);
    writeLoops(j, "evenLoops", l.evenLoops, false);
    j.endObject();
    j.endObject();
    return j.str() + "\n";
}

} // namespace zelmar
