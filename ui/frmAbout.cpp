#include "ui/frmAbout.h"

#include "ui/HomePage.h"
#include "ui/LinkLabel.h"

namespace zelmar {

frmAbout::frmAbout(QWidget* parent)
    : InfoDialog("frmAbout", "关于", 7005, 1680, parent)
{
    LinkLabel* link = place({
        { "Label5", QStringLiteral("版权归Quorin策略论坛（"), 1080, 480, 2310, 210 },
        { "Label7", QString::fromLatin1(HomePageHost), 3480, 480, 1785, 210, true },
        { "Label6", QStringLiteral("）所有"), 5280, 480, 630, 420 },
        { "Label1", QStringLiteral("欢迎转载，请注明出处"), 2280, 840, 2100, 420 },
    });
    connect(link, &LinkLabel::clicked, this, &frmAbout::Label7_Click);
}

void frmAbout::Label7_Click()
{
    OpenHomePage(this);
}

} // namespace zelmar
