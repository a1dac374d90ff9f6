#pragma once
// The about dialog: who owns the program, with a link to the maker's forum.

#include "ui/InfoDialog.h"

namespace zelmar {

class frmAbout : public InfoDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

private slots:
    void Label7_Click();
};

} // namespace zelmar
