#include "CustPreviewForm_New.h"
#include "FileDialogs.h"
#include "FoRenderPreview.h"
#include "FoSnapshotTestSupport.h"
#include "MsgBox.h"
#include "MsgBoxRecorder.h"
#include "ScopeExit.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

// A preview window showing a snapshot of `pages` letter pages, as the report system opens it.
class PreviewWindowTest : public ::testing::Test {
protected:
    void Open(int pages) {
        bytes = TSnapshotBuilder::Pages(pages);
        stream.setBuffer(&bytes);
        stream.open(QIODevice::ReadOnly);
        window = std::make_unique<TFrmReportPreview>();
        window->resize(800, 600);
        window->ReportSystem = &system;
        window->FInputStream = &stream;
        window->InitFromReportSystem();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QScrollBar &Vertical() { return *window->ScrollBox1->verticalScrollBar(); }
    int Page() { return window->FoRenderPreview().CurrentPage(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->ScrollBox1, Qt::Key(key), modifiers);
    }

    TFoSystem system;
    QByteArray bytes;
    QBuffer stream;
    std::unique_ptr<TFrmReportPreview> window;
    MsgBoxRecorder messages;
};

TEST_F(PreviewWindowTest, ShowsThePageCountAndPagesThroughTheKeyTable) {
    Open(3);
    EXPECT_EQ(window->StatusPanel->text(), QStringLiteral(" Page 1 of 3"));
    EXPECT_DOUBLE_EQ(window->FoRenderPreview().ZoomFactor(), 85);
    ASSERT_GT(Vertical().maximum(), 0) << "the page must be taller than the window";

    struct Step {
        const char *name;
        int key;
        Qt::KeyboardModifiers modifiers;
        int page;
        int position; // -1: the end of the page, -2: where it was
    };
    const Step steps[] = {
        {"Alt+N", Qt::Key_N, Qt::AltModifier, 2, 0},
        {"End", Qt::Key_End, Qt::NoModifier, 2, -1},
        {"Page Down at the bottom of page 2", Qt::Key_PageDown, Qt::NoModifier, 3, 0},
        {"Up at the top of page 3", Qt::Key_Up, Qt::NoModifier, 2, -1},
        {"Home", Qt::Key_Home, Qt::NoModifier, 2, 0},
        {"Page Up at the top of page 2", Qt::Key_PageUp, Qt::ControlModifier, 1, -1},
        {"Alt+L", Qt::Key_L, Qt::AltModifier, 3, -2},
        {"Alt+F", Qt::Key_F, Qt::AltModifier, 1, -2},
        {"Alt+P on page 1 (disabled)", Qt::Key_P, Qt::AltModifier, 1, -2},
        {"Shift+Page Down is not handled", Qt::Key_PageDown, Qt::ShiftModifier, 1, -2},
    };
    for (const Step &step : steps) {
        const int before = Vertical().value();
        Key(step.key, step.modifiers);
        EXPECT_EQ(Page(), step.page) << step.name;
        const int expected = step.position == -2   ? before
                             : step.position == -1 ? Vertical().maximum()
                                                   : step.position;
        EXPECT_EQ(Vertical().value(), expected) << step.name;
        EXPECT_EQ(window->StatusPanel->text(), QStringLiteral(" Page %1 of 3").arg(step.page)) << step.name;
        EXPECT_EQ(window->BtnFirst->isEnabled(), step.page > 1) << step.name;
        EXPECT_EQ(window->BtnLast->isEnabled(), step.page < 3) << step.name;
    }
}

TEST_F(PreviewWindowTest, AOnePageReportHasNoPageButtonsAndStaysOnItsPage) {
    Open(1);
    for (QToolButton *button : {window->BtnFirst, window->BtnPrior, window->BtnNext, window->BtnLast})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    Key(Qt::Key_End);
    Key(Qt::Key_PageDown);
    Key(Qt::Key_Down);
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Vertical().value(), Vertical().maximum());
}

TEST_F(PreviewWindowTest, PlusAndMinusZoomInTensBetweenTheLimits) {
    Open(1);
    TFoRenderPreview &preview = window->FoRenderPreview();
    Key(Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(preview.ZoomFactor(), 95);
    preview.SetZoomFactor(15);
    Key(Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(preview.ZoomFactor(), 10);
    Key(Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(preview.ZoomFactor(), 10);
    // The page is drawn at the zoom: 8.5 inches at 96 pixels and 10 percent.
    EXPECT_EQ(preview.Bitmap().deviceIndependentSize().toSize().width(), 82);
}

TEST_F(PreviewWindowTest, SaveWritesTheSnapshotByteForByteAndKeepsThePosition) {
    Open(3);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.fsn"));
    TFileDialogRequest asked;
    InstallFileDialogRunner([&](const TFileDialogRequest &request) {
        asked = request;
        return std::optional<TFileDialogAnswer>({saved, 1});
    });
    ScopeExit restore([] { InstallFileDialogRunner({}); });
    stream.seek(123);
    window->BtnSave->click();
    EXPECT_EQ(asked.Title, QStringLiteral("Save to Snapshot Document"));
    EXPECT_EQ(asked.Filter, QStringLiteral("Snapshot Document (*.fsn)|*.fsn"));
    EXPECT_EQ(asked.DefaultExtension, QStringLiteral("fsn"));
    EXPECT_EQ(stream.pos(), 123);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);

    // Opening the saved file shows it, named in the caption.
    SetApplicationTitle("Fiscora 2025");
    Key(Qt::Key_L, Qt::AltModifier);
    window->BtnOpen->click();
    EXPECT_EQ(asked.Filter, QStringLiteral("Snapshot Files (*.fsn)|*.fsn"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fiscora 2025 - saved.fsn"));
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(window->StatusPanel->text(), QStringLiteral(" Page 1 of 3"));
}

TEST_F(PreviewWindowTest, OutputCommandsFollowTheReportSystemsOptions) {
    Open(1);
    EXPECT_TRUE(window->BtnPrint->isEnabled());
    EXPECT_TRUE(window->BtnSave->isEnabled());
    system.SystemOptions = static_cast<TSystemOptions>(system.SystemOptions & ~soAllowPrintFromPreview);
    window->UpdateButtons();
    for (QToolButton *button : {window->BtnPrint, window->BtnExportPDF, window->BtnExportHTML})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_TRUE(window->BtnSave->isEnabled());
    EXPECT_TRUE(window->BtnOpen->isEnabled());
    EXPECT_TRUE(window->BtnExit->isEnabled());
    // The popup menu takes the buttons' states.
    window->PopupMenuPopup();
    EXPECT_FALSE(window->MnuPrint->isEnabled());
    EXPECT_TRUE(window->MnuZoomIn->isEnabled());
}

TEST_F(PreviewWindowTest, ToolBarCaptionsAndHints) {
    Open(1);
    struct Button {
        QToolButton *button;
        const char *caption;
        const char *hint;
    };
    for (const Button &b : {Button{window->BtnOpen, "Open", "Open Saved Report (Ctrl+O)"},
                            Button{window->BtnSave, "Save", "Save Report (Ctrl+S)"},
                            Button{window->BtnPrint, "Print", "Print Report (Ctrl+P)"},
                            Button{window->BtnFirst, "First Page", "Go to First Page (Alt+F)"},
                            Button{window->BtnPrior, "Prior Page", "Go to Prior Page (Alt+P)"},
                            Button{window->BtnNext, "Next Page", "Go to Next Page (Alt+N)"},
                            Button{window->BtnLast, "Last Page", "Go to Last Page (Alt+L)"},
                            Button{window->BtnZoomIn, "Zoom In", "Zoom In (+)"},
                            Button{window->BtnZoomOut, "Zoom Out", "Zoom Out (-)"},
                            Button{window->BtnExportPDF, "PDF Export", "Export to PDF (Ctrl+D)"},
                            Button{window->BtnExportHTML, "HTML Export", "Export to HTML (Ctrl+H)"},
                            Button{window->BtnExit, "Exit", "Exit Preview Screen (Alt+X)"}}) {
        EXPECT_EQ(b.button->text(), QString::fromLatin1(b.caption));
        EXPECT_EQ(b.button->toolTip(), QString::fromLatin1(b.hint));
        EXPECT_EQ(b.button->size(), QSize(70, 22));
    }
}

TEST_F(PreviewWindowTest, PdfExportWritesTheDocumentAndKeepsThePosition) {
    Open(3);
    QTemporaryDir dir;
    TFileDialogRequest asked;
    InstallFileDialogRunner([&](const TFileDialogRequest &request) {
        asked = request;
        return std::optional<TFileDialogAnswer>({dir.filePath(QStringLiteral("report.pdf")), 1});
    });
    ScopeExit restore([] { InstallFileDialogRunner({}); });
    stream.seek(77);
    window->BtnExportPDF->click();
    EXPECT_EQ(asked.Title, QStringLiteral("Save to PDF Document"));
    EXPECT_EQ(asked.Filter, QStringLiteral("Adobe Portable Document (*.pdf)|*.pdf"));
    EXPECT_EQ(stream.pos(), 77);
    QFile pdf(dir.filePath(QStringLiteral("report.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-1.3"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PreviewWindowTest, HtmlExportWritesOnePageFileAPage) {
    Open(3);
    QTemporaryDir dir;
    TFileDialogRequest asked;
    InstallFileDialogRunner([&](const TFileDialogRequest &request) {
        asked = request;
        return std::optional<TFileDialogAnswer>({dir.filePath(QStringLiteral("report.html")), 1});
    });
    ScopeExit restore([] { InstallFileDialogRunner({}); });
    stream.seek(55);
    window->BtnExportHTML->click();
    EXPECT_EQ(asked.Title, QStringLiteral("Save to HTML Document"));
    EXPECT_EQ(asked.Filter, QStringLiteral("Web Document (*.html)|*.html"));
    EXPECT_EQ(stream.pos(), 55);
    for (int page = 1; page <= 3; ++page)
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("report%1.html").arg(page)))) << page;
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PreviewWindowTest, EscapeClosesTheWindow) {
    Open(1);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
