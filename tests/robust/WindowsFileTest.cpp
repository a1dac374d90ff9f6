// A rule file that another program holds open without sharing it (an
// editor, a virus scanner, a backup): Windows refuses both reading and
// replacing it. The program says which file and why, and nothing is lost:
// the file keeps its text and no save file is left behind.

#include "tests/robust/RobustSupport.h"

#include <windows.h>

namespace zelmar::robust {
namespace {

struct HeldOpen {
    const char* name;
    bool save; // a save of the file, else a read
};

void PrintTo(const HeldOpen& h, std::ostream* out)
{
    *out << h.name;
}

class HeldOpenRuleFile : public testing::TestWithParam<HeldOpen> { };

TEST_P(HeldOpenRuleFile, isReportedAndKeptWhole)
{
    TempFolder folder;
    const RuleFiles files(folder.path.string());
    writeFile(files.winPath(), OldWin);
    writeFile(files.lostPath(), OldLost);
    const auto onDisk = snapshot(folder.path);

    HANDLE other = ::CreateFileW(PathFromUtf8(files.lostPath()).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    std::string report;
    if (GetParam().save)
        report = files.SaveLostText("7").value_or("");
    else
        report = files.ReadLostText().error.value_or("");
    ::CloseHandle(other);

    expectReport(report, files.lostPath(), EBUSY);
    EXPECT_NE(report.find("另一个程序"), std::string::npos) << report;
    EXPECT_EQ(snapshot(folder.path), onDisk);
}

INSTANTIATE_TEST_SUITE_P(Each, HeldOpenRuleFile,
    testing::Values(HeldOpen { "Read", false }, HeldOpen { "Save", true }),
    [](const testing::TestParamInfo<HeldOpen>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zelmar::robust
