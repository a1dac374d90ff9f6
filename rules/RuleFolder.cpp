#include "rules/RuleFolder.h"

#include "rules/RuleFiles.h"
#include "rules/RuleFolderSystem.h"
#include "rules/Utf8Path.h"

#include <cerrno>
#include <filesystem>

namespace zelmar {

namespace {

namespace fs = std::filesystem;

// A dangling link or anything else under a rule file's name counts: reading
// it later reports what is wrong with it.
bool holdsRuleFile(const fs::path& dir)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(dir / WinFileName, ec))
        || fs::exists(fs::symlink_status(dir / LostFileName, ec));
}

// Creates `dir` with the parents it lacks. 0 or an errno value.
int makeFolders(const fs::path& dir)
{
    std::error_code ec;
    if (fs::is_directory(dir, ec))
        return 0;
    const fs::path parent = dir.parent_path();
    if (parent != dir)
        if (int e = makeFolders(parent))
            return e;
    const int e = system::MakeFolder(Utf8FromPath(dir));
    return e == EEXIST && !fs::is_directory(dir, ec) ? ENOTDIR : (e == EEXIST ? 0 : e);
}

// Both example files, written as a save writes them: each in full beside its
// place before either is moved in. False when there are no examples to copy.
bool copyExamples(const fs::path& examples, const std::string& folder, std::vector<std::string>& reports)
{
    std::error_code ec;
    if (!fs::is_directory(examples, ec))
        return false;
    std::string texts[2];
    const char* names[2] = { WinFileName, LostFileName };
    for (int i = 0; i < 2; ++i) {
        const std::string path = Utf8FromPath(examples / names[i]);
        if (int e = system::ReadWholeFile(path, texts[i])) {
            reports.push_back("无法读取示例规则 " + path + "：" + ErrorReason(e));
            return true;
        }
    }
    if (SaveError e = RuleFiles(folder).SaveRuleTexts(texts[0], texts[1]))
        reports.push_back("无法把示例规则复制到 " + folder + "。\n" + *e);
    return true;
}

} // namespace

RuleFolderChoice ChooseRuleFolder(const RuleFolderPlaces& places)
{
    RuleFolderChoice choice;
    std::error_code ec;
    const fs::path program = PathFromUtf8(places.programDir);
    const bool installed = fs::is_directory(PathFromUtf8(places.examplesDir), ec);
    if (holdsRuleFile(program) || (!installed && system::MayCreateFilesIn(places.programDir))) {
        choice.folder = places.programDir;
        return choice;
    }

    fs::path data;
    if (PathFromUtf8(places.dataHome).is_absolute())
        data = PathFromUtf8(places.dataHome);
    else if (!places.home.empty())
        data = PathFromUtf8(places.home) / PathFromUtf8(SystemDataFolder.underHome);
    if (data.empty()) {
        choice.folder = places.programDir;
        choice.reports.push_back(
            std::string("无法确定存放规则文件的文件夹：没有设置 ") + SystemDataFolder.homeVariable);
        return choice;
    }
    data = (data / SystemDataFolder.name).lexically_normal();
    choice.folder = Utf8FromPath(data);
    if (int e = makeFolders(data)) {
        choice.reports.push_back("无法创建存放规则文件的文件夹 " + choice.folder + "：" + ErrorReason(e));
        return choice;
    }
    // Without examples the files are created empty when first read. The user
    // is told where, since they lie away from the program.
    if (!holdsRuleFile(data)
        && !copyExamples(PathFromUtf8(places.examplesDir), choice.folder, choice.reports))
        choice.reports.push_back("规则文件在 " + choice.folder + "。那里的 " + WinFileName + " 和 "
            + LostFileName + " 是空的，填写规则后才能使用。");
    return choice;
}

} // namespace zelmar
