#pragma once

#include "report/playback/FoRender.h"

#include <QIODevice>
#include <QString>

#include <memory>

namespace fiscora {

class TOutputFileTarget;

// A renderer that writes text output to a stream, in the ANSI code page (Windows-1252) with CR LF.
class TFoRenderStream : public TFoRender {
public:
    TFoRenderStream();
    ~TFoRenderStream() override;

    // Text converted to ANSI and written to the active stream; empty text writes nothing.
    virtual void Print(const QString &Text);
    // printf-style formatting; numbers always use "." as decimal separator.
    void PrintF(const char *Format, ...) __attribute__((format(printf, 2, 3)));
    virtual void PrintLn(const QString &Text = QString());
    void PrintLnF(const char *Format, ...) __attribute__((format(printf, 2, 3)));
    // Frees the owned stream, clears the output stream and closes a snapshot the renderer opened.
    virtual void CloseOutput();

    // Creates the file (beside an earlier one of the name, TOutputFileTarget) and makes it the owned,
    // output and active stream; raises when it cannot.
    void InitFileStream(const QString &AFileName);
    // Frees the owned stream and clears the output stream; the file InitFileStream made becomes the
    // output unless an error is on its way. Raises when the file cannot be completed.
    void ReleaseFileStream();
    QIODevice *OutputStream() const { return FOutputStream; }
    void SetOutputStream(QIODevice *value);
    QIODevice *OwnedStream() const { return FOwnedStream.get(); }

protected:
    QIODevice *FActiveStream = nullptr;
    QIODevice *FOutputStream = nullptr;
    std::unique_ptr<QIODevice> FOwnedStream;

private:
    std::unique_ptr<TOutputFileTarget> FFileTarget;
};

} // namespace fiscora
