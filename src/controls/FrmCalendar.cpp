#include "FrmCalendar.h"

#include "CaptionFit.h"
#include "Clock.h"
#include "FormKeyPreview.h"
#include "TitleBarFit.h"
#include "ToolBox.h"

#include <QCalendarWidget>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace fiscora {

namespace {

constexpr int kBorder = 8;
constexpr int kClientWidth = 201;
constexpr int kClientHeight = 176;
constexpr int kArrowSize = 21;
constexpr int kCaptionWidth = 158;
constexpr int kGridTop = 24;
constexpr int kGridWidth = 200;
constexpr int kGridHeight = 116;
constexpr int kButtonTop = 148;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 25;
constexpr int kDayNameMargin = 8;

const std::array<const char *, 12> kMonthNames = {"January, ",   "February, ", "March, ",    "April, ",
                                                  "May, ",       "June, ",     "July, ",     "August, ",
                                                  "September, ", "October, ",  "November, ", "December, "};

} // namespace

TFrmCalendar::TFrmCalendar(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("CALENDAR"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Wider than the layout where the title bar needs it for the caption; the layout stays centred.
    const int width = std::max(kClientWidth + 2 * kBorder, TitleBarMinimumWidth(windowTitle()));
    const int left = (width - kClientWidth) / 2;
    setFixedSize(width, kClientHeight + 2 * kBorder);

    Calendar = new QCalendarWidget(this);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setFirstDayOfWeek(Qt::Sunday);
    Calendar->setNavigationBarVisible(false);
    Calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    const QFont gridFont = FontFittingWidth(Calendar->font(), {QStringLiteral("Wed"), QStringLiteral("Mon")},
                                            kGridWidth / 7 - kDayNameMargin);
    if (gridFont != Calendar->font())
        Calendar->setFont(gridFont);
    Calendar->setGeometry(left, kBorder + kGridTop, kGridWidth, kGridHeight);

    BtnPrior = new QToolButton(this);
    BtnPrior->setObjectName(QStringLiteral("BtnPrior"));
    BtnPrior->setArrowType(Qt::LeftArrow);
    BtnPrior->setToolTip(QStringLiteral("Prior Month (Alt+P)"));
    BtnPrior->setFocusPolicy(Qt::NoFocus);
    BtnPrior->setGeometry(left, kBorder, kArrowSize, kArrowSize);

    Panel = new QLabel(this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setAlignment(Qt::AlignCenter);
    Panel->setAutoFillBackground(true);
    Panel->setBackgroundRole(QPalette::Highlight);
    Panel->setForegroundRole(QPalette::HighlightedText);
    QFont bold = Panel->font();
    bold.setBold(true);
    Panel->setFont(bold);
    Panel->setGeometry(left + kArrowSize, kBorder, kCaptionWidth, kArrowSize);

    BtnNext = new QToolButton(this);
    BtnNext->setObjectName(QStringLiteral("BtnNext"));
    BtnNext->setArrowType(Qt::RightArrow);
    BtnNext->setToolTip(QStringLiteral("Next Month (Alt+N)"));
    BtnNext->setFocusPolicy(Qt::NoFocus);
    BtnNext->setGeometry(left + kArrowSize + kCaptionWidth, kBorder, kArrowSize, kArrowSize);

    BtnPasteDate = new QPushButton(QStringLiteral("Paste &Date"), this);
    BtnPasteDate->setObjectName(QStringLiteral("BtnPasteDate"));
    BtnPasteDate->setDefault(true);
    BtnPasteDate->setGeometry(left, kBorder + kButtonTop, kButtonWidth, kButtonHeight);

    BtnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(left + kGridWidth - kButtonWidth, kBorder + kButtonTop, kButtonWidth,
                           kButtonHeight);

    connect(BtnNext, &QToolButton::clicked, this, &TFrmCalendar::BtnNextClick);
    connect(BtnPrior, &QToolButton::clicked, this, &TFrmCalendar::BtnPriorClick);
    connect(BtnPasteDate, &QPushButton::clicked, this, &TFrmCalendar::BtnPasteDateClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter on the grid and a double-click on a day both choose the date, as Paste Date does.
    connect(Calendar, &QCalendarWidget::activated, this, &TFrmCalendar::BtnPasteDateClick);
    // Arrow keys and clicks on the neighbouring months' days can change the month as well.
    connect(Calendar, &QCalendarWidget::selectionChanged, this, &TFrmCalendar::UpdateCaption);

    FKeyPreview = new FormKeyPreview(
        *this, [this](QKeyEvent &event) { return FormKeyDown(event); }, this);
    // The grid starts on today's date.
    PutDate(QString::fromStdString(TodayDateStr()));
    UpdateCaption();
    Calendar->setFocus();
}

TFrmCalendar::~TFrmCalendar() = default;

void TFrmCalendar::PutDate(const QString &sDate) {
    int month = 0, day = 0, year = 0;
    SplitDateStr(sDate.toStdString(), month, day, year);
    if (year == 0)
        return;
    SetCalendarDate(QDate(year, month, day));
}

QString TFrmCalendar::GetDate() const {
    const QDate date = Calendar->selectedDate();
    return QString::fromStdString(MakeDateStr(date.month(), date.day(), date.year()));
}

QString TFrmCalendar::GetMonthYear() const {
    const QDate date = Calendar->selectedDate();
    return QString::fromLatin1(kMonthNames[static_cast<size_t>(date.month() - 1)]) +
           QString::number(date.year());
}

void TFrmCalendar::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFrmCalendar::FormShow() {
    UpdateCaption();
    Paste = false;
}

void TFrmCalendar::UpdateCaption() {
    Panel->setText(GetMonthYear());
}

void TFrmCalendar::SetCalendarDate(const QDate &date) {
    Calendar->setSelectedDate(date);
    UpdateCaption();
}

void TFrmCalendar::MoveMonths(int months) {
    int month = 0, day = 0, year = 0;
    SplitDateStr(AddMonthsToDate(GetDate().toStdString(), months), month, day, year);
    if (year != 0)
        SetCalendarDate(QDate(year, month, day));
}

void TFrmCalendar::BtnNextClick() {
    MoveMonths(1);
}

void TFrmCalendar::BtnPriorClick() {
    MoveMonths(-1);
}

void TFrmCalendar::BtnPasteDateClick() {
    Paste = true;
    accept();
}

bool TFrmCalendar::FormKeyDown(const QKeyEvent &event) {
    const bool pageUp = event.key() == Qt::Key_PageUp;
    if (!pageUp && event.key() != Qt::Key_PageDown)
        return false;
    if (event.modifiers() == Qt::AltModifier) {
        const int year = Calendar->selectedDate().year() + (pageUp ? -1 : 1);
        SetCalendarDate(QDate(year, 1, 1));
    } else if (pageUp) {
        BtnPriorClick();
    } else {
        BtnNextClick();
    }
    // The grid would page a further month itself: the key ends here.
    return true;
}

} // namespace fiscora
