#include "MainWindowFixture.h"
#include "MessageBoxPresenter.h"
#include "ModalRunner.h"
#include "VisualStyle.h"

#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QStyleOptionComboBox>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace fiscora {
namespace {

const QColor kYellow(0xff, 0xff, 0x00);

double RelativeLuminance(const QColor &colour) {
    const auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) + 0.0722 * linear(colour.blue());
}

double ContrastRatio(const QColor &a, const QColor &b) {
    const double lighter = std::max(RelativeLuminance(a), RelativeLuminance(b));
    const double darker = std::min(RelativeLuminance(a), RelativeLuminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

// What a field looks like as drawn: the colour of most of its inside, and how far its text stands out
// from it (the text's darkest or lightest anti-aliased pixels reach the text colour itself).
struct DrawnField {
    QColor background;
    double textContrast = 0;
};

DrawnField Draw(QWidget &field) {
    const QImage image = field.grab().toImage();
    std::map<QRgb, int> counts;
    constexpr int kFrame = 3;
    for (int y = kFrame; y < image.height() - kFrame; ++y)
        for (int x = kFrame; x < image.width() - kFrame; ++x)
            ++counts[image.pixel(x, y)];
    DrawnField drawn;
    if (counts.empty())
        return drawn;
    drawn.background = QColor(std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) {
                                  return a.second < b.second;
                              })->first);
    for (const auto &[pixel, count] : counts)
        drawn.textContrast = std::max(drawn.textContrast, ContrastRatio(QColor(pixel), drawn.background));
    return drawn;
}

// The field as drawn while another window has the keyboard, as a dialog or a message box has it.
std::optional<DrawnField> DrawWhileActive(QWidget &field, QWidget &activeWindow) {
    activeWindow.activateWindow();
    // Not qWaitForWindowActive: that also counts a window whose transient parent is active.
    if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &activeWindow; }))
        return std::nullopt;
    return Draw(field);
}

// Installs a presenter for its own lifetime.
class ScopedMsgBoxPresenter {
public:
    explicit ScopedMsgBoxPresenter(MsgBoxPresenter presenter)
        : previous_(InstallMsgBoxPresenter(std::move(presenter))) {}
    ~ScopedMsgBoxPresenter() { InstallMsgBoxPresenter(std::move(previous_)); }
    ScopedMsgBoxPresenter(const ScopedMsgBoxPresenter &) = delete;
    ScopedMsgBoxPresenter &operator=(const ScopedMsgBoxPresenter &) = delete;

private:
    MsgBoxPresenter previous_;
};

// The main window in the application's own look.
class MainWindowLookTest : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(ApplyVisualStyle(*qApp));
        MainWindowTest::SetUp();
    }
};

// While a tool dialog is open its field is yellow, and the field's text must stay readable on the
// yellow whatever colour the look gives text otherwise: at least the 4.5 : 1 of ordinary text.
TEST_F(MainWindowLookTest, TheFieldOfAnOpenToolDialogShowsReadableTextOnYellow) {
    struct Case {
        const char *name;
        std::function<QWidget *(TFrmAmortix &)> prepare; // enters the field, returns it
        const char *dialogKeys;                          // typed into the dialog; drawn before them
        bool drawnAtTheMessage;                          // drawn when the field's message comes instead
    };
    const Case cases[] = {
        {"calculator",
         [](TFrmAmortix &w) -> QWidget * {
             w.EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
             QTest::keyClicks(w.EdtCost_or_Basis, "48500");
             return w.EdtCost_or_Basis;
         },
         "", false},
        {"calendar",
         [](TFrmAmortix &w) -> QWidget * {
             w.EdtDate_Placed_in_Service->setFocus(Qt::TabFocusReason);
             QTest::keyClick(w.EdtDate_Placed_in_Service, Qt::Key_End);
             return w.EdtDate_Placed_in_Service;
         },
         "", false},
        {"negative amount refused",
         [](TFrmAmortix &w) -> QWidget * {
             w.EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
             QTest::keyClicks(w.EdtCost_or_Basis, "5");
             return w.EdtCost_or_Basis;
         },
         "5_P", true},
        {"negative amount in a field that takes one",
         [](TFrmAmortix &w) -> QWidget * {
             w.EdtCost_or_Basis->SetMinusKey(true);
             w.EdtCost_or_Basis->SetValue(-250);
             w.EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
             QTest::keyClick(w.EdtCost_or_Basis, Qt::Key_End);
             return w.EdtCost_or_Basis;
         },
         "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget *field = c.prepare(*window);
        ASSERT_EQ(QApplication::focusWidget(), field);
        const QColor backgroundBefore = field->palette().color(QPalette::Base);
        const QColor textBefore = field->palette().color(QPalette::Text);
        std::optional<DrawnField> drawn;
        int shownMessages = 0;
        {
            // The application's own message box, answered as soon as the field has been drawn.
            const ScopedMsgBoxPresenter presenter(
                [&](const std::string &text, const std::string &caption, int flags) {
                    ++shownMessages;
                    QTimer::singleShot(0, [&] {
                        QWidget *box = QApplication::activeModalWidget();
                        ASSERT_NE(box, nullptr);
                        if (c.drawnAtTheMessage)
                            drawn = DrawWhileActive(*field, *box);
                        box->close();
                    });
                    return PresentMessageBox(text, caption, flags);
                });
            const ScopedModalRunner runner(DrivingModalRunner([&](QDialog &dialog) {
                if (!c.drawnAtTheMessage)
                    drawn = DrawWhileActive(*field, dialog);
                for (const char key : std::string(c.dialogKeys))
                    QTest::keyClick(&dialog, key);
            }));
            QTest::keyClick(field, 'C');
        }
        EXPECT_EQ(shownMessages, c.drawnAtTheMessage ? 1 : 0);
        ASSERT_TRUE(drawn.has_value());
        EXPECT_EQ(drawn->background, kYellow);
        EXPECT_GE(drawn->textContrast, 4.5);
        EXPECT_EQ(field->palette().color(QPalette::Base), backgroundBefore);
        EXPECT_EQ(field->palette().color(QPalette::Text), textBefore);
        // A window manager would give the keyboard back to the main window.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->RichEdit->setFocus(Qt::TabFocusReason);
    }
}

// A closed drop-down list shows its choice in the box's edit field, clipped to it: with the look's
// insets and button every choice must fit the width the form gives the box.
TEST_F(MainWindowLookTest, EveryChoiceFitsItsClosedBox) {
    TFrmAmortix &w = *window;
    for (QComboBox *combo :
         {w.CbxProperty_Type, w.CbxDepreciation_Method, w.CbxConvention, w.CbxDepreciable_Life}) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.subControls = QStyle::SC_All;
        const QRect field =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), field.width())
                << combo->objectName().toStdString() << ": " << combo->itemText(i).toStdString();
    }
}

// The schedule pane's caption sits on one section that looks like a tab: as wide as the caption with
// the look's padding, not stretched along the bar nor pushed to the right.
TEST_F(MainWindowLookTest, TheReportCaptionSitsOnATabOfItsOwnWidth) {
    const QHeaderView &header = *window->HdrDepreciation_Report;
    ASSERT_EQ(header.count(), 1);
    const QString caption = header.model()->headerData(0, Qt::Horizontal).toString();
    EXPECT_EQ(caption, caption.trimmed());
    EXPECT_EQ(header.sectionSize(0), header.sectionSizeHint(0));
    EXPECT_GT(header.sectionSize(0), header.fontMetrics().horizontalAdvance(caption));
    EXPECT_LT(header.sectionSize(0), header.width() / 2);
}

} // namespace
} // namespace fiscora
