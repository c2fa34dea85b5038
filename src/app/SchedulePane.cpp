#include "SchedulePane.h"
#include "Utf8Text.h"

#include "ApplicationFont.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>

namespace fiscora {

namespace {

QTextCharFormat CharFormatOf(const ScheduleFormat &format) {
    QTextCharFormat result;
    result.setFontFamilies(FaceFamilies(QString::fromStdString(format.fontName)));
    result.setFontPointSize(format.pointSize);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    // Whole-pixel advances, as the columns' tab rule expects: "$104.32" in Courier New 8 needs 49 pixels
    // and passes the tab stop at 144, so one tab reaches the accumulated column. With fractional
    // advances (6.4 pixels) every amount from $100.01 to $999.99 would stop short of that stop and
    // its accumulated amount would land a column to the left; only exactly $100.00, as wide as
    // $100.01 but given two tabs, cannot line up either way.
    result.setFontHintingPreference(QFont::PreferFullHinting);
    return result;
}

} // namespace

SchedulePane::SchedulePane(TFoParams &parameters, QWidget *parent)
    : QTextEdit(parent), FParameters(parameters) {
    setReadOnly(true);
    setAcceptRichText(false);
    setTabChangesFocus(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(QFont(QStringLiteral("Arial"), 8));
    // Keep the selection visible when the pane is not focused.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    FLineFormat = CharFormatOf(ScheduleFormat{});
    // The default tab stops of the view: every half inch.
    setTabStopDistance(logicalDpiX() * 0.5);
}

// A new schedule starts: the rows of the one before go with its text, so that a shorter schedule
// never reports rows of a longer one.
bool SchedulePane::event(QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
        if (tab && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            event->accept();
            return true;
        }
    }
    return QTextEdit::event(event);
}

void SchedulePane::Clear() {
    clear();
    FEmpty = true;
    FParameters.ClearParams();
}

void SchedulePane::SetFormat(const ScheduleFormat &format) {
    FLineFormat = CharFormatOf(format);
}

void SchedulePane::AddLine(std::string_view line) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // The block's own format gives an empty line the height of the font in force.
    if (FEmpty)
        cursor.setBlockCharFormat(FLineFormat);
    else
        cursor.insertBlock(QTextBlockFormat(), FLineFormat);
    cursor.insertText(ToQString(line), FLineFormat);
    FEmpty = false;
}

void SchedulePane::SetParam(std::string_view name, std::string_view value) {
    FParameters.SetParam(ToQString(name), ToQString(value));
}

void SchedulePane::CaretToStart() {
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::Start);
    setTextCursor(cursor);
    ensureCursorVisible();
}

} // namespace fiscora
