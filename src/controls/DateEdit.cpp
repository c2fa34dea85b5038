#include "DateEdit.h"

#include "Clock.h"
#include "DateCommands.h"
#include "FieldColors.h"
#include "FrmCalendar.h"
#include "ModalRunner.h"
#include "MsgBox.h"
#include "ToolBox.h"

#include <QScopedValueRollback>

#include <memory>

namespace fiscora {

namespace {

// Letters that put today's date into a blank field before they act.
bool StartsFromToday(QChar upperKey) {
    return QStringView(u"+-HKMRWY").contains(upperKey);
}

bool IsDigit(QChar key) {
    return key >= u'0' && key <= u'9';
}

} // namespace

TDateEdit::TDateEdit(QWidget *parent) : TToolDialogField(parent) {
    // Digits only, "/" fixed, a space in every position not typed yet.
    setInputMask(QStringLiteral("99/99/9999; "));
    setMaxLength(10);
    resize(75, 21);
    SetText(kBlankDate);
    connect(this, &QLineEdit::textChanged, this, &TDateEdit::Change);
}

TDateEdit::~TDateEdit() = default;

QString TDateEdit::Text() const {
    return displayText();
}

void TDateEdit::SetText(const QString &text) {
    setText(text);
}

void TDateEdit::DoEnter() {
    emit Entered();
    SaveDefaultColor();
    selectAll();
}

void TDateEdit::DoExit() {
    emit Exited();
    const QString text = Text();
    if (text != kBlankDate && !IsValidDateStr(text.toStdString()) && !IsFocusBeingReclaimed()) {
        ShowNotValid();
        ReclaimFocus(*this);
    }
}

void TDateEdit::Change() {
    const QString text = Text();
    if (text.trimmed().size() == 10 && !IsValidDateStr(text.toStdString()))
        ShowNotValid();
}

void TDateEdit::ShowNotValid() {
    ShowMsgBox(Text().toStdString() + " is not a valid date.", ApplicationTitle(), kMsgIconError);
}

bool TDateEdit::IsRefusedByEditBox(QChar key) const {
    return key.isPrint() && !IsDigit(key);
}

void TDateEdit::KeyPress(QChar &key) {
    // A read-only field is not changed by its letters either.
    if (isReadOnly())
        return;
    const QChar upper = key.toUpper();
    if (StartsFromToday(upper) && Text() == kBlankDate)
        SetText(QString::fromStdString(TodayDateStr()));
    if (upper == u'C') {
        OpenCalendar();
        key = QChar();
        return;
    }
    if (upper == u'T') {
        SetText(QString::fromStdString(TodayDateStr()));
        key = QChar();
        return;
    }
    if (const std::optional<std::string> moved = MovedDate(upper, Text().toStdString())) {
        SetText(QString::fromStdString(*moved));
        key = QChar();
    }
}

void TDateEdit::OpenCalendar() {
    const ToolDialogHighlight highlight(*this, FDefaultColor);
    const auto calendar = std::make_unique<TFrmCalendar>();
    const QScopedValueRollback<TFrmCalendar *> openCalendar(FCalendar, calendar.get());
    calendar->PutDate(Text());
    RunModal(*calendar);
    if (calendar->Paste) {
        SetText(calendar->GetDate());
        calendar->Paste = false;
    }
}

} // namespace fiscora
