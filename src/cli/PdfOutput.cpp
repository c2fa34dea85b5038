#include "PdfOutput.h"

#include "PdfExport.h"
#include "report/core/FoErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace fiscora::cli {

void WritePdfOutput(QIODevice &Snapshot, const QString &OutputFile) {
    QTemporaryFile partial(QFileInfo(OutputFile).absolutePath() +
                           QStringLiteral("/.fiscora-export-XXXXXX.part"));
    if (!partial.open())
        throw EFolioReport(QStringLiteral("Cannot create the output file \"%1\": %2")
                               .arg(OutputFile, partial.errorString()));
    WriteSnapshotPdf(Snapshot, partial);
    if (!partial.flush() || partial.error() != QFileDevice::NoError)
        throw EFolioReport(
            QStringLiteral("Cannot write the output file \"%1\": %2").arg(OutputFile, partial.errorString()));
    partial.close();
    if (std::rename(QFile::encodeName(partial.fileName()).constData(),
                    QFile::encodeName(OutputFile).constData()) != 0)
        throw EFolioReport(QStringLiteral("Cannot write the output file \"%1\": %2")
                               .arg(OutputFile, QString::fromLocal8Bit(std::strerror(errno))));
    partial.setAutoRemove(false);
    // The temporary file was private; the PDF is an ordinary file.
    QFile::setPermissions(OutputFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

} // namespace

std::unique_ptr<QGuiApplication> EnsureHeadlessGui() {
    if (QCoreApplication::instance())
        return nullptr;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtMessages);
    static int argc = 1;
    static char name[] = "fiscora-cli";
    static char *argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace fiscora::cli
