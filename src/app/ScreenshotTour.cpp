#include "ScreenshotTour.h"

#include "AmortixMain.h"
#include "BookChart.h"
#include "BookWindow.h"
#include "DateEdit.h"
#include "DollarEdit.h"
#include "GeneralErrorDisplay.h"
#include "HelpWindow.h"
#include "ModalRunner.h"
#include "MsgBox.h"
#include "TourBook.h"
#include "WindowPicture.h"
#include "output/dialogs/FoFormSetup.h"
#include "output/dialogs/FoFormStatus.h"
#include "output/preview/CustPreviewForm_New.h"
#include "output/screen/FoRenderPreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

namespace fiscora {

namespace {

// Saves the pictures asked for into one folder; at a scale other than 100 % the file names end in
// the scale ("main-window-200.png").
class PictureFolder {
public:
    PictureFolder(const QDir &folder, const QStringList &wanted, int scalePercent)
        : FFolder(folder), FWanted(wanted),
          FSuffix(scalePercent == 100 ? QString() : QStringLiteral("-%1").arg(scalePercent)) {}

    bool Wants(const QString &picture) const { return FWanted.isEmpty() || FWanted.contains(picture); }

    bool WantsAnyOf(const QStringList &pictures) const {
        return std::any_of(pictures.begin(), pictures.end(), [this](const QString &p) { return Wants(p); });
    }

    void Save(QWidget &window, const QString &picture) const {
        if (!Wants(picture))
            return;
        const QString path = FFolder.filePath(picture + FSuffix + QStringLiteral(".png"));
        const bool saved = WindowPicture(window).save(path);
        std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    }

    // A part of a window by itself, without the frame.
    void SaveWidget(QWidget &widget, const QString &picture) const {
        if (!Wants(picture))
            return;
        const QString path = FFolder.filePath(picture + FSuffix + QStringLiteral(".png"));
        const bool saved = widget.grab().save(path);
        std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    }

private:
    QDir FFolder;
    QStringList FWanted; // empty: all
    QString FSuffix;
};

// Types one character into the focused field, as a key press would.
void TypeInto(QWidget &field, QChar character) {
    field.setFocus(Qt::OtherFocusReason);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QApplication::sendEvent(&field, &press);
}

// Opens a field's tool dialog with its C key and saves a picture of it instead of waiting for the user.
void CaptureToolDialog(QWidget &field, const PictureFolder &pictures, const QString &picture) {
    if (!pictures.Wants(picture))
        return;
    const ScopedModalRunner capture([&](QDialog &dialog) {
        dialog.show();
        pictures.Save(dialog, picture);
        dialog.reject();
        return static_cast<int>(QDialog::Rejected);
    });
    TypeInto(field, u'C');
}

// The longest schedule (75 rows, three pages) through Print: the Output Options dialog, the status
// window and the preview at zoom 85 and 200.
void CaptureReport(TFrmAmortix &window, const PictureFolder &pictures) {
    if (!pictures.WantsAnyOf({QStringLiteral("output-options"), QStringLiteral("report-status"),
                              QStringLiteral("preview"), QStringLiteral("preview-200")}))
        return;
    window.CbxProperty_Type->setCurrentIndex(1);
    window.EdtDate_Placed_in_Service->SetText(QStringLiteral("01/15/2017"));
    window.EdtCost_or_Basis->setText(QStringLiteral("145,000.00"));
    window.EdtFiscal_Year->SetText(QStringLiteral("12/31/2017"));
    window.FieldExit();
    window.BtnDepreciate->click();
    const ScopedModalRunner capture([&](QDialog &dialog) {
        dialog.show();
        if (auto *setup = qobject_cast<TFoSetupForm *>(&dialog)) {
            pictures.Save(*setup, QStringLiteral("output-options"));
            TFoStatusForm status(window.ReportSystem());
            status.setWindowTitle(window.ReportSystem().TitleStatus);
            status.StatusLabel->setText(QStringLiteral("Generating page 2"));
            status.show();
            pictures.Save(status, QStringLiteral("report-status"));
            setup->bbtnOK->click();
        } else if (auto *preview = qobject_cast<TFrmReportPreview *>(&dialog)) {
            // As the report system opens it: maximized.
            pictures.Save(*preview, QStringLiteral("preview"));
            preview->FoRenderPreview().SetZoomFactor(200);
            pictures.Save(*preview, QStringLiteral("preview-200"));
            preview->close();
        }
        return static_cast<int>(dialog.result());
    });
    window.BtnPrint->click();
}

void CaptureHelp(TFrmAmortix &window, const PictureFolder &pictures) {
    if (!pictures.Wants(QStringLiteral("help")))
        return;
    window.BtnHelp->click();
    if (auto *help = window.findChild<HelpWindow *>()) {
        pictures.Save(*help, QStringLiteral("help"));
        help->close();
    }
}

// The asset book window on a 40-asset book in tax year 2026, and its chart by itself. The book is
// made at FISCORA_SCREENSHOT_BOOK when that is set (so that the book reports can be pictured from
// it), else in a folder that goes with the tour.
void CaptureBook(TFrmAmortix &window, const PictureFolder &pictures) {
    if (!pictures.WantsAnyOf({QStringLiteral("book-window"), QStringLiteral("book-chart")}))
        return;
    QTemporaryDir folder;
    QString path = qEnvironmentVariable("FISCORA_SCREENSHOT_BOOK");
    if (path.isEmpty())
        path = folder.filePath(QStringLiteral("tour.fbook"));
    MakeTourBook(path);
    BookWindow &book = window.OpenBookWindow(path);
    book.SetTaxYear(2026);
    book.SelectAsset(book.Assets().at(38).record.id);
    QApplication::processEvents();
    pictures.Save(book, QStringLiteral("book-window"));
    pictures.SaveWidget(*book.ChtYears, QStringLiteral("book-chart"));
    book.close();
}

void RunTour(TFrmAmortix &window, const PictureFolder &pictures) {
    // Nobody is there to answer a message box: report messages on the console instead.
    InstallMsgBoxPresenter([](const std::string &text, const std::string &caption, int) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return kMsgResultOk;
    });
    // Away from every window: the pointer lights up the button it rests on.
    if (const QScreen *screen = window.screen())
        QCursor::setPos(screen->geometry().bottomRight());
    // Without a window manager nobody activates the window, and fields only see the focus in an active one.
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
    window.EdtProperty_Description->setText(QStringLiteral("Company car"));
    window.CbxProperty_Type->setFocus(Qt::OtherFocusReason);
    window.CbxProperty_Type->setCurrentIndex(1);
    window.EdtDate_Placed_in_Service->setFocus(Qt::TabFocusReason);
    window.EdtDate_Placed_in_Service->SetText(QStringLiteral("03/15/2026"));
    window.EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
    for (const QChar digit : QStringLiteral("48500"))
        TypeInto(*window.EdtCost_or_Basis, digit);
    window.EdtFiscal_Year->setFocus(Qt::TabFocusReason);
    window.EdtFiscal_Year->SetText(QStringLiteral("12/31/2026"));
    window.ChkBonusDepr->click();
    window.BtnDepreciate->click();
    pictures.Save(window, QStringLiteral("main-window"));

    CaptureToolDialog(*window.EdtCost_or_Basis, pictures, QStringLiteral("calculator"));
    CaptureToolDialog(*window.EdtDate_Placed_in_Service, pictures, QStringLiteral("calendar"));
    CaptureHelp(window, pictures);
    CaptureReport(window, pictures);
    CaptureBook(window, pictures);
}

} // namespace

void StartScreenshotTourIfAsked(TFrmAmortix &window) {
    const QString folderName = qEnvironmentVariable("FISCORA_SCREENSHOT_DIR");
    if (folderName.isEmpty())
        return;
    QTimer::singleShot(500, &window, [&window, folderName] {
        RunHandlingExceptions(
            [&] {
                const QStringList wanted =
                    qEnvironmentVariable("FISCORA_SCREENSHOT_WINDOWS").split(u',', Qt::SkipEmptyParts);
                RunTour(window,
                        PictureFolder(QDir(folderName), wanted, qRound(window.devicePixelRatioF() * 100)));
                return true;
            },
            false);
        QApplication::quit();
    });
}

} // namespace fiscora
