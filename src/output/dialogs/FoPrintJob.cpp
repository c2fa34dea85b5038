#include "output/dialogs/FoPrintJob.h"

#include "ScopeExit.h"
#include "output/dialogs/FoFormStatus.h"
#include "output/print/FoRenderPrinter.h"
#include "report/system/FoSystem.h"

#include <memory>

namespace fiscora {

void PrintWithStatus(TFoRenderPrinter &printer, TFoSystem &system, QWidget *parent,
                     const std::function<void()> &print) {
    printer.StatusFormat = system.SystemPrinter.StatusFormat;
    std::unique_ptr<TFoStatusForm> status;
    if (system.SystemOptions & soShowStatus) {
        status = std::make_unique<TFoStatusForm>(system, parent);
        if (!system.TitleStatus.isEmpty())
            status->setWindowTitle(system.TitleStatus);
        status->OnCancel = [&printer] { printer.Abort(); };
        status->ShowStatusOf(printer.StatusLabel);
    }
    ScopeExit detach([&printer] { printer.StatusLabel = nullptr; });
    print();
}

} // namespace fiscora
