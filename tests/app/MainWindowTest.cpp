#include "MainWindowFixture.h"

#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace fiscora {
namespace {

TEST_F(MainWindowTest, StartsWithTheDefaultsAndTheCaptionsOfThisEdition) {
    TFrmAmortix &w = *window;
    EXPECT_EQ(w.windowTitle(), "Fiscora for 2026 (Version 2026.00 (64-bit))");
    EXPECT_EQ(w.LblFiscal_Year->text(), "Fiscal Year End Date. If a calendar year enter 12/31/2026:");
    EXPECT_EQ(w.LblBonusDepr->text(), "(for assets placed in service in 2026)");
    EXPECT_EQ(w.ChkBonusDepr->text(), " Check to compute 1st year Bonus Depreciation.");
    EXPECT_EQ(w.HdrDepreciation_Report->model()->headerData(0, Qt::Horizontal).toString(),
              "Depreciation Report");

    EXPECT_EQ(w.EdtProperty_Description->text(), "");
    EXPECT_EQ(w.CbxProperty_Type->currentText(), "Furniture, Equipment Etc.");
    EXPECT_EQ(w.EdtDate_Placed_in_Service->Text(), "03/15/2026");
    EXPECT_EQ(w.EdtCost_or_Basis->text(), "$0.00");
    EXPECT_EQ(w.CbxDepreciation_Method->currentText(), "MACRS");
    EXPECT_EQ(w.CbxConvention->currentText(), "Half-Year");
    EXPECT_EQ(w.CbxDepreciable_Life->currentText(), "5-Years");
    EXPECT_EQ(w.EdtFiscal_Year->Text(), "  /  /    ");
    EXPECT_EQ(w.CbxProperty_Type->count(), 6);
    EXPECT_EQ(w.CbxProperty_Type->maxVisibleItems(), 6);
    EXPECT_EQ(w.CbxDepreciation_Method->count(), 2);
    EXPECT_EQ(w.CbxConvention->count(), 3);
    EXPECT_EQ(w.CbxDepreciable_Life->count(), 8);
    EXPECT_EQ(w.CbxDepreciable_Life->maxVisibleItems(), 9);
    // The cost is still 0, so the bonus is off even though today lies in 2026.
    EXPECT_FALSE(w.ChkBonusDepr->isChecked());
    EXPECT_FALSE(w.ChkBonusDepr->isEnabled());
    EXPECT_FALSE(w.LblBonusDepr->isEnabled());
    EXPECT_TRUE(w.EdtBonusDepr->isReadOnly());
    EXPECT_TRUE(w.RichEdit->isReadOnly());
    EXPECT_TRUE(w.RichEdit->toPlainText().isEmpty());

    EXPECT_TRUE(w.ExeDir().endsWith('/'));
    EXPECT_EQ(w.ReportProjectFile(), w.ExeDir() + "Amortix.fol");
}

// The help's paragraph on the start (anchor "start") must tell what a new window shows: the choices
// every list starts on, the cost's start text, today's date in the date placed in service.
TEST_F(MainWindowTest, TheHelpTellsTheStartState) {
    QFile file(QStringLiteral(FISCORA_BIN_DIR "/Amortix.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QTextDocument help;
    help.setHtml(QString::fromUtf8(file.readAll()));
    QString start;
    for (QTextBlock block = help.begin(); block.isValid() && start.isEmpty(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (fragment.fragment().charFormat().anchorNames().contains(QStringLiteral("start")))
                start = block.text();
    ASSERT_FALSE(start.isEmpty());

    TFrmAmortix &w = *window;
    ASSERT_EQ(w.EdtDate_Placed_in_Service->Text(), "03/15/2026"); // today
    EXPECT_TRUE(start.contains("Date Placed in Service shows today's date")) << start.toStdString();
    for (const QComboBox *list :
         {w.CbxProperty_Type, w.CbxDepreciation_Method, w.CbxConvention, w.CbxDepreciable_Life})
        EXPECT_TRUE(start.contains(list->currentText())) << list->currentText().toStdString();
    EXPECT_TRUE(start.contains("the cost is " + w.EdtCost_or_Basis->text())) << start.toStdString();
}

TEST_F(MainWindowTest, ControlsSitAtTheirPlacesInTheFixedClientArea) {
    TFrmAmortix &w = *window;
    EXPECT_EQ(w.ClientArea->size(), QSize(580, 508));
    EXPECT_EQ(w.ClientArea->pos(), QPoint(8, 8));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    struct Place {
        QWidget *control;
        QRect geometry;
    };
    for (const Place &p :
         {Place{w.EdtProperty_Description, {132, 0, 445, 21}}, Place{w.CbxProperty_Type, {132, 27, 170, 22}},
          Place{w.EdtDate_Placed_in_Service, {456, 27, 121, 21}},
          Place{w.EdtCost_or_Basis, {132, 54, 170, 21}}, Place{w.CbxDepreciation_Method, {456, 54, 121, 22}},
          Place{w.CbxConvention, {132, 81, 170, 22}}, Place{w.CbxDepreciable_Life, {456, 81, 121, 22}},
          Place{w.ChkBonusDepr, {0, 112, 286, 17}}, Place{w.EdtBonusDepr, {456, 108, 121, 21}},
          Place{w.EdtFiscal_Year, {456, 136, 121, 21}}, Place{w.RichEdit, {0, 186, 577, 286}},
          Place{w.HdrDepreciation_Report, {0, 167, 577, 20}}, Place{w.BtnDepreciate, {214, 484, 75, 22}},
          Place{w.BtnPrint, {295, 484, 75, 22}}, Place{w.BtnBook, {376, 484, 75, 22}},
          Place{w.BtnHelp, {554, 484, 23, 22}}})
        EXPECT_EQ(p.control->geometry(), p.geometry) << p.control->objectName().toStdString();
    struct LabelPlace {
        QLabel *label;
        QPoint topLeft;
        const char *caption;
    };
    for (const LabelPlace &p : {LabelPlace{w.LblProperty_Description, {0, 8}, "Property Description:"},
                                LabelPlace{w.LblProperty_Type, {0, 35}, "Property Type:"},
                                LabelPlace{w.LblDate_Placed_in_Service, {313, 35}, "Date Placed in Service:"},
                                LabelPlace{w.LblCost_or_Basis, {0, 62}, "Cost or Basis:"},
                                LabelPlace{w.LblDepreciation_Method, {313, 62}, "Depreciation Method:"},
                                LabelPlace{w.LblConvention, {0, 89}, "Convention:"},
                                LabelPlace{w.LblDepreciable_Life, {313, 89}, "Depreciable Life:"},
                                LabelPlace{w.LblFiscal_Year, {0, 144}, nullptr}}) {
        EXPECT_EQ(p.label->pos(), p.topLeft) << p.label->objectName().toStdString();
        EXPECT_TRUE(p.label->font().bold()) << p.label->objectName().toStdString();
        if (p.caption != nullptr) {
            EXPECT_EQ(p.label->text(), p.caption);
        }
    }
    EXPECT_FALSE(w.LblBonusDepr->font().bold());
    EXPECT_DOUBLE_EQ(w.LblBonusDepr->font().pointSizeF(), 6.75);
}

// The form's face stands in for Tahoma here; whatever it is, no caption may be cut off or run into
// a neighbouring control.
TEST_F(MainWindowTest, CaptionsFitAndOverlapNothing) {
    TFrmAmortix &w = *window;
    const QList<QWidget *> controls =
        w.ClientArea->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *caption : controls) {
        auto *label = qobject_cast<QLabel *>(caption);
        auto *check = qobject_cast<QCheckBox *>(caption);
        if (label == nullptr && check == nullptr)
            continue;
        const std::string name = caption->objectName().toStdString();
        if (label != nullptr) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
                << name;
        } else {
            EXPECT_LE(check->sizeHint().width(), check->width()) << name;
        }
        for (QWidget *other : controls) {
            if (other != caption && other->isVisibleTo(&w)) {
                EXPECT_FALSE(caption->geometry().intersects(other->geometry()))
                    << name << " overlaps " << other->objectName().toStdString();
            }
        }
    }
}

TEST_F(MainWindowTest, TabAndEnterVisitTheFieldsInOrderSkippingWhatIsNoTabStop) {
    TFrmAmortix &w = *window;
    const std::vector<QWidget *> expected = {
        w.CbxProperty_Type, w.EdtDate_Placed_in_Service, w.EdtCost_or_Basis, w.CbxDepreciation_Method,
        w.CbxConvention,    w.CbxDepreciable_Life,       w.EdtFiscal_Year,   w.EdtProperty_Description};
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Return}) {
        w.EdtProperty_Description->setFocus(Qt::TabFocusReason);
        std::vector<QWidget *> visited;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QTest::keyClick(Focused(), key);
            visited.push_back(Focused());
        }
        EXPECT_EQ(visited, expected) << "key " << key;
    }
}

TEST_F(MainWindowTest, ButtonsNeverTakeTheFocus) {
    TFrmAmortix &w = *window;
    for (QToolButton *button : {w.BtnDepreciate, w.BtnPrint, w.BtnBook, w.BtnHelp}) {
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_TRUE(button->autoRaise());
    }
    EXPECT_EQ(w.BtnDepreciate->text(), "&Depreciate");
    EXPECT_EQ(w.BtnPrint->text(), "&Print");
    EXPECT_EQ(w.BtnBook->text(), "Asset &Book");
    EXPECT_LE(w.BtnBook->sizeHint().width(), w.BtnBook->width());
    w.EdtProperty_Description->setFocus(Qt::TabFocusReason);
    ClickButton(w.BtnPrint);
    EXPECT_EQ(Focused(), w.EdtProperty_Description);
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace fiscora
