#include "output/screen/PageNumberEdit.h"

#include "MsgBox.h"

#include <QKeyEvent>

#include <algorithm>
#include <optional>

namespace fiscora {

namespace {

// The page meant by `text` among `pages` pages, or none when it is not a whole number.
std::optional<int> ParsePage(const QString &text, int pages) {
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok);
    if (!ok || pages < 1)
        return std::nullopt;
    return int(std::clamp<qlonglong>(number, 1, pages));
}

} // namespace

TPageNumberEdit::TPageNumberEdit(QWidget *parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("PageEdit"));
    setToolTip(QStringLiteral("Type a page number and press Enter"));
    setAlignment(Qt::AlignRight);
    setMaxLength(9);
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
}

void TPageNumberEdit::ShowPage(int page, int pages) {
    FPage = page;
    FPages = pages;
    setText(page > 0 ? QString::number(page) : QString());
}

void TPageNumberEdit::Choose() {
    if (text().trimmed().isEmpty()) {
        Restore();
        return;
    }
    const std::optional<int> page = ParsePage(text(), FPages);
    if (!page) {
        // The typed text stays, selected, to be typed over.
        selectAll();
        ShowMsgBox("The page number must be a whole number from 1 to " + std::to_string(FPages) + ".",
                   ApplicationTitle(), kMsgIconWarning);
        return;
    }
    if (OnPageChosen)
        OnPageChosen(*page);
    // The page shown may differ from the one typed ("99" of 5 shows 5).
    setText(QString::number(FPage));
    if (OnDone)
        OnDone();
}

void TPageNumberEdit::Restore() {
    ShowPage(FPage, FPages);
    if (OnDone)
        OnDone();
}

void TPageNumberEdit::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Choose();
        event->accept();
        return;
    case Qt::Key_Escape:
        Restore();
        event->accept();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void TPageNumberEdit::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    // A click into the field selects the number, to be typed over; the click itself would place
    // the cursor, so the selection follows on its release.
    FSelectOnRelease = event->reason() == Qt::MouseFocusReason;
}

void TPageNumberEdit::mouseReleaseEvent(QMouseEvent *event) {
    QLineEdit::mouseReleaseEvent(event);
    if (FSelectOnRelease)
        selectAll();
    FSelectOnRelease = false;
}

void TPageNumberEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    // Typing left unfinished is dropped when the focus moves elsewhere in the window; another
    // window taking it (the refusal's message) leaves the typing there to be corrected.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        ShowPage(FPage, FPages);
}

} // namespace fiscora
