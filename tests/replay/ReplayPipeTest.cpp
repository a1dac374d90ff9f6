// The zelmar-replay executable fed from a pipe through fork and POSIX file
// descriptors (on Windows the executable is checked against the Linux one
// instead).

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace zelmar::test {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// The executable, fed from a pipe: every step is out as soon as its line is
// read, so the rules can be changed between two lines. The files change only
// once the tool has answered the first event, whatever the speed of the
// machine.
TEST(ReplayPipe, standardInputReloadsChangedRules)
{
    TempFolder folder;
    const fs::path& dir = folder.path;
    writeFile(dir / "winText.txt", "1,1");
    writeFile(dir / "lostText.txt", "1,1");
    int toTool[2];
    int fromTool[2];
    ASSERT_EQ(::pipe(toTool), 0);
    ASSERT_EQ(::pipe(fromTool), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(toTool[0], 0);
        ::dup2(fromTool[1], 1);
        for (int fd : { toTool[0], toTool[1], fromTool[0], fromTool[1] })
            ::close(fd);
        ::execl(ZELMAR_REPLAY, ZELMAR_REPLAY, "--json", "--rules", dir.c_str(), "-", nullptr);
        ::_exit(127);
    }
    ::close(toTool[0]);
    ::close(fromTool[1]);
    FILE* out = ::fdopen(fromTool[0], "r");
    std::vector<Json> steps;
    auto readStep = [&] {
        char* line = nullptr;
        std::size_t size = 0;
        const bool got = ::getline(&line, &size, out) > 0;
        if (got)
            steps.push_back(Json::parse(line));
        std::free(line);
        return got;
    };
    auto send = [&](const std::string& text) {
        return ::write(toTool[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    };

    ASSERT_TRUE(send("W\n"));
    ASSERT_TRUE(readStep() && readStep()); // start-up, then the win
    writeFile(dir / "winText.txt", "1,4,4");
    ASSERT_TRUE(send("S\nW\n"));
    ::close(toTool[1]);
    while (readStep()) { }
    std::fclose(out);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0]["winSeq"].size(), 2u); // read before the change
    EXPECT_EQ(steps[2]["event"], "S");
    EXPECT_EQ(steps[2]["winSeq"].size(), 3u);
    EXPECT_EQ(steps[2]["curCol"], 1); // the round goes on
    EXPECT_EQ(steps[3]["stake"], 4);
    EXPECT_EQ(steps[3]["score"], 2);
}

} // namespace
} // namespace zelmar::test
