#include "CustPreviewForm_New.h"
#include "FileDialogs.h"
#include "FoFormSetup.h"
#include "FoHtmlExport.h"
#include "FoRenderHTML.h"
#include "FoRenderPDF.h"
#include "FoRenderPreview.h"
#include "FoSnapshotTestSupport.h"
#include "ModalRunner.h"
#include "MsgBox.h"
#include "MsgBoxRecorder.h"
#include "PdfExport.h"
#include "ScopeExit.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

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

QStringList FilesIn(const QTemporaryDir &dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

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

} // namespace
