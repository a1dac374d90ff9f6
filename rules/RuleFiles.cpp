#include "rules/RuleFiles.h"

#include "rules/Utf8Path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zelmar {

std::string ErrorReason(int error)
{
    const char* chinese = nullptr;
    switch (error) {
    case ENOENT:
        chinese = "文件或文件夹不存在";
        break;
    case EACCES:
    case EPERM:
        chinese = "没有权限";
        break;
    case EISDIR:
        chinese = "这是一个文件夹";
        break;
    case ENOTDIR:
        chinese = "路径中有一项不是文件夹";
        break;
    case ENOSPC:
        chinese = "磁盘已满";
        break;
#ifdef EDQUOT // not on Windows, where a full quota reads as a full disk
    case EDQUOT:
        chinese = "磁盘配额已用完";
        break;
#endif
    case EROFS:
        chinese = "文件系统是只读的";
        break;
    case ELOOP:
        chinese = "符号链接层数过多";
        break;
    case EIO:
        chinese = "输入输出错误";
        break;
    case EINVAL:
        chinese = "不是普通文件";
        break;
    case ENAMETOOLONG:
        chinese = "文件名太长";
        break;
    case EBUSY:
        chinese = "文件正被另一个程序使用";
        break;
    default:
        break;
    }
    const std::string system = std::strerror(error);
    return chinese ? std::string(chinese) + "（" + system + "）" : system;
}

namespace {

std::string failedTo(const char* verb, const std::string& path, const char* step, int error)
{
    return std::string("无法") + verb + "规则文件 " + path + "（" + step + "时出错）：" + ErrorReason(error);
}

// A new text written in full beside the file it is to replace.
struct Prepared {
    std::string path; // as the user knows it
    std::string target; // what the move replaces (a link's target)
    std::string temp;
};

SaveError prepare(FileService& fs, const std::string& path, const std::string& text, Prepared& out)
{
    out.path = path;
    out.target = fs.saveTarget(path);
    int fd = -1;
    if (int e = fs.createTemp(out.target, fd, out.temp))
        return failedTo("保存", path, "创建新文件", e);
    const char* step = nullptr;
    int e = fs.write(fd, text);
    if (e != 0)
        step = "写入";
    else if ((e = fs.flush(fd)) != 0)
        step = "写入磁盘";
    const int closed = fs.close(fd);
    if (step == nullptr && closed != 0) {
        e = closed;
        step = "关闭";
    }
    if (step != nullptr) {
        fs.removeQuietly(out.temp);
        return failedTo("保存", path, step, e);
    }
    return std::nullopt;
}

SaveError commit(FileService& fs, const Prepared& p)
{
    if (int e = fs.move(p.temp, p.target)) {
        fs.removeQuietly(p.temp);
        return failedTo("保存", p.path, "替换旧文件", e);
    }
    return std::nullopt;
}

} // namespace

RuleFiles::RuleFiles(std::string folder, FileService& fs)
    : m_folder(std::move(folder))
    , m_fs(fs)
{
}

std::string RuleFiles::winPath() const
{
    return Utf8FromPath(PathFromUtf8(m_folder) / WinFileName);
}
std::string RuleFiles::lostPath() const
{
    return Utf8FromPath(PathFromUtf8(m_folder) / LostFileName);
}

ReadResult RuleFiles::read(const std::string& path) const
{
    ReadResult result;
    if (int e = m_fs.checkLink(path)) {
        result.error = failedTo("读取", path, "打开链接", e);
        return result;
    }
    int fd = -1;
    if (int e = m_fs.openRead(path, fd)) {
        result.error = failedTo("读取", path, "打开或创建", e);
        return result;
    }
    if (int e = m_fs.readAll(fd, result.text)) {
        result.text.clear();
        result.error = failedTo("读取", path, "读取", e);
    }
    m_fs.close(fd);
    return result;
}

ReadResult RuleFiles::ReadWinText() const
{
    return read(winPath());
}
ReadResult RuleFiles::ReadLostText() const
{
    return read(lostPath());
}

void RuleFiles::ReadRuleTexts(ReadResult& win, ReadResult& lost) const
{
    win = ReadWinText();
    lost = ReadLostText();
}

SaveError RuleFiles::save(const std::string& path, const std::string& text) const
{
    Prepared p;
    if (auto e = prepare(m_fs, path, text, p))
        return e;
    return commit(m_fs, p);
}

SaveError RuleFiles::SaveWinText(const std::string& text) const
{
    return save(winPath(), text);
}

SaveError RuleFiles::SaveLostText(const std::string& text) const
{
    return save(lostPath(), text);
}

SaveError RuleFiles::SaveRuleTexts(const std::string& winText, const std::string& lostText) const
{
    Prepared win;
    Prepared lost;
    if (auto e = prepare(m_fs, winPath(), winText, win))
        return e;
    if (auto e = prepare(m_fs, lostPath(), lostText, lost)) {
        m_fs.removeQuietly(win.temp);
        return e;
    }
    if (auto e = commit(m_fs, win)) {
        m_fs.removeQuietly(lost.temp);
        return e;
    }
    return commit(m_fs, lost);
}

void RuleFiles::RemoveLeftoverSaves() const
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(PathFromUtf8(m_folder), ec)) {
        const std::string name = Utf8FromPath(entry.path().filename());
        for (const char* rule : { WinFileName, LostFileName }) {
            const std::string prefix = std::string(rule) + SavingSuffix;
            // Only the names the saves make: the prefix and six characters.
            if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0
                && entry.is_regular_file(ec))
                m_fs.removeQuietly(Utf8FromPath(entry.path()));
        }
    }
}

} // namespace zelmar
