#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// Runs the built fiscora-cli and captures what it printed.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline CliResult RunCli(const std::vector<std::string> &args, const std::string &workingDir = {}) {
    QStringList arguments;
    for (const auto &arg : args)
        arguments << QString::fromStdString(arg);
    QProcess process;
    if (!workingDir.empty())
        process.setWorkingDirectory(QString::fromStdString(workingDir));
    process.start(QStringLiteral(FISCORA_CLI), arguments);
    process.closeWriteChannel();
    CliResult result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.err = "fiscora-cli did not finish within a minute";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}
