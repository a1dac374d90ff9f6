#pragma once
// The blue, not underlined label that carries the maker's web address in the
// help and about dialogs. A left click on it is reported as clicked().

#include <QLabel>

namespace zelmar {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace zelmar
