#pragma once

#include "ToolDialogField.h"

namespace fiscora {

class TFrmCalendar;

// Entry field for a date "mm/dd/yyyy". The text is always ten characters: digits where typed,
// spaces where not, "/" in positions 3 and 6; the blank date is "  /  /    " (kBlankDate).
// Read and write it with Text()/SetText(): QLineEdit::text() of the underlying input mask drops the
// blanks. Letters act on the date (T today, + and - a day, W/K week start/end, M/H month start/end,
// Y/R year start/end, C the calendar); a ten-character text that is no date is reported while
// typing and on leaving (the focus then stays). Alignment is QLineEdit's own (left by default).
class TDateEdit : public TToolDialogField {
    Q_OBJECT
public:
    static inline const QString kBlankDate = QStringLiteral("  /  /    ");

    explicit TDateEdit(QWidget *parent = nullptr);
    ~TDateEdit() override;

    // The ten-character date text.
    QString Text() const;
    void SetText(const QString &text);

    // Runs the calendar hand-off for "C" and "c".
    void KeyPress(QChar &key) override;

protected:
    // Exited comes before the text is checked, so a handler sees the text as typed.
    void DoEnter() override;
    void DoExit() override;
    // The mask takes digits only; control characters (backspace, clipboard keys) go on to it.
    bool IsRefusedByEditBox(QChar key) const override;
    void Change();

private:
    void OpenCalendar();
    void ShowNotValid();

    TFrmCalendar *FCalendar = nullptr; // set only while the calendar is open
};

} // namespace fiscora
