#include "Calculator.h"
#include "FrmCalendar.h"

#include <QDialog>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace fiscora::test {
namespace {

// A window manager shortens a caption that does not fit beside its title buttons ("CAL... TOR"). Each
// tool dialog must leave room for its caption in the bold title-bar face, the window icon and three
// title buttons, each at least as wide as the caption is high; the layout stays centred in a widened
// dialog.
TEST(ToolDialogTitleTest, EachToolDialogIsWideEnoughForItsTitleBar) {
    struct Case {
        const char *name;
        std::function<std::unique_ptr<QDialog>()> create;
    };
    const Case cases[] = {
        {"calculator", [] { return std::make_unique<TCalculator>(); }},
        {"calendar", [] { return std::make_unique<TFrmCalendar>(); }},
    };
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<QDialog> dialog = c.create();
        const int needed = title.horizontalAdvance(dialog->windowTitle()) + 4 * title.height();
        EXPECT_GE(dialog->minimumWidth(), needed);
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());

        QRect laidOut;
        for (const QWidget *part : dialog->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            laidOut |= part->geometry();
        const int leftMargin = laidOut.left();
        const int rightMargin = dialog->width() - 1 - laidOut.right();
        EXPECT_GE(leftMargin, 8);
        EXPECT_LE(std::abs(leftMargin - rightMargin), 1)
            << leftMargin << " left, " << rightMargin << " right";
    }
}

} // namespace
} // namespace fiscora::test
