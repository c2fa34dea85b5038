#pragma once

#include <QLineEdit>

#include <functional>

namespace fiscora {

// A page number the user types: Enter goes to that page, a number past either end going to that
// end; anything but a whole number is refused with a message. Esc puts the page shown back.
class TPageNumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TPageNumberEdit(QWidget *parent = nullptr);

    // The page shown and the page count, shown again whenever the typing is refused or cancelled.
    void ShowPage(int page, int pages);

    // Asked to show the page typed, already within 1 .. the page count.
    std::function<void(int page)> OnPageChosen;
    // The typing ended (page chosen or cancelled): the keys may go back to the page.
    std::function<void()> OnDone;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void Choose();
    void Restore();

    int FPage = 0;
    int FPages = 0;
    bool FSelectOnRelease = false;
};

} // namespace fiscora
