#include "ScreenshotTour.h"

#include "AmortixMain.h"
#include "CustPreviewForm_New.h"
#include "DateEdit.h"
#include "DollarEdit.h"
#include "FoFormSetup.h"
#include "FoFormStatus.h"
#include "FoRenderPreview.h"
#include "GeneralErrorDisplay.h"
#include "ModalRunner.h"
#include "MsgBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace fiscora {

namespace {

bool Save(QWidget &widget, const QDir &folder, const QString &fileName) {
    const QString path = folder.filePath(fileName);
    const bool saved = widget.grab().save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

// Types one character into the focused field, as a key press would.
void TypeInto(QWidget &field, QChar character) {
    field.setFocus(Qt::OtherFocusReason);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QApplication::sendEvent(&field, &press);
}

// Opens a field's tool dialog with its C key and saves a picture of it instead of waiting for the user.
void CaptureToolDialog(QWidget &field, const QDir &folder, const QString &fileName) {
    const ScopedModalRunner capture([&](QDialog &dialog) {
        dialog.show();
        QApplication::processEvents();
        Save(dialog, folder, fileName);
        dialog.reject();
        return static_cast<int>(QDialog::Rejected);
    });
    TypeInto(field, u'C');
}

// The longest schedule (75 rows, three pages) through Print: the Output Options dialog, the status
// window and the preview at zoom 85 and 200.
void CaptureReport(TFrmAmortix &window, const QDir &folder) {
    window.CbxProperty_Type->setCurrentIndex(1);
    window.EdtDate_Placed_in_Service->SetText(QStringLiteral("01/15/2017"));
    window.EdtCost_or_Basis->setText(QStringLiteral("145,000.00"));
    window.EdtFiscal_Year->SetText(QStringLiteral("12/31/2017"));
    window.FieldExit();
    window.BtnDepreciate->click();
    const ScopedModalRunner capture([&](QDialog &dialog) {
        dialog.show();
        QApplication::processEvents();
        if (auto *setup = qobject_cast<TFoSetupForm *>(&dialog)) {
            Save(*setup, folder, QStringLiteral("output-options.png"));
            TFoStatusForm status(window.ReportSystem());
            status.setWindowTitle(window.ReportSystem().TitleStatus);
            status.StatusLabel->setText(QStringLiteral("Generating page 2"));
            status.show();
            QApplication::processEvents();
            Save(status, folder, QStringLiteral("report-status.png"));
            setup->bbtnOK->click();
        } else if (auto *preview = qobject_cast<TFrmReportPreview *>(&dialog)) {
            preview->resize(1000, 740);
            QApplication::processEvents();
            Save(*preview, folder, QStringLiteral("preview.png"));
            preview->FoRenderPreview().SetZoomFactor(200);
            QApplication::processEvents();
            Save(*preview, folder, QStringLiteral("preview-200.png"));
            preview->close();
        }
        return static_cast<int>(dialog.result());
    });
    window.BtnPrint->click();
}

void RunTour(TFrmAmortix &window, const QDir &folder) {
    // Nobody is there to answer a message box: report messages on the console instead.
    InstallMsgBoxPresenter([](const std::string &text, const std::string &caption, int) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return kMsgResultOk;
    });
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
    QApplication::processEvents();
    Save(window, folder, QStringLiteral("main-window.png"));

    CaptureToolDialog(*window.EdtCost_or_Basis, folder, QStringLiteral("calculator.png"));
    CaptureToolDialog(*window.EdtDate_Placed_in_Service, folder, QStringLiteral("calendar.png"));
    CaptureReport(window, folder);
}

} // namespace

void StartScreenshotTourIfAsked(TFrmAmortix &window) {
    const QString folderName = qEnvironmentVariable("FISCORA_SCREENSHOT_DIR");
    if (folderName.isEmpty())
        return;
    QTimer::singleShot(500, &window, [&window, folderName] {
        RunHandlingExceptions(
            [&] {
                RunTour(window, QDir(folderName));
                return true;
            },
            false);
        QApplication::quit();
    });
}

} // namespace fiscora
