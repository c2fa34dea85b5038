#pragma once

#include "FieldFocus.h"

#include <QColor>
#include <QLineEdit>

namespace fiscora {

class TFrmCalendar;

// Entry field for a date "mm/dd/yyyy". The text is always ten characters: digits where typed,
// spaces where not, "/" in positions 3 and 6; the blank date is "  /  /    " (kBlankDate).
// Read and write it with Text()/SetText(): QLineEdit::text() of the underlying input mask drops the
// blanks. Letters act on the date (T today, + and - a day, W/K week start/end, M/H month start/end,
// Y/R year start/end, C the calendar); a ten-character text that is no date is reported while
// typing and on leaving (the focus then stays). Alignment is QLineEdit's own (left by default).
class TDateEdit : public QLineEdit {
    Q_OBJECT
public:
    static inline const QString kBlankDate = QStringLiteral("  /  /    ");

    explicit TDateEdit(QWidget *parent = nullptr);
    ~TDateEdit() override;

    // The ten-character date text.
    QString Text() const;
    void SetText(const QString &text);

    // The typed-character path: `key` is the character about to reach the mask; a null character
    // on return means the key was discarded. Runs the calendar hand-off for "C" and "c".
    void KeyPress(QChar &key);

signals:
    // The field received the focus.
    void Entered();
    // The field lost the focus to another control of its window; emitted before the text is checked,
    // so a handler sees the text as typed.
    void Exited();
    // Double-click, before the calendar opens.
    void DoubleClicked();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

    void DoEnter();
    void DoExit();
    void Change();

private:
    void OpenCalendar();
    void ShowNotValid();

    QColor FDefaultColor;
    TFrmCalendar *FCalendar = nullptr; // set only while the calendar is open
    FieldFocus FFocus;
};

} // namespace fiscora
