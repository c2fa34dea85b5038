#include "report/playback/FoRenderStream.h"

#include "report/core/FoErrors.h"
#include "report/core/FoOutputFileTarget.h"
#include "report/core/FoStreamAnsi.h"

#include <QFile>

#include <cstdarg>
#include <exception>

namespace fiscora {

TFoRenderStream::TFoRenderStream() = default;

TFoRenderStream::~TFoRenderStream() = default;

void TFoRenderStream::Print(const QString &Text) {
    if (Text.isEmpty() || !FActiveStream)
        return;
    const QByteArray bytes = AnsiFromText(Text);
    if (FActiveStream->write(bytes) != bytes.size())
        throw EFolioReport(QStringLiteral("Stream write error: %1").arg(FActiveStream->errorString()));
}

void TFoRenderStream::PrintF(const char *Format, ...) {
    va_list args;
    va_start(args, Format);
    const QString text = QString::vasprintf(Format, args);
    va_end(args);
    Print(text);
}

void TFoRenderStream::PrintLn(const QString &Text) {
    Print(Text + QStringLiteral("\r\n"));
}

void TFoRenderStream::PrintLnF(const char *Format, ...) {
    va_list args;
    va_start(args, Format);
    const QString text = QString::vasprintf(Format, args);
    va_end(args);
    PrintLn(text);
}

void TFoRenderStream::CloseOutput() {
    ReleaseFileStream();
    CloseSnapshot();
}

void TFoRenderStream::InitFileStream(const QString &AFileName) {
    auto target = std::make_unique<TOutputFileTarget>(AFileName);
    auto file = std::make_unique<QFile>(target->WritePath());
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw CannotCreateFileError(AFileName, file->errorString());
    FFileTarget = std::move(target);
    FOwnedStream = std::move(file);
    FOutputStream = FOwnedStream.get();
    FActiveStream = FOutputStream;
}

void TFoRenderStream::ReleaseFileStream() {
    const bool complete = FFileTarget && std::uncaught_exceptions() == 0;
    if (auto *file = qobject_cast<QFile *>(FOwnedStream.get()); complete && file && !file->flush())
        throw CannotCreateFileError(FFileTarget->Target(), file->errorString());
    FOwnedStream.reset();
    FOutputStream = nullptr;
    FActiveStream = nullptr;
    if (complete)
        FFileTarget->Commit();
    FFileTarget.reset();
}

void TFoRenderStream::SetOutputStream(QIODevice *value) {
    FOutputStream = value;
    FActiveStream = value;
}

} // namespace fiscora
