#include "ui/analysis/SimulationPanel.h"

#include "ui/FileNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QSpinBox>

#include <algorithm>

namespace zelmar {

namespace {

QSpinBox* spinBox(
    QWidget* parent, const char* name, int min, int max, const char* suffix, const char* none = nullptr)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(min, max);
    box->setGroupSeparatorShown(true);
    box->setSuffix(QString::fromUtf8(suffix));
    if (none)
        box->setSpecialValueText(QString::fromUtf8(none)); // shown at the minimum, 0
    return box;
}

QLabel* label(QWidget* parent, const char* text, QWidget* buddy)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

SimulationPanel::SimulationPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("模拟"), parent)
{
    setObjectName("grpSimulation");
    m_game = new QComboBox(this);
    m_game->setObjectName("cboGame");
    m_game->addItem(
        QStringLiteral("百家乐，押庄（庄赢抽佣 5%）"), static_cast<int>(GameChoice::BankerBaccarat));
    m_game->addItem(QStringLiteral("百家乐，押闲"), static_cast<int>(GameChoice::PlayerBaccarat));
    m_game->addItem(QStringLiteral("独立的手，按赢的机会"), static_cast<int>(GameChoice::WinChance));
    m_game->setToolTip(
        QStringLiteral("百家乐从 8 副牌的牌靴发牌，切牌在倒数第 14 张；独立的手没有和局，也没有佣金"));
    m_winChance = new QDoubleSpinBox(this);
    m_winChance->setObjectName("spnWinChance");
    m_winChance->setRange(0, 100);
    m_winChance->setDecimals(2);
    m_winChance->setSuffix(QStringLiteral(" %"));
    m_winChance->setValue(50);

    m_byRounds = new QRadioButton(QStringLiteral("一局一局地玩"), this);
    m_byRounds->setObjectName("optRounds");
    m_byRounds->setChecked(true);
    m_bySessions = new QRadioButton(QStringLiteral("按场：一晚上连着玩"), this);
    m_bySessions->setObjectName("optSessions");
    m_rounds = spinBox(this, "spnRounds", 1, 200'000'000, " 局");
    m_rounds->setValue(100000);
    m_bankroll = spinBox(this, "spnBankroll", 0, 100'000'000, " 单位", "不设");
    m_bankroll->setToolTip(QStringLiteral("每局（或每场）带着这么多本钱：下不起的那一手就停下"));
    m_sessions = spinBox(this, "spnSessions", 1, 10'000'000, " 场");
    m_sessions->setValue(1000);
    m_sessionRounds = spinBox(this, "spnSessionRounds", 1, 1'000'000, " 局");
    m_sessionRounds->setValue(100);
    m_stopWin = spinBox(this, "spnStopWin", 0, 100'000'000, " 单位", "不设");
    m_stopLoss = spinBox(this, "spnStopLoss", 0, 100'000'000, " 单位", "不设");

    m_method = new QComboBox(this);
    m_method->setObjectName("cboMethod");
    m_method->addItem(QStringLiteral("模拟"), static_cast<int>(Method::Simulate));
    m_method->addItem(QStringLiteral("精确"), static_cast<int>(Method::Exact));
    m_method->addItem(QStringLiteral("精确和模拟"), static_cast<int>(Method::Both));
    m_method->setToolTip(QStringLiteral("模拟：抽样玩很多局，数字带标准误差；精确：不抽样，把每一手"
                                        "当作相互独立，算出准确的机会；两者都做时，表格列出模拟与精确差几个"
                                        "标准误差"));
    m_seed = new QLineEdit(this);
    m_seed->setObjectName("txtSeed");
    m_seed->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,20}"), m_seed));
    m_seed->setPlaceholderText(QStringLiteral("开始时新取一个"));
    m_seed->setToolTip(QStringLiteral("同样的种子、规则和选择，得到同样的结果"));
    m_newSeed = new QPushButton(QStringLiteral("换一个"), this);
    m_newSeed->setObjectName("cmdNewSeed");

    m_compare = new QCheckBox(QStringLiteral("与 B 在同样的手上对比"), this);
    m_compare->setObjectName("chkCompare");
    m_chooseB = new QPushButton(QStringLiteral("选择 B…"), this);
    m_chooseB->setObjectName("cmdChooseB");
    m_folderB = new QLabel(QStringLiteral("B：未选择"), this);
    m_folderB->setObjectName("lblFolderB");
    m_folderB->setTextFormat(Qt::PlainText);
    m_folderB->setMinimumWidth(40);

    m_start = new QPushButton(QStringLiteral("开始"), this);
    m_start->setObjectName("cmdStart");
    m_start->setShortcut(QKeySequence(Qt::Key_F5));
    m_start->setToolTip(QStringLiteral("开始模拟（F5）"));
    m_stop = new QPushButton(QStringLiteral("停止"), this);
    m_stop->setObjectName("cmdStop");
    m_stop->setShortcut(QKeySequence(Qt::Key_Escape));
    m_stop->setToolTip(QStringLiteral("停止模拟，保留已经玩完的局的结果（Esc）"));

    auto* grid = new QGridLayout(this);
    int row = 0;
    grid->addWidget(label(this, "玩法", m_game), row, 0);
    grid->addWidget(m_game, row++, 1, 1, 3);
    grid->addWidget(label(this, "赢的机会", m_winChance), row, 0);
    grid->addWidget(m_winChance, row, 1);
    grid->addWidget(label(this, "本钱", m_bankroll), row, 2);
    grid->addWidget(m_bankroll, row++, 3);
    grid->addWidget(m_byRounds, row, 0, 1, 2);
    grid->addWidget(label(this, "局数", m_rounds), row, 2);
    grid->addWidget(m_rounds, row++, 3);
    grid->addWidget(m_bySessions, row, 0, 1, 2);
    grid->addWidget(label(this, "场数", m_sessions), row, 2);
    grid->addWidget(m_sessions, row++, 3);
    grid->addWidget(label(this, "每场局数", m_sessionRounds), row, 0);
    grid->addWidget(m_sessionRounds, row, 1);
    grid->addWidget(label(this, "止赢", m_stopWin), row, 2);
    grid->addWidget(m_stopWin, row++, 3);
    grid->addWidget(label(this, "方法", m_method), row, 0);
    grid->addWidget(m_method, row, 1);
    grid->addWidget(label(this, "止损", m_stopLoss), row, 2);
    grid->addWidget(m_stopLoss, row++, 3);
    grid->addWidget(label(this, "种子", m_seed), row, 0);
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(m_seed, 1);
    seedRow->addWidget(m_newSeed);
    grid->addLayout(seedRow, row++, 1, 1, 3);
    grid->addWidget(m_compare, row, 0, 1, 3);
    grid->addWidget(m_chooseB, row++, 3);
    grid->addWidget(m_folderB, row++, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    grid->addLayout(buttons, row++, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    connect(m_game, &QComboBox::currentIndexChanged, this, &SimulationPanel::updateEnabled);
    connect(m_method, &QComboBox::currentIndexChanged, this, &SimulationPanel::updateEnabled);
    connect(m_byRounds, &QRadioButton::toggled, this, &SimulationPanel::updateEnabled);
    connect(m_compare, &QCheckBox::toggled, this, &SimulationPanel::updateEnabled);
    connect(m_newSeed, &QPushButton::clicked, this,
        [this] { m_seed->setText(QString::number(QRandomGenerator::system()->generate64())); });
    connect(m_chooseB, &QPushButton::clicked, this, &SimulationPanel::chooseFolderB);
    connect(m_start, &QPushButton::clicked, this, &SimulationPanel::startClicked);
    connect(m_stop, &QPushButton::clicked, this, &SimulationPanel::stopClicked);
    updateEnabled();
}

void SimulationPanel::updateEnabled()
{
    const bool idle = !m_running;
    const auto game = static_cast<GameChoice>(m_game->currentData().toInt());
    const auto method = static_cast<Method>(m_method->currentData().toInt());
    const bool samples = method != Method::Exact;
    m_method->setEnabled(idle);
    m_game->setEnabled(idle);
    m_winChance->setEnabled(idle && game == GameChoice::WinChance);
    m_byRounds->setEnabled(idle);
    m_bySessions->setEnabled(idle);
    const bool sessions = m_bySessions->isChecked();
    m_rounds->setEnabled(idle && !sessions && samples);
    m_bankroll->setEnabled(idle);
    m_sessions->setEnabled(idle && sessions && samples);
    for (QWidget* w : std::initializer_list<QWidget*> { m_sessionRounds, m_stopWin, m_stopLoss })
        w->setEnabled(idle && sessions);
    m_seed->setEnabled(idle && samples);
    m_newSeed->setEnabled(idle && samples);
    m_compare->setEnabled(idle && samples);
    m_chooseB->setEnabled(idle && samples && m_compare->isChecked());
    m_folderB->setEnabled(samples && m_compare->isChecked());
    m_start->setEnabled(idle && m_rulesReady);
    m_stop->setEnabled(m_running);
}

void SimulationPanel::setRunning(bool running)
{
    m_running = running;
    updateEnabled();
}

void SimulationPanel::setRulesReady(bool ready)
{
    m_rulesReady = ready;
    updateEnabled();
}

void SimulationPanel::chooseFolderB()
{
    const QString folder
        = QFileDialog::getExistingDirectory(this, QStringLiteral("选择 B 的规则文件夹"), m_folderBPath);
    if (!folder.isEmpty())
        setFolderB(folder);
}

void SimulationPanel::setFolderB(const QString& folder)
{
    m_folderBPath = folder;
    m_folderB->setText(QStringLiteral("B：") + QDir::toNativeSeparators(folder));
}

std::optional<RunRequest> SimulationPanel::request(QString& problem)
{
    RunRequest r;
    r.method = static_cast<Method>(m_method->currentData().toInt());
    r.game = static_cast<GameChoice>(m_game->currentData().toInt());
    r.winChance = m_winChance->value() / 100;
    r.rounds = m_rounds->value();
    r.bankroll = m_bankroll->value();
    if (m_bySessions->isChecked()) {
        r.sessions = m_sessions->value();
        r.sessionRounds = m_sessionRounds->value();
        r.stopWin = m_stopWin->value();
        r.stopLoss = m_stopLoss->value();
    }
    if (m_compare->isChecked() && r.simulates()) {
        r.folderB = coreFileName(m_folderBPath);
        if (r.folderB.empty()) {
            problem = QStringLiteral("请先选择 B 的规则文件夹");
            return std::nullopt;
        }
        if (r.sessions > 0) {
            problem = QStringLiteral("与 B 对比只能一局一局地玩，不能按场");
            return std::nullopt;
        }
    }
    if (m_seed->text().isEmpty())
        m_seed->setText(QString::number(QRandomGenerator::system()->generate64()));
    bool ok = false;
    r.seed = m_seed->text().toULongLong(&ok);
    if (!ok) {
        problem = QStringLiteral("种子需要 0 到 18446744073709551615 之间的整数");
        return std::nullopt;
    }
    return r;
}

void SimulationPanel::setRequest(const RunRequest& r)
{
    m_method->setCurrentIndex(std::max(0, m_method->findData(static_cast<int>(r.method))));
    m_game->setCurrentIndex(std::max(0, m_game->findData(static_cast<int>(r.game))));
    m_winChance->setValue(r.winChance * 100);
    m_rounds->setValue(static_cast<int>(r.rounds));
    m_bankroll->setValue(static_cast<int>(r.bankroll));
    (r.sessions > 0 ? m_bySessions : m_byRounds)->setChecked(true);
    if (r.sessions > 0)
        m_sessions->setValue(static_cast<int>(r.sessions));
    m_sessionRounds->setValue(static_cast<int>(r.sessionRounds));
    m_stopWin->setValue(static_cast<int>(r.stopWin));
    m_stopLoss->setValue(static_cast<int>(r.stopLoss));
    m_seed->setText(QString::number(r.seed));
    m_compare->setChecked(!r.folderB.empty());
    if (!r.folderB.empty())
        setFolderB(qtFileName(r.folderB));
    updateEnabled();
}

void SimulationPanel::load(const QSettings& s)
{
    RunRequest r;
    r.method = static_cast<Method>(std::clamp(s.value("run/method", 0).toInt(), 0, 2));
    r.game = static_cast<GameChoice>(std::clamp(s.value("run/game", 0).toInt(), 0, 2));
    r.winChance = std::clamp(s.value("run/winChance", 0.5).toDouble(), 0.0, 1.0);
    r.rounds = s.value("run/rounds", 100000).toInt();
    r.bankroll = s.value("run/bankroll", 0).toInt();
    r.sessions = s.value("run/bySessions", false).toBool() ? s.value("run/sessions", 1000).toInt() : 0;
    r.sessionRounds = s.value("run/sessionRounds", 100).toInt();
    r.stopWin = s.value("run/stopWin", 0).toInt();
    r.stopLoss = s.value("run/stopLoss", 0).toInt();
    r.folderB = coreFileName(s.value("run/folderB").toString());
    setRequest(r);
    m_sessions->setValue(s.value("run/sessions", 1000).toInt());
    // No seed saved: a new one is taken at the first start.
    m_seed->setText(s.value("run/seed").toString());
}

void SimulationPanel::save(QSettings& s) const
{
    s.setValue("run/method", m_method->currentData().toInt());
    s.setValue("run/game", m_game->currentData().toInt());
    s.setValue("run/winChance", m_winChance->value() / 100);
    s.setValue("run/rounds", m_rounds->value());
    s.setValue("run/bankroll", m_bankroll->value());
    s.setValue("run/bySessions", m_bySessions->isChecked());
    s.setValue("run/sessions", m_sessions->value());
    s.setValue("run/sessionRounds", m_sessionRounds->value());
    s.setValue("run/stopWin", m_stopWin->value());
    s.setValue("run/stopLoss", m_stopLoss->value());
    s.setValue("run/seed", m_seed->text());
    s.setValue("run/folderB", m_folderBPath);
}

} // namespace zelmar
