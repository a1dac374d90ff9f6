#include "ui/frmMain.h"

#include "engine/ColumnChars.h"
#include "ui/EnterClicks.h"
#include "ui/FileNames.h"
#include "ui/FilledShape.h"
#include "ui/HomePage.h"
#include "ui/MessageBoxes.h"
#include "ui/PlacedLabel.h"
#include "ui/RuleGridView.h"
#include "ui/SequenceGridModel.h"
#include "ui/Twips.h"
#include "ui/UiFont.h"
#include "ui/frmAbout.h"
#include "ui/frmHelp.h"
#include "ui/frmSetting.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>

namespace zelmar {

namespace {

constexpr int ClientWidth = 13545; // twips
constexpr int ClientHeight = 7920;
constexpr qreal ButtonPoints = 15.75;
constexpr qreal BoxPoints = 15.75;
constexpr qreal CellPoints = 15;
constexpr qreal MenuPoints = 10.5;

QPushButton* button(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setFont(songFont(ButtonPoints));
    b->setAutoDefault(false);
    clickOnEnter(b);
    return b;
}

void label(QWidget* parent, const char* name, const char* text, QRect geometry, qreal points)
{
    placeLabel(new QLabel(QString::fromUtf8(text), parent), name, geometry, songFont(points, true));
}

QLineEdit* textBox(QWidget* parent, const char* name, QRect geometry)
{
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setGeometry(geometry);
    t->setFont(songFont(BoxPoints));
    return t;
}

QTableView* grid(QWidget* parent, const char* name, QRect geometry, SequenceGridModel* model)
{
    QTableView* view = makeRuleGridView(parent, model);
    view->setObjectName(QLatin1String(name));
    view->setGeometry(geometry);
    return view;
}

} // namespace

frmMain::frmMain(const QString& ruleFolder, QWidget* parent)
    : frmMain(coreFileName(ruleFolder), {}, parent)
{
}

frmMain::frmMain(const std::string& ruleFolder, std::vector<std::string> folderReports, QWidget* parent)
    : QMainWindow(parent)
    , m_folderReports(std::move(folderReports))
    , m_calculator(ruleFolder, *this)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(AppTitle));
    setWindowIcon(QIcon(QStringLiteral(":/zelmar/zelmar.png")));
    buildControls();
    buildMenus();
    resize(px(ClientWidth), px(ClientHeight) + menuBar()->sizeHint().height());
    if (const QScreen* s = screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), s->availableGeometry()));
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    // Controls are placed at fixed spots and stay there when the window is
    // resized. Created back to front: the window's own background, the panel
    // behind the totals and grids, the band behind the totals, the labels,
    // and on top the controls that take input.
    auto* client = new FilledShape(QColor(193, 234, 253), std::nullopt, this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    auto* shape2 = new FilledShape(QColor(176, 211, 240), QColor(192, 192, 192), client);
    shape2->setObjectName(QStringLiteral("Shape2"));
    shape2->setGeometry(twipsRect(3000, 0, 10575, 7935));
    auto* shape1 = new FilledShape(QColor(255, 192, 255), palette().color(QPalette::WindowText), client);
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setGeometry(twipsRect(3600, 480, 9735, 975));

    label(client, "Label1", "下注码数：", twipsRect(4080, 840, 1575, 300), 15);
    label(client, "Label2", "当前战果：", twipsRect(8160, 840, 1575, 300), 15);
    label(client, "Label3", "赢：", twipsRect(3720, 1920, 600, 285), 14.25);
    label(client, "Label4", "输：", twipsRect(3720, 3360, 600, 285), 14.25);

    txtStake = textBox(client, "txtStake", twipsRect(5640, 720, 2175, 435));
    QPalette red = txtStake->palette();
    red.setColor(QPalette::Text, QColor(255, 0, 0));
    txtStake->setPalette(red);
    txtScore = textBox(client, "txtScore", twipsRect(9720, 720, 2295, 435));

    m_winModel = new SequenceGridModel(m_calculator.Grids().win(), songFont(CellPoints), this);
    m_lostModel = new SequenceGridModel(m_calculator.Grids().lost(), songFont(CellPoints), this);
    grdWin = grid(client, "grdWin", twipsRect(3600, 2280, 9735, 735), m_winModel);
    grdLost = grid(client, "grdLost", twipsRect(3600, 3720, 9735, 3975), m_lostModel);

    cmdWin = button(client, "cmdWin", "赢", twipsRect(720, 960, 1455, 975));
    cmdLost = button(client, "cmdLost", "输", twipsRect(720, 2220, 1455, 975));
    cmdBack = button(client, "cmdBack", "后退", twipsRect(720, 3480, 1455, 975));
    cmdReset = button(client, "cmdReset", "重来", twipsRect(720, 4740, 1455, 975));
    cmdSetting = button(client, "cmdSetting", "规则设定", twipsRect(720, 6000, 1455, 975));
    connect(cmdWin, &QPushButton::clicked, this, &frmMain::cmdWin_Click);
    connect(cmdLost, &QPushButton::clicked, this, &frmMain::cmdLost_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmMain::cmdBack_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmMain::cmdReset_Click);
    connect(cmdSetting, &QPushButton::clicked, this, &frmMain::cmdSetting_Click);

    QWidget* const tabOrder[]
        = { cmdWin, cmdLost, cmdSetting, txtStake, txtScore, cmdReset, grdLost, grdWin, cmdBack };
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    cmdWin->setFocus();
}

void frmMain::buildMenus()
{
    menuBar()->setFont(songFont(MenuPoints));
    QMenu* mnuAbout = menuBar()->addMenu(QStringLiteral("关于"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    mnuAbout->setFont(songFont(MenuPoints));
    QAction* mnuVersion = mnuAbout->addAction(QStringLiteral("版权说明"), this, &frmMain::mnuVersion_Click);
    mnuVersion->setObjectName(QStringLiteral("mnuVersion"));

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("帮助"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->setFont(songFont(MenuPoints));
    QAction* mnuOper = mnuHelp->addAction(QStringLiteral("软件操作说明"), this, &frmMain::mnuOper_Click);
    mnuOper->setObjectName(QStringLiteral("mnuOper"));
    QAction* mnuGetNew = mnuHelp->addAction(QStringLiteral("获取最新版本"), this, &frmMain::mnuGetNew_Click);
    mnuGetNew->setObjectName(QStringLiteral("mnuGetNew"));
}

// The load step, before the window is first shown. Nothing is marked yet.
void frmMain::Form_Load()
{
    for (const std::string& report : m_folderReports)
        reportFailure(report);
    m_calculator.StartUp();
}

void frmMain::play(Event event)
{
    m_calculator.Play(event);
    const RoundRecord& r = m_calculator.Record();
    if (r.direction != Direction::Loss)
        showCell(*grdWin, 0, r.curCol);
    if (r.direction != Direction::Win)
        showCell(*grdLost, r.curRow, r.curCol);
}

void frmMain::showTotals(i16 score, i16 stake)
{
    txtScore->setText(QString::fromStdString(decimal(score)));
    txtStake->setText(QString::fromStdString(decimal(stake)));
}

void frmMain::cellsChanged(const std::vector<SequenceGrids::Changed>& cells)
{
    for (const SequenceGrids::Changed& cell : cells) {
        SequenceGridModel* model = cell.grid == Direction::Win ? m_winModel : m_lostModel;
        if (cell.row == SequenceGrids::AllCells)
            model->allCellsChanged();
        else
            model->cellChanged(cell.row, cell.col);
    }
}

void frmMain::beginFill()
{
    m_winModel->beginFill();
    m_lostModel->beginFill();
}

void frmMain::endFill(const WinSeqPtr& winSeq, const LostTablePtr& lostTable)
{
    m_winModel->endFill();
    m_lostModel->endFill();
    // A table that was never filled shows no values and needs no room.
    if (winSeq)
        fitColumns(*grdWin, widestChars(*winSeq));
    if (lostTable)
        fitColumns(*grdLost, widestChars(*lostTable));
}

void frmMain::notice(const std::string& text)
{
    showNotice(this, QString::fromStdString(text));
}

void frmMain::reportFailure(const std::string& text)
{
    showNotice(this, QString::fromStdString(text));
}

// The editor saves by itself; whatever happened there, the user decides
// whether the rules on disk become the rules in use.
void frmMain::cmdSetting_Click()
{
    frmSetting(m_calculator, this).exec();
    if (askYesNo(this, QStringLiteral("规则已经重新设定，是否重新加载"), QStringLiteral("重新加载规则？")))
        play(Event::Reload);
}

void frmMain::mnuOper_Click()
{
    frmHelp(this).exec();
}

void frmMain::mnuVersion_Click()
{
    frmAbout(this).exec();
}

void frmMain::mnuGetNew_Click()
{
    OpenHomePage(this);
}

} // namespace zelmar
