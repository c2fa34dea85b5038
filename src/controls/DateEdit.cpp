#include "DateEdit.h"

#include "Clock.h"
#include "DateCommands.h"
#include "FieldColors.h"
#include "FrmCalendar.h"
#include "ModalRunner.h"
#include "MsgBox.h"
#include "ToolBox.h"
#include "TypedChar.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
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

TDateEdit::TDateEdit(QWidget *parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Digits only, "/" fixed, a space in every position not typed yet.
    setInputMask(QStringLiteral("99/99/9999; "));
    setMaxLength(10);
    resize(75, 21);
    SetText(kBlankDate);
    FDefaultColor = BackgroundColor(*this);
    connect(this, &QLineEdit::textChanged, this, &TDateEdit::Change);
}

TDateEdit::~TDateEdit() = default;

QString TDateEdit::Text() const {
    return displayText();
}

void TDateEdit::SetText(const QString &text) {
    setText(text);
}

void TDateEdit::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    if (FFocus.Enters())
        DoEnter();
}

void TDateEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    if (FFocus.Leaves(*event))
        DoExit();
}

void TDateEdit::DoEnter() {
    emit Entered();
    FDefaultColor = BackgroundColor(*this);
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

void TDateEdit::keyPressEvent(QKeyEvent *event) {
    const std::optional<QChar> typed = TypedChar(*event);
    if (!typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar key = *typed;
    KeyPress(key);
    // The mask takes digits only; control characters (backspace, clipboard keys) go on to it too.
    if (key.isNull() || (key.isPrint() && !IsDigit(key))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDateEdit::mouseDoubleClickEvent(QMouseEvent *event) {
    QLineEdit::mouseDoubleClickEvent(event);
    emit DoubleClicked();
    QChar key(u'C');
    KeyPress(key);
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
