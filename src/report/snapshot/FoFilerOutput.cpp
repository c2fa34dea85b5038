// Snapshot writer: the output stream of each stream mode and when records may be written.
#include "report/snapshot/FoFiler.h"

#include "report/core/FoErrors.h"
#include "report/core/FoOutputFileTarget.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <exception>

namespace fiscora {

void TFoSnapshotWriter::SetHoldOutput(bool value) {
    FHoldOutput = value;
    if (FOutput)
        FOutput->HoldOutput = value;
}

bool TFoSnapshotWriter::CanWrite() const {
    return FOutput && Printing() && FPageOpen && !FHoldOutput && OutputValid();
}

void TFoSnapshotWriter::OpenOutput() {
    switch (FStreamMode) {
    case TStreamMode::smMemory: {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        FOwnedStream = std::move(buffer);
        break;
    }
    case TStreamMode::smFile: {
        FFileTarget = std::make_unique<TOutputFileTarget>(FOutputFileName);
        auto file = std::make_unique<QFile>(FFileTarget->WritePath());
        if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate))
            throw CannotCreateFileError(FOutputFileName, file->errorString());
        FOwnedStream = std::move(file);
        break;
    }
    case TStreamMode::smUser:
        if (!FStream)
            throw EFolioReport(QStringLiteral("StreamMode is smUser but Stream is nil"));
        if (!FStream->isOpen() && !FStream->open(QIODevice::ReadWrite))
            throw EFolioReport(QStringLiteral("Stream write error: %1").arg(FStream->errorString()));
        if (!FStream->seek(0))
            throw EFolioReport(QStringLiteral("Stream write error: %1").arg(FStream->errorString()));
        OutputStream = FStream;
        return;
    case TStreamMode::smTempFile: {
        auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/FOXXXXXX"));
        file->setAutoRemove(false);
        if (!file->open())
            throw CannotCreateFileError(file->fileTemplate(), file->errorString());
        FOutputFileName = file->fileName();
        FOwnedStream = std::move(file);
        break;
    }
    }
    OutputStream = FOwnedStream.get();
}

void TFoSnapshotWriter::CloseOutput() {
    FOutput.reset();
    // Finish also runs while an error of the job unwinds it: that job's file is no output either.
    const bool complete = !Aborted() && std::uncaught_exceptions() == 0;
    if (FStreamMode == TStreamMode::smMemory && FOwnedStream && !FOutputFileName.isEmpty() && complete) {
        const QByteArray &bytes = static_cast<QBuffer *>(FOwnedStream.get())->data();
        TOutputFileTarget target(FOutputFileName);
        QFile file(target.WritePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
            !file.flush())
            throw CannotCreateFileError(FOutputFileName, file.errorString());
        file.close();
        target.Commit();
    } else if (auto *file = qobject_cast<QFile *>(FOwnedStream.get());
               file && FFileTarget && complete && !file->flush()) {
        throw CannotCreateFileError(FOutputFileName, file->errorString());
    }
    FOwnedStream.reset();
    if (FFileTarget && complete)
        FFileTarget->Commit();
    FFileTarget.reset();
    OutputStream = nullptr;
}

} // namespace fiscora
