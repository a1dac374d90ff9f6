#pragma once
// The rule editor: the raw text of the two rule files in two boxes, and a
// button that saves both. The dialog neither checks nor parses what is typed;
// the text becomes the rules in use only when the main window reloads them.
//
// The loss box shows one rule line per line; in the file the lines are
// separated by CR LF, both when the box is filled and when it is saved.

#include "rules/RuleFiles.h"

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zelmar {

class frmSetting : public QDialog {
    Q_OBJECT
public:
    frmSetting(const RuleFiles& files, QWidget* parent = nullptr);

    // The texts as they are (or would be) written to the two files.
    QString winText() const;
    QString lostText() const;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void cmdSave_Click();

private:
    void Form_Load();
    std::optional<std::string> save() const;

    const RuleFiles& m_files;
    // A file that could not be read is written only once its box was edited,
    // so that an unreadable file is not replaced by the empty box.
    bool m_winUnread = false;
    bool m_lostUnread = false;

    QLineEdit* txtWin = nullptr;
    QPlainTextEdit* txtLost = nullptr;
    QPushButton* cmdSave = nullptr;
};

} // namespace zelmar
