#include "report/playback/FoRenderStream.h"

#include "report/core/FoErrors.h"
#include "report/core/FoStreamAnsi.h"

#include <QFile>

#include <cstdarg>

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
    FOwnedStream.reset();
    FOutputStream = nullptr;
    FActiveStream = nullptr;
    CloseSnapshot();
}

void TFoRenderStream::InitFileStream(const QString &AFileName) {
    auto file = std::make_unique<QFile>(AFileName);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw CannotCreateFileError(AFileName, file->errorString());
    FOwnedStream = std::move(file);
    FOutputStream = FOwnedStream.get();
    FActiveStream = FOutputStream;
}

void TFoRenderStream::SetOutputStream(QIODevice *value) {
    FOutputStream = value;
    FActiveStream = value;
}

} // namespace fiscora
