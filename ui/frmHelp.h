#pragma once
// The help dialog: where on the maker's forum the instructions are.

#include "ui/InfoDialog.h"

namespace zelmar {

class frmHelp : public InfoDialog {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

private slots:
    void Label9_Click();
};

} // namespace zelmar
