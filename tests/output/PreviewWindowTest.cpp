#include "FoSnapshotTestSupport.h"
#include "ModalRunner.h"
#include "MsgBox.h"
#include "MsgBoxRecorder.h"
#include "ScopeExit.h"
#include "output/dialogs/FileDialogs.h"
#include "output/dialogs/FoFormSetup.h"
#include "output/html/FoHtmlExport.h"
#include "output/html/FoRenderHTML.h"
#include "output/pdf/FoRenderPDF.h"
#include "output/pdf/PdfExport.h"
#include "output/preview/CustPreviewForm_New.h"
#include "output/screen/FoRenderPreview.h"
#include "output/screen/PageNumberEdit.h"
#include "report/system/FoSystem.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <variant>
#include <vector>

using namespace fiscora;
using namespace fiscora::test;

namespace {

// A snapshot stream whose reads can be made to fail, as a stream on a vanished medium does.
class TFailingBuffer : public QBuffer {
public:
    bool FailReads = false;

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        return FailReads ? -1 : QBuffer::readData(data, maxSize);
    }
};

QByteArray ReadFile(const QString &fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &fileName, const QByteArray &bytes) {
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The tool bar's own button, which lists the actions it has no room for.
QToolButton *OverflowButton(QToolBar &bar) {
    for (QToolButton *button : bar.findChildren<QToolButton *>()) {
        const QList<QAction *> actions = bar.actions();
        if (std::none_of(actions.begin(), actions.end(),
                         [&](QAction *action) { return bar.widgetForAction(action) == button; }))
            return button;
    }
    return nullptr;
}

// Runs a command as the mouse does: its button when the tool bar shows it, else its entry in the
// tool bar's overflow menu. False when neither can be clicked.
bool ClickCommand(QToolBar &bar, QToolButton &button) {
    if (button.isVisible()) {
        QTest::mouseClick(&button, Qt::LeftButton);
        return true;
    }
    QToolButton *overflow = OverflowButton(bar);
    if (!overflow || !overflow->isVisible())
        return false;
    bool clicked = false;
    // The menu runs its own event loop: pick the entry from inside it.
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QAction *entry = button.defaultAction();
        if (!menu->actions().contains(entry) || menu->actionGeometry(entry).isEmpty()) {
            menu->close();
            return;
        }
        clicked = true;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    });
    QTest::mouseClick(overflow, Qt::LeftButton);
    QTest::qWait(0);
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    return clicked;
}

QStringList FilesIn(const QTemporaryDir &dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A preview window showing a snapshot of `pages` letter pages, as the report system opens it.
class PreviewWindowTest : public ::testing::Test {
protected:
    void Open(int pages) {
        stream.close();
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

    void TearDown() override { InstallFileDialogRunner({}); }

    TFoSystem system;
    QByteArray bytes;
    TFailingBuffer stream;
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
        {"Alt+N again", Qt::Key_N, Qt::AltModifier, 3, 0},
        {"Up at the top of page 3", Qt::Key_Up, Qt::NoModifier, 2, -1},
        {"Page Down at the bottom of page 2", Qt::Key_PageDown, Qt::NoModifier, 3, 0},
        {"Home", Qt::Key_Home, Qt::NoModifier, 1, 0},
        {"End", Qt::Key_End, Qt::NoModifier, 3, -1},
        {"End on the last page", Qt::Key_End, Qt::NoModifier, 3, -1},
        {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, 1, 0},
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, 3, -1},
        {"Shift+Home is not handled", Qt::Key_Home, Qt::ShiftModifier, 3, -2},
        {"Home again", Qt::Key_Home, Qt::NoModifier, 1, 0},
        {"Alt+N to the top of page 2", Qt::Key_N, Qt::AltModifier, 2, 0},
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
                            Button{window->BtnFitWidth, "Fit Width", "Zoom to Page Width"},
                            Button{window->BtnFitPage, "Fit Page", "Zoom to Whole Page"},
                            Button{window->BtnExportPDF, "PDF Export", "Export to PDF (Ctrl+D)"},
                            Button{window->BtnExportHTML, "HTML Export", "Export to HTML (Ctrl+H)"},
                            Button{window->BtnExit, "Exit", "Exit Preview Screen (Alt+X)"}}) {
        EXPECT_EQ(b.button->text(), QString::fromLatin1(b.caption));
        EXPECT_EQ(b.button->toolTip(), QString::fromLatin1(b.hint));
        EXPECT_EQ(b.button->height(), 22) << b.caption;
        // 70 wide, unless the caption needs more in the font shown.
        EXPECT_GE(b.button->width(), 70) << b.caption;
        EXPECT_GE(b.button->width(), b.button->sizeHint().width()) << b.caption;
    }
}

TEST_F(PreviewWindowTest, ExportsAskForTheirFileWriteEveryPageAndKeepThePosition) {
    const struct {
        const char *name;
        QToolButton *TFrmReportPreview::*button;
        const char *title;
        const char *filter;
        const char *answer;
        std::vector<const char *> written; // the files in the folder afterwards
        const char *start;                 // how the first of them starts
    } cases[] = {
        {"PDF",
         &TFrmReportPreview::BtnExportPDF,
         "Save to PDF Document",
         "Adobe Portable Document (*.pdf)|*.pdf",
         "report.pdf",
         {"report.pdf"},
         "%PDF-1.3"},
        {"HTML",
         &TFrmReportPreview::BtnExportHTML,
         "Save to HTML Document",
         "Web Document (*.html)|*.html",
         "report.html",
         {"report1.html", "report2.html", "report3.html"},
         "<HTML><HEAD>"},
    };
    for (const auto &c : cases) {
        Open(3);
        QTemporaryDir dir;
        TFileDialogRequest asked;
        InstallFileDialogRunner([&](const TFileDialogRequest &request) {
            asked = request;
            return std::optional<TFileDialogAnswer>({dir.filePath(QLatin1String(c.answer)), 1});
        });
        ScopeExit restore([] { InstallFileDialogRunner({}); });
        stream.seek(77);
        (window.get()->*c.button)->click();
        EXPECT_EQ(asked.Title, QLatin1String(c.title)) << c.name;
        EXPECT_EQ(asked.Filter, QLatin1String(c.filter)) << c.name;
        EXPECT_EQ(stream.pos(), 77) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
                  QStringList(c.written.begin(), c.written.end()))
            << c.name;
        EXPECT_TRUE(ReadFile(dir.filePath(QLatin1String(c.written.front()))).startsWith(c.start)) << c.name;
        EXPECT_TRUE(messages.messages.empty()) << c.name;
    }
}

TEST_F(PreviewWindowTest, EscapeClosesTheWindow) {
    Open(1);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

// The main window keeps the PDF and HTML formats registered while the preview is open.
TEST_F(PreviewWindowTest, SaveWritesASnapshotWhateverFilterTheDialogIsOn) {
    const std::unique_ptr<TFoRenderPDF> pdfFormat = CreatePdfFormat();
    const std::unique_ptr<TFoRenderHTML> htmlFormat = CreateHtmlFormat();
    Open(2);
    struct Case {
        const char *name;
        const char *typed;
        int chosenIndex; // 0: the entry the dialog starts on
        bool throughFileDialog;
        const char *saved;
    };
    const Case cases[] = {
        {"a bare name, the starting entry kept", "x", 0, false, "x.fsn"},
        {"a name with the extension", "x.fsn", 0, false, "x.fsn"},
        {"a name with another extension", "report.snap", 1, false, "report.snap"},
        {"an entry past the snapshot's", "x", 3, false, "x.fsn"},
        {"a bare name typed into the file dialog", "x", 0, true, "x.fsn"},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        std::vector<TFileDialogRequest> asked;
        std::optional<ScopedModalRunner> typing;
        if (c.throughFileDialog) {
            InstallFileDialogRunner({});
            typing.emplace(DrivingModalRunner([&](QDialog &dialog) {
                static_cast<QFileDialog &>(dialog).setDirectory(dir.path());
                dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                    ->setText(QString::fromLatin1(c.typed));
                dialog.accept();
            }));
        } else {
            InstallFileDialogRunner([&](const TFileDialogRequest &request) {
                asked.push_back(request);
                return std::optional<TFileDialogAnswer>(
                    {dir.filePath(QString::fromLatin1(c.typed)),
                     c.chosenIndex ? c.chosenIndex : request.FilterIndex});
            });
        }
        window->BtnSave->click();
        for (const TFileDialogRequest &request : asked)
            EXPECT_EQ(request.Filter, QStringLiteral("Snapshot Document (*.fsn)|*.fsn")) << c.name;
        EXPECT_EQ(FilesIn(dir), QStringList{QString::fromLatin1(c.saved)}) << c.name;
        EXPECT_EQ(ReadFile(dir.filePath(QString::fromLatin1(c.saved))), bytes) << c.name;
        for (const auto &message : messages.messages)
            ADD_FAILURE() << c.name << ": " << message.text;
        messages.messages.clear();
    }
}

TEST_F(PreviewWindowTest, AFailedSaveLeavesNoHalfWrittenFile) {
    Open(2);
    const QByteArray earlier("an earlier snapshot");
    struct Case {
        const char *name;
        bool targetExists;
        bool shownFromTarget; // the window shows the very file saved to
        bool readFails;
    };
    const Case cases[] = {
        {"the snapshot cannot be read, over an existing file", true, false, true},
        {"the snapshot cannot be read, a new file", false, false, true},
        {"over the file the window shows", true, true, false},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("saved.fsn"));
        const QByteArray before = c.shownFromTarget ? bytes : earlier;
        if (c.targetExists)
            WriteFile(target, before);
        InstallFileDialogRunner([&](const TFileDialogRequest &) {
            return std::optional<TFileDialogAnswer>({target, 1});
        });
        if (c.shownFromTarget)
            window->BtnOpen->click();
        ASSERT_TRUE(messages.messages.empty()) << c.name;
        stream.FailReads = c.readFails;
        window->BtnSave->click();
        stream.FailReads = false;
        EXPECT_EQ(messages.messages.size(), 1u) << c.name;
        messages.messages.clear();
        EXPECT_EQ(FilesIn(dir), c.targetExists ? QStringList{QStringLiteral("saved.fsn")} : QStringList{})
            << c.name;
        if (c.targetExists) {
            EXPECT_EQ(ReadFile(target), before) << c.name;
        }
    }
}

TEST_F(PreviewWindowTest, AFailedOpenLeavesTheWindowAsItWas) {
    Open(3);
    const QByteArray onePage = TSnapshotBuilder::Pages(1);
    struct Case {
        const char *name;
        QByteArray content; // written to the file opened
        bool exists;
    };
    const Case cases[] = {
        {"a file that is not a snapshot", "<html><body>page 1</body></html>", true},
        {"an empty file", QByteArray(), true},
        {"a snapshot cut off inside its first page", TSnapshotBuilder::Pages(3).left(onePage.size() - 3),
         true},
        {"a file gone since it was chosen", QByteArray(), false},
    };
    window->setWindowTitle(QStringLiteral("Fiscora Report Preview"));
    Key(Qt::Key_N, Qt::AltModifier);
    Key(Qt::Key_Down);
    const int position = Vertical().value();
    ASSERT_GT(position, 0);
    const QImage page = window->FoRenderPreview().Bitmap();
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("bad.fsn"));
        if (c.exists)
            WriteFile(bad, c.content);
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        InstallFileDialogRunner([&](const TFileDialogRequest &request) {
            return std::optional<TFileDialogAnswer>(
                {request.Kind == TFileDialogRequest::TKind::Open ? bad : pdf, 1});
        });
        window->BtnOpen->click();
        EXPECT_EQ(messages.messages.size(), 1u) << c.name;
        messages.messages.clear();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Fiscora Report Preview")) << c.name;
        EXPECT_EQ(window->SnapshotStream(), &stream) << c.name;
        EXPECT_EQ(window->FoRenderPreview().InputFileName(), QString()) << c.name;
        EXPECT_EQ(Page(), 2) << c.name;
        EXPECT_EQ(window->FoRenderPreview().Pages(), 3) << c.name;
        EXPECT_EQ(window->StatusPanel->text(), QStringLiteral(" Page 2 of 3")) << c.name;
        EXPECT_EQ(Vertical().value(), position) << c.name;
        EXPECT_TRUE(window->FoRenderPreview().Bitmap() == page) << c.name;
        // The report shown still exports.
        window->BtnExportPDF->click();
        EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF-")) << c.name;
        for (const auto &message : messages.messages)
            ADD_FAILURE() << c.name << ": " << message.text;
        messages.messages.clear();
    }
}

// A command key opens its dialog once, also when the dialog takes the focus from the window (as a
// modal dialog does) before the key has finished travelling.
TEST_F(PreviewWindowTest, EachCommandKeyOpensItsDialogOnce) {
    Open(2);
    struct Case {
        const char *name;
        Qt::Key key;
        const char *dialogTitle;
    };
    const Case cases[] = {
        {"Ctrl+O", Qt::Key_O, "Open"},
        {"Ctrl+S", Qt::Key_S, "Save to Snapshot Document"},
        {"Ctrl+P", Qt::Key_P, "Output Options"},
        {"Ctrl+D", Qt::Key_D, "Save to PDF Document"},
        {"Ctrl+H", Qt::Key_H, "Save to HTML Document"},
    };
    for (const Case &c : cases) {
        QStringList shown;
        // Shown as the application shows it: in the dialog's own event loop, which ends once the
        // dialog has become the active window.
        const ScopedModalRunner runner([&](QDialog &dialog) {
            shown << (qobject_cast<QFileDialog *>(&dialog) || qobject_cast<TFoSetupForm *>(&dialog)
                          ? dialog.windowTitle()
                          : QStringLiteral("an unexpected dialog"));
            QTimer::singleShot(0, &dialog, [&] {
                EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog)) << c.name;
                dialog.reject();
            });
            return dialog.exec();
        });
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << c.name;
        window->ScrollBox1->setFocus();
        Key(c.key, Qt::ControlModifier);
        EXPECT_EQ(shown, QStringList{QString::fromLatin1(c.dialogTitle)}) << c.name;
    }
    EXPECT_EQ(Page(), 1);
    EXPECT_TRUE(messages.messages.empty());
}

// At the window's restored size the tool bar has no room for every button: the rest are in its
// overflow menu, and each command runs from wherever it is.
TEST_F(PreviewWindowTest, EveryCommandRunsFromTheToolBarAtTheRestoredSize) {
    Open(3);
    window->resize(615, 450);
    QTest::qWait(0);
    TFoRenderPreview &preview = window->FoRenderPreview();
    QStringList asked; // the dialogs the commands opened
    InstallFileDialogRunner([&](const TFileDialogRequest &request) {
        asked << (request.Kind == TFileDialogRequest::TKind::Open ? QStringLiteral("Open") : request.Title);
        return std::optional<TFileDialogAnswer>();
    });
    const ScopedModalRunner runner([&](QDialog &dialog) {
        asked << dialog.windowTitle();
        return int(QDialog::Rejected);
    });
    const auto opened = [&](const char *title) {
        return [&asked, title] { return asked == QStringList{title}; };
    };
    const auto onPage = [&](int page) { return [&preview, page] { return preview.CurrentPage() == page; }; };
    const auto zoomed = [&](double zoom) {
        return [&preview, zoom] { return preview.ZoomFactor() == zoom; };
    };
    const auto fitted = [&](double (TFoRenderPreview::*factor)()) {
        return [&preview, factor] {
            const double expected = (preview.*factor)();
            return preview.ZoomFactor() != 85 && std::abs(preview.ZoomFactor() - expected) < 1e-9;
        };
    };
    struct Case {
        QToolButton *button;
        std::function<bool()> ran;
    };
    const Case cases[] = {
        {window->BtnOpen, opened("Open")},
        {window->BtnSave, opened("Save to Snapshot Document")},
        {window->BtnPrint, opened("Output Options")},
        {window->BtnFirst, onPage(1)},
        {window->BtnPrior, onPage(1)},
        {window->BtnNext, onPage(3)},
        {window->BtnLast, onPage(3)},
        {window->BtnZoomIn, zoomed(95)},
        {window->BtnZoomOut, zoomed(75)},
        {window->BtnFitWidth, fitted(&TFoRenderPreview::ZoomPageWidthFactor)},
        {window->BtnFitPage, fitted(&TFoRenderPreview::ZoomPageFactor)},
        {window->BtnExportPDF, opened("Save to PDF Document")},
        {window->BtnExportHTML, opened("Save to HTML Document")},
        {window->BtnExit, [&] { return !window->isVisible(); }},
    };
    int hidden = 0;
    for (const Case &c : cases) {
        const std::string name = c.button->text().toStdString();
        preview.SetZoomFactor(85);
        preview.RenderPage(2);
        window->UpdateButtons();
        asked.clear();
        hidden += c.button->isVisible() ? 0 : 1;
        ASSERT_TRUE(ClickCommand(*window->ToolBar, *c.button)) << name << " cannot be clicked";
        EXPECT_TRUE(c.ran()) << name;
    }
    EXPECT_GT(hidden, 0) << "the window is meant to be too narrow for every button";
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PreviewWindowTest, TheStatusBarShowsTheZoomAndTheZoomButtonsStopAtTheLimits) {
    Open(3);
    TFoRenderPreview &preview = window->FoRenderPreview();
    struct Step {
        const char *name;
        std::function<void()> act;
        const char *zoomText;
        bool zoomIn, zoomOut; // enabled
    };
    const Step steps[] = {
        {"shown", [] {}, "85 %", true, true},
        {"Zoom In", [&] { window->BtnZoomIn->click(); }, "95 %", true, true},
        {"+ to 195", [&] { preview.SetZoomFactor(185), Key(Qt::Key_Plus); }, "195 %", true, true},
        {"+ to 200", [&] { Key(Qt::Key_Plus); }, "200 %", false, true},
        {"Zoom In at 200", [&] { window->BtnZoomIn->click(); }, "200 %", false, true},
        {"Zoom Out", [&] { window->BtnZoomOut->click(); }, "190 %", true, true},
        {"- to 10", [&] { preview.SetZoomFactor(20), Key(Qt::Key_Minus); }, "10 %", true, false},
        {"- at 10", [&] { Key(Qt::Key_Minus); }, "10 %", true, false},
        {"Zoom Out from the menu at 10", [&] { window->MnuZoomOut->trigger(); }, "10 %", true, false},
    };
    for (const Step &step : steps) {
        step.act();
        EXPECT_EQ(window->ZoomPanel->text(), QString::fromLatin1(step.zoomText)) << step.name;
        EXPECT_EQ(window->BtnZoomIn->isEnabled(), step.zoomIn) << step.name;
        EXPECT_EQ(window->BtnZoomOut->isEnabled(), step.zoomOut) << step.name;
        window->PopupMenuPopup();
        EXPECT_EQ(window->MnuZoomIn->isEnabled(), step.zoomIn) << step.name;
        EXPECT_EQ(window->MnuZoomOut->isEnabled(), step.zoomOut) << step.name;
        EXPECT_EQ(window->StatusPanel->text(), QStringLiteral(" Page 1 of 3")) << step.name;
    }
}

TEST_F(PreviewWindowTest, ATypedPageNumberShowsThatPage) {
    Open(12);
    TFoRenderPreview &preview = window->FoRenderPreview();
    struct Case {
        const char *name;
        std::vector<std::variant<const char *, Qt::Key>> typed; // ending with Enter unless Esc
        int page;
        bool refused;
    };
    const Case cases[] = {
        {"a page", {"7", Qt::Key_Return}, 7, false},
        {"with spaces, Enter of the keypad", {" 12 ", Qt::Key_Enter}, 12, false},
        {"past the last page", {"99", Qt::Key_Return}, 12, false},
        {"0", {"0", Qt::Key_Return}, 1, false},
        {"a negative number, not a zoom out", {"-3", Qt::Key_Return}, 1, false},
        {"Home and End move in the field", {"2", Qt::Key_Home, "1", Qt::Key_End, Qt::Key_Return}, 12, false},
        {"letters", {"abc", Qt::Key_Return}, 3, true},
        {"a fraction", {"2.5", Qt::Key_Return}, 3, true},
        {"Esc drops the typing and leaves the window open", {"5", Qt::Key_Escape}, 3, false},
        {"nothing typed", {Qt::Key_Return}, 3, false},
    };
    for (const Case &c : cases) {
        preview.RenderPage(3);
        window->UpdateButtons();
        QTest::mouseClick(window->PageEdit, Qt::LeftButton);
        ASSERT_TRUE(window->PageEdit->hasFocus()) << c.name;
        EXPECT_EQ(window->PageEdit->selectedText(), QStringLiteral("3")) << c.name << ": typed over";
        window->PageEdit->clear();
        for (const auto &key : c.typed) {
            if (const auto *text = std::get_if<const char *>(&key))
                QTest::keyClicks(window->PageEdit, QString::fromLatin1(*text));
            else
                QTest::keyClick(window->PageEdit, std::get<Qt::Key>(key));
        }
        EXPECT_EQ(Page(), c.page) << c.name;
        EXPECT_TRUE(window->isVisible()) << c.name;
        EXPECT_DOUBLE_EQ(preview.ZoomFactor(), 85) << c.name;
        EXPECT_EQ(window->StatusPanel->text(), QStringLiteral(" Page %1 of 12").arg(c.page)) << c.name;
        EXPECT_EQ(window->BtnLast->isEnabled(), c.page < 12) << c.name;
        ASSERT_EQ(messages.messages.size(), c.refused ? 1u : 0u) << c.name;
        if (c.refused) {
            EXPECT_EQ(messages.messages[0].text, "The page number must be a whole number from 1 to 12.");
            // The typing stays, selected, to be corrected.
            EXPECT_TRUE(window->PageEdit->hasFocus()) << c.name;
            EXPECT_EQ(window->PageEdit->selectedText(), window->PageEdit->text()) << c.name;
            messages.messages.clear();
            window->ScrollBox1->setFocus();
        } else {
            // Done: the field shows the page, and the keys are the page's again.
            EXPECT_FALSE(window->PageEdit->hasFocus()) << c.name;
        }
        EXPECT_EQ(window->PageEdit->text(), QString::number(c.page)) << c.name;
    }
}

TEST_F(PreviewWindowTest, FitWidthAndFitPageFitTheWindowAndFollowItsSize) {
    Open(2);
    QScrollArea &box = *window->ScrollBox1;
    struct Case {
        const char *name;
        QToolButton *fit; // none: the fit chosen before follows the new size
        QSize windowSize;
        bool wholePage;
        Qt::Orientation fills;
    };
    const Case cases[] = {
        {"Fit Width at the restored size", window->BtnFitWidth, {615, 450}, false, Qt::Horizontal},
        {"Fit Width followed to a larger window", nullptr, {1000, 740}, false, Qt::Horizontal},
        {"Fit Page at the restored size", window->BtnFitPage, {615, 450}, true, Qt::Vertical},
        {"Fit Page followed to a wide window", nullptr, {1000, 450}, true, Qt::Vertical},
        {"Fit Page followed to a narrow window", nullptr, {400, 740}, true, Qt::Horizontal},
    };
    for (const Case &c : cases) {
        window->resize(c.windowSize);
        QTest::qWait(0);
        if (c.fit)
            c.fit->click();
        const QRect page = box.widget()->geometry(); // the page with its margin
        const QRect viewport = box.viewport()->rect();
        EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0) << c.name;
        if (c.wholePage)
            EXPECT_EQ(box.verticalScrollBar()->maximum(), 0) << c.name;
        else
            EXPECT_GT(box.verticalScrollBar()->maximum(), 0) << c.name;
        if (c.fills == Qt::Horizontal)
            EXPECT_NEAR(page.width(), viewport.width(), 2) << c.name;
        else
            EXPECT_NEAR(page.height(), viewport.height(), 4) << c.name;
        // A page narrower than the window sits in the middle.
        EXPECT_NEAR(page.left(), viewport.width() - 1 - page.right(), 1) << c.name;
        EXPECT_EQ(window->ZoomPanel->text(), window->ZoomText()) << c.name;
    }
    // Another zoom ends the fit.
    window->BtnZoomIn->click();
    const double zoom = window->FoRenderPreview().ZoomFactor();
    window->resize(800, 600);
    QTest::qWait(0);
    EXPECT_DOUBLE_EQ(window->FoRenderPreview().ZoomFactor(), zoom);
}

} // namespace
