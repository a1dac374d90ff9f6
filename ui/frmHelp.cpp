#include "ui/frmHelp.h"

#include "ui/HomePage.h"
#include "ui/LinkLabel.h"

namespace zelmar {

frmHelp::frmHelp(QWidget* parent)
    : InfoDialog("frmHelp", "帮助", 6855, 1110, parent)
{
    // One line: go to the forum, at this address, and look in its baccarat section.
    LinkLabel* link = place({
        { "Label8", QStringLiteral("请到Quorin策略论坛"), 480, 480, 1680, 210 },
        { "Label9", QString::fromLatin1(HomePageHost), 2280, 480, 1785, 210, true },
        { "Label1", QStringLiteral("百家乐专区进行查看"), 4200, 480, 1890, 420 },
    });
    connect(link, &LinkLabel::clicked, this, &frmHelp::Label9_Click);
}

void frmHelp::Label9_Click()
{
    OpenHomePage(this);
}

} // namespace zelmar
