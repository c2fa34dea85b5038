#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <map>
#include <string>
#include <vector>

// Runs the built fiscora-cli and captures what it printed.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// How to run it, besides the arguments.
struct CliRun {
    QString workingDir;
    QString standardOutputFile;             // standard output goes there instead of into CliResult::out
    std::map<QString, QString> environment; // set on top of the test's own

    static CliRun In(const QString &folder) {
        CliRun run;
        run.workingDir = folder;
        return run;
    }
    static CliRun OutputTo(const QString &file) {
        CliRun run;
        run.standardOutputFile = file;
        return run;
    }
    static CliRun WithVariable(const QString &name, const QString &value) {
        CliRun run;
        run.environment[name] = value;
        return run;
    }
};

inline QStringList CliArguments(const std::vector<std::string> &args) {
    QStringList arguments;
    for (const auto &arg : args)
        arguments << QString::fromStdString(arg);
    return arguments;
}

// Waits for a started process: its exit code, or -1 when it ended by a signal or did not end within
// `seconds` (it is then killed).
inline int WaitForExit(QProcess &process, int seconds) {
    process.closeWriteChannel();
    if (!process.waitForFinished(seconds * 1000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

inline CliResult RunCli(const std::vector<std::string> &args, const CliRun &run = {}) {
    QProcess process;
    if (!run.workingDir.isEmpty())
        process.setWorkingDirectory(run.workingDir);
    if (!run.standardOutputFile.isEmpty())
        process.setStandardOutputFile(run.standardOutputFile);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : run.environment)
        environment.insert(name, value);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FISCORA_CLI), CliArguments(args));
    CliResult result;
    result.exitCode = WaitForExit(process, 60);
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}
