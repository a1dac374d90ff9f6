#pragma once
// The frame the help and about dialogs share: a fixed dialog, centred over
// the main window, with a title bar that asks for a close box only and shows
// no icon; the close box is the only way out (Esc does nothing). Inside, a
// line or two of labels in 10.5 pt, one of them the blue link to the maker's
// web site.

#include <QDialog>

#include <initializer_list>

namespace zelmar {

class LinkLabel;

class InfoDialog : public QDialog {
    Q_OBJECT
protected:
    // Client size in twips.
    InfoDialog(const char* name, const char* title, int width, int height, QWidget* parent);

    // A label at its place in twips, with the text it was laid out for.
    struct Item {
        const char* name;
        QString text;
        int left, top, width, height;
        bool link = false;
    };
    // Returns the link label.
    LinkLabel* place(std::initializer_list<Item> items);

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QSize m_client;
};

} // namespace zelmar
