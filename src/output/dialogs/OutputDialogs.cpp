#include "output/dialogs/OutputDialogs.h"

#include "ModalRunner.h"
#include "output/dialogs/FoFormSetup.h"
#include "output/dialogs/FoFormStatus.h"
#include "output/dialogs/FoPrintJob.h"
#include "output/print/FoPrintDialogs.h"
#include "output/print/FoRenderPrinter.h"
#include "report/canvas/FoBase.h"
#include "report/core/FoErrors.h"
#include "report/system/FoSystem.h"

#include <QFile>

namespace fiscora {

namespace {

void DefaultSetup(TFoSystem &system, TOverrideMode mode, std::unique_ptr<QObject> &form) {
    switch (mode) {
    case TOverrideMode::omCreate: {
        auto setup = std::make_unique<TFoSetupForm>(system);
        setup->setWindowTitle(system.TitleSetup);
        form = std::move(setup);
        break;
    }
    case TOverrideMode::omShow:
        if (auto *setup = qobject_cast<TFoSetupForm *>(form.get());
            setup && RunModal(*setup) != QDialog::Accepted)
            system.Aborted = true;
        break;
    case TOverrideMode::omWait:
        break;
    case TOverrideMode::omFree:
        form.reset();
        break;
    }
}

void DefaultStatus(TFoSystem &system, TOverrideMode mode, std::unique_ptr<QObject> &form) {
    switch (mode) {
    case TOverrideMode::omCreate: {
        auto status = std::make_unique<TFoStatusForm>(system);
        status->setWindowTitle(system.TitleStatus);
        form = std::move(status);
        break;
    }
    case TOverrideMode::omShow: {
        auto *status = qobject_cast<TFoStatusForm *>(form.get());
        if (!status)
            break;
        if (TBaseReport *report = system.BaseReport())
            status->ShowStatusOf(report->StatusLabel);
        else
            status->show();
        break;
    }
    case TOverrideMode::omWait:
        break;
    case TOverrideMode::omFree:
        if (TBaseReport *report = system.BaseReport())
            report->StatusLabel = nullptr;
        form.reset();
        break;
    }
}

// The printer destination, and native printer output to a file: the finished snapshot played to the
// printer with the report system's copies.
void PrintSnapshot(TFoSystem &system) {
    TFoRenderPrinter printer;
    printer.MacroData() = system.StorageMacroData;
    printer.SetOutputFileName(system.OutputFileName);
    QFile file(system.SystemFiler.FileName);
    QIODevice *snapshot = system.SystemFiler.Stream();
    if (!system.SystemFiler.FileName.isEmpty()) {
        if (!file.open(QIODevice::ReadOnly))
            throw CannotOpenFileError(file.fileName(), file.errorString());
        snapshot = &file;
    }
    if (!snapshot)
        throw EFolioReport(QStringLiteral("StreamMode is smUser but Stream is nil"));
    PrintWithStatus(printer, system, nullptr,
                    [&] { PrintSnapshotCopies(printer, snapshot, system.SystemPrinter.Copies); });
    printer.SetSnapshotStream(nullptr);
}

} // namespace

void InstallOutputDialogs() {
    TFoSystemDialogs &dialogs = TFoSystem::DefaultDialogs();
    dialogs.Setup = DefaultSetup;
    dialogs.Status = DefaultStatus;
    dialogs.PrintSnapshot = PrintSnapshot;
    InstallPrinterDialogs();
}

} // namespace fiscora
