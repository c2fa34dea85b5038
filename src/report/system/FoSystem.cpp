#include "report/system/FoSystem.h"

#include "ScopeExit.h"
#include "report/core/FoErrors.h"
#include "report/devices/FoPrinterDevice.h"
#include "report/playback/FoRender.h"
#include "report/snapshot/FoFiler.h"

#include <QBuffer>
#include <QFile>

#include <exception>

namespace fiscora {
namespace {

constexpr const char *kMsgNoSetupDialog =
    "The output options dialog is not available; clear ssAllowSetup or assign OverrideSetup";
constexpr const char *kMsgNoStatusWindow =
    "The report status window is not available; clear soShowStatus or assign OverrideStatus";
constexpr const char *kMsgNoPreview = "The report preview is not available; assign OverridePreview";
constexpr const char *kMsgNoPrinterOutput = "Printer output is not available in this program";

} // namespace

TFoSystem::TFoSystem(QObject *parent) : QObject(parent) {}

TFoSystem::~TFoSystem() = default;

TFoSystemDialogs &TFoSystem::DefaultDialogs() {
    static TFoSystemDialogs dialogs;
    return dialogs;
}

TBaseReport *TFoSystem::BaseReport() const {
    return FWriter;
}

const TOverrideEvent &TFoSystem::ChooseOverride(const TOverrideEvent &custom, const TOverrideEvent &fallback,
                                                const char *missing) {
    if (custom)
        return custom;
    if (fallback)
        return fallback;
    throw EFolioReport(QString::fromLatin1(missing));
}

void TFoSystem::RunOverrideSteps(TOverrideEvent handler) {
    std::unique_ptr<QObject> form;
    handler(*this, TOverrideMode::omCreate, form);
    ScopeExit freeForm([&] { handler(*this, TOverrideMode::omFree, form); });
    handler(*this, TOverrideMode::omShow, form);
    handler(*this, TOverrideMode::omWait, form);
}

void TFoSystem::DefaultStatus(TOverrideMode mode, std::unique_ptr<QObject> &form) {
    if (OverrideStatus) {
        OverrideStatus(*this, mode, form);
        return;
    }
    // The default status window exists only when soShowStatus asks for it.
    if (!(SystemOptions & soShowStatus))
        return;
    if (mode != TOverrideMode::omCreate && !form)
        return;
    ChooseOverride({}, DefaultDialogs().Status, kMsgNoStatusWindow)(*this, mode, form);
}

void TFoSystem::RunSetup() {
    ReportDest = DefaultDest;
    Aborted = false;
    if (!(SystemSetups & ssAllowSetup))
        return;
    RunOverrideSteps(ChooseOverride(OverrideSetup, DefaultDialogs().Setup, kMsgNoSetupDialog));
}

void TFoSystem::Execute() {
    RunSetup();
    if (Aborted)
        return;
    {
        // The printer's own copy count decides whether printer output repeats the pages itself.
        TFoSnapshotWriter probe;
        FForceMultiPrint = PrintsCopiesAsPasses(SystemPrinter.Copies, probe.MaxCopies());
    }
    if (SystemFiler.StreamMode != TStreamMode::smFile)
        SystemFiler.FileName.clear();
    ScopeExit releaseSnapshot([this] { ReleaseSnapshot(); });
    if (!(SystemOptions & soNoGenerate))
        RunGeneration(true);
    if (!Aborted)
        RunDestination();
}

void TFoSystem::Generate() {
    if (SystemOptions & soNoGenerate)
        return;
    // Generation alone: no dialog, no status window, no destination; the snapshot, a temporary
    // file included, stays with the filer for the caller.
    if (SystemFiler.StreamMode != TStreamMode::smFile)
        SystemFiler.FileName.clear();
    {
        ScopeFailure release([this] { ReleaseSnapshot(); });
        RunGeneration(false);
    }
    FTempSnapshot.clear();
}

void TFoSystem::RunGeneration(bool withStatus) {
    Aborted = true;
    std::unique_ptr<QObject> statusForm;
    const auto status = [&](TOverrideMode mode) {
        if (withStatus)
            DefaultStatus(mode, statusForm);
    };
    status(TOverrideMode::omCreate);
    auto writer = std::make_unique<TFoSnapshotWriter>();
    ScopeExit finishGeneration([&] {
        SystemFiler.FileName = writer->FileName();
        if (writer->StreamMode() == TStreamMode::smTempFile)
            FTempSnapshot = writer->FileName();
        FWriter = nullptr;
        writer.reset();
        status(TOverrideMode::omFree);
    });
    FWriter = writer.get();
    SystemPrinter.InitPrinter(*writer);
    SystemFiler.InitFiler(*writer);
    if (ReportDest == TReportDest::rdFile && !RenderObject) {
        if (DoNativeOutput) {
            writer->SetOutputName(OutputFileName);
        } else {
            // The writer puts the file in place only when the job ends unaborted.
            writer->SetStreamMode(TStreamMode::smFile);
            writer->SetFileName(OutputFileName);
        }
    }
    static_cast<TReportEvents &>(*writer) = *this;
    writer->OnRenderPage = OnRenderPage;
    writer->OnRenderData = OnRenderData;
    status(TOverrideMode::omShow);
    writer->Execute();
    StorageMacroData = writer->MacroData();
    Aborted = writer->Aborted();
}

void TFoSystem::RunDestination() {
    switch (ReportDest) {
    case TReportDest::rdPrinter:
        break;
    case TReportDest::rdFile:
        if (DoNativeOutput)
            break;
        if (RenderObject)
            RenderToObject();
        // Without a render object the snapshot itself was written to OutputFileName.
        return;
    case TReportDest::rdPreview:
        RunOverrideSteps(ChooseOverride(OverridePreview, DefaultDialogs().Preview, kMsgNoPreview));
        return;
    }
    const auto &printSnapshot = DefaultDialogs().PrintSnapshot;
    if (!printSnapshot)
        throw EFolioReport(QString::fromLatin1(kMsgNoPrinterOutput));
    printSnapshot(*this);
}

void TFoSystem::RenderToObject() {
    std::unique_ptr<QIODevice> owned;
    QIODevice *snapshot = nullptr;
    switch (SystemFiler.StreamMode) {
    case TStreamMode::smMemory: {
        auto copy = std::make_unique<QBuffer>();
        if (auto *memory = qobject_cast<QBuffer *>(SystemFiler.Stream()))
            copy->setData(memory->data());
        copy->open(QIODevice::ReadOnly);
        owned = std::move(copy);
        snapshot = owned.get();
        break;
    }
    case TStreamMode::smUser:
        snapshot = SystemFiler.Stream();
        if (!snapshot)
            throw EFolioReport(QStringLiteral("StreamMode is smUser but Stream is nil"));
        break;
    case TStreamMode::smFile:
    case TStreamMode::smTempFile: {
        auto file = std::make_unique<QFile>(SystemFiler.FileName);
        if (!file->open(QIODevice::ReadOnly))
            throw EFolioReport(
                QStringLiteral("Cannot open the report snapshot \"%1\"").arg(SystemFiler.FileName));
        owned = std::move(file);
        snapshot = owned.get();
        break;
    }
    }
    snapshot->seek(0);
    RenderObject->SetOutputFileName(OutputFileName);
    RenderObject->Render(snapshot);
}

void TFoSystem::ReleaseSnapshot() {
    if (SystemFiler.StreamMode == TStreamMode::smMemory)
        SystemFiler.FreeMemoryStream();
    if (!FTempSnapshot.isEmpty()) {
        QFile::remove(FTempSnapshot);
        FTempSnapshot.clear();
    }
}

} // namespace fiscora
