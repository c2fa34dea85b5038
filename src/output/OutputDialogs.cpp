#include "OutputDialogs.h"

#include "FoFormSetup.h"
#include "FoFormStatus.h"
#include "FoPrintDialogs.h"
#include "ModalRunner.h"
#include "report/canvas/FoBase.h"
#include "report/system/FoSystem.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

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
            report->StatusLabel = [label = QPointer<QLabel>(status->StatusLabel)](const QString &text) {
                if (label)
                    label->setText(text);
            };
        status->CancelButton->setText(QStringLiteral("Cancel"));
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

} // namespace

void InstallOutputDialogs() {
    TFoSystemDialogs &dialogs = TFoSystem::DefaultDialogs();
    dialogs.Setup = DefaultSetup;
    dialogs.Status = DefaultStatus;
    InstallPrinterDialogs();
}

} // namespace fiscora
