#pragma once
// The two rule files, winText.txt and lostText.txt, in one folder (the
// program's own). Reading creates a missing file empty. Saving writes a new
// file beside the old one and moves it over it, so a file is never left
// deleted or half-written, and a read-only file is still replaced.

#include "rules/FileService.h"

#include <optional>
#include <string>

namespace zelmar {

inline constexpr const char* WinFileName = "winText.txt";
inline constexpr const char* LostFileName = "lostText.txt";

struct ReadResult {
    std::string text;
    std::optional<std::string> error; // set when the file could not be read or created
};

// The reason for an errno value, in Chinese where it is a common one, with
// the system's own words after it.
std::string ErrorReason(int error);

// nullopt on success, else a report naming the file and the reason.
using SaveError = std::optional<std::string>;

class RuleFiles {
public:
    explicit RuleFiles(std::string folder, FileService& fs = defaultFileService());

    const std::string& folder() const { return m_folder; }
    std::string winPath() const;
    std::string lostPath() const;

    ReadResult ReadWinText() const;
    ReadResult ReadLostText() const;
    void ReadRuleTexts(ReadResult& win, ReadResult& lost) const;

    [[nodiscard]] SaveError SaveWinText(const std::string& text) const;
    [[nodiscard]] SaveError SaveLostText(const std::string& text) const;
    // Both files: each new text is written in full before either is moved in,
    // so a failure up to then leaves both files as they were.
    [[nodiscard]] SaveError SaveRuleTexts(const std::string& winText, const std::string& lostText) const;

    // A save that was cut off (the program killed, the machine down) leaves
    // its new file beside the rule file; the rule file itself is whole.
    // Removes such leftovers; called once when the program starts.
    void RemoveLeftoverSaves() const;

private:
    ReadResult read(const std::string& path) const;
    SaveError save(const std::string& path, const std::string& text) const;

    std::string m_folder;
    FileService& m_fs;
};

} // namespace zelmar
