#pragma once
// The rule editor: the raw text of the two rule files in two boxes, and a
// button that saves both. The dialog neither checks nor parses what is typed;
// the text becomes the rules in use only when the main window reloads them.
//
// The loss box shows one rule line per line; in the file the lines are
// separated by CR LF, both when the box is filled and when it is saved. A box
// left unedited saves its file's bytes as they were read, a byte-order mark
// or a lone line end included.

#include "calculator/Calculator.h"

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
    frmSetting(const Calculator& calculator, QWidget* parent = nullptr);

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
    SaveError save() const;

    const Calculator& m_calculator;
    // What a file held when the dialog opened, and what its box showed of
    // it. A file that could not be read has no bytes; it is written only
    // once its box was edited, so that it is not replaced by the empty box.
    struct Loaded {
        std::optional<std::string> bytes;
        QString shown;
    };
    static std::optional<std::string> toSave(
        const Loaded& loaded, const QString& shown, bool edited, const QString& text);

    Loaded m_win;
    Loaded m_lost;

    QLineEdit* txtWin = nullptr;
    QPlainTextEdit* txtLost = nullptr;
    QPushButton* cmdSave = nullptr;
};

} // namespace zelmar
