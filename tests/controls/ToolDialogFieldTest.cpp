#include "ControlsTestSupport.h"
#include "DateEdit.h"
#include "DollarEdit.h"

#include <QLineEdit>

#include <functional>

namespace fiscora::test {
namespace {

// A click into a field that does not have the focus selects it, as Tab does, so a value typed whole
// replaces the old one instead of landing where the mouse fell.
struct ClickEntryCase {
    const char *name;
    std::function<TToolDialogField *(QWidget *form)> make;
    const char *typed;
    const char *expected;
};

class ClickEntryTest : public FormTest, public testing::WithParamInterface<ClickEntryCase> {};

TEST_P(ClickEntryTest, ClickSelectsTheWholeField) {
    auto *other = new QLineEdit(form.get());
    other->move(0, 60);
    TToolDialogField *field = GetParam().make(form.get());
    ShowForm();
    other->setFocus(Qt::TabFocusReason);
    ASSERT_FALSE(field->hasFocus());

    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() / 2, field->height() / 2));
    ASSERT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectedText(), field->text());
    Type(GetParam().typed);
    EXPECT_EQ(field->displayText().toStdString(), GetParam().expected);

    // A click into the field that already has the focus places the caret as usual.
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(2, field->height() / 2));
    EXPECT_FALSE(field->hasSelectedText());
}

const ClickEntryCase kClickEntryCases[] = {
    {"DateField",
     [](QWidget *form) {
         auto *date = new TDateEdit(form);
         date->SetText(QStringLiteral("03/15/2026"));
         return date;
     },
     "12102026", "12/10/2026"},
    {"CurrencyField",
     [](QWidget *form) {
         auto *amount = new TDollarEdit;
         amount->setParent(form);
         amount->SetValue(42000);
         return amount;
     },
     "500", "500"},
};

INSTANTIATE_TEST_SUITE_P(Fields, ClickEntryTest, testing::ValuesIn(kClickEntryCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace fiscora::test
