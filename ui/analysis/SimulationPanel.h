#pragma once
// The simulation panel: the game, how much to play (single rounds, or
// sessions of an evening at the table), the bankroll, the seed, a second
// rule folder "B" for a comparison, whether the figures are sampled, worked
// out exactly or both, and the 开始 and 停止 buttons. It reads
// and writes a RunRequest and keeps the last choices in the settings.

#include "ui/analysis/RunRequest.h"

#include <QGroupBox>

#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSettings;
class QSpinBox;

namespace zelmar {

class SimulationPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SimulationPanel(QWidget* parent = nullptr);

    // The request the controls show; nullopt, with the reason, when a field
    // holds what cannot be played. An empty seed is filled with a new one.
    std::optional<RunRequest> request(QString& problem);
    void setRequest(const RunRequest& request);
    void load(const QSettings& settings);
    void save(QSettings& settings) const;
    // While a run goes on only 停止 is enabled; without rules not even 开始.
    void setRunning(bool running);
    void setRulesReady(bool ready);
    // The rule folder of B, as choosing it in 选择 B… sets it.
    void setFolderB(const QString& folder);

    QPushButton* startButton() const { return m_start; }
    QPushButton* stopButton() const { return m_stop; }

signals:
    void startClicked();
    void stopClicked();

private:
    void chooseFolderB();
    void updateEnabled();

    QComboBox* m_method;
    QComboBox* m_game;
    QDoubleSpinBox* m_winChance;
    QRadioButton* m_byRounds;
    QRadioButton* m_bySessions;
    QSpinBox* m_rounds;
    QSpinBox* m_bankroll;
    QSpinBox* m_sessions;
    QSpinBox* m_sessionRounds;
    QSpinBox* m_stopWin;
    QSpinBox* m_stopLoss;
    QLineEdit* m_seed;
    QPushButton* m_newSeed;
    QCheckBox* m_compare;
    QPushButton* m_chooseB;
    QLabel* m_folderB;
    QString m_folderBPath; // as chosen, with the system's separators
    QPushButton* m_start;
    QPushButton* m_stop;
    bool m_running = false;
    bool m_rulesReady = false;
};

} // namespace zelmar
