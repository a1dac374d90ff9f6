#pragma once
// A filled rectangle with an optional one-pixel border, drawn behind the
// controls of the main window (the window's own background is one, too).

#include <QColor>
#include <QWidget>

#include <optional>

namespace zelmar {

class FilledShape : public QWidget {
    Q_OBJECT
public:
    FilledShape(QColor fill, std::optional<QColor> border, QWidget* parent = nullptr);

    QColor fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    std::optional<QColor> m_border;
};

} // namespace zelmar
