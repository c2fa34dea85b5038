#pragma once

// Replays fuzz inputs through the check their fuzzer runs: the seeds of its corpus and every input
// that once failed it, kept in a data/fuzz-* folder of the tests.

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <functional>

namespace fiscora::test {

using FuzzCheck = std::function<QString(const QByteArray &input)>;

// Runs every file of the folder through the check; returns how many there were.
inline int ReplayFuzzInputs(const QString &folder, const FuzzCheck &check) {
    const QDir dir(folder);
    int replayed = 0;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
        SCOPED_TRACE((folder + u'/' + name).toStdString());
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(check(file.readAll()).toStdString(), "");
        ++replayed;
    }
    return replayed;
}

// The fuzzer's seed corpus (which must not be empty) and the inputs it once failed on.
inline void ReplayFuzzCorpus(const char *fuzzer, const QString &foundFolder, const FuzzCheck &check) {
    const QString seeds = QStringLiteral(FISCORA_SOURCE_DIR "/fuzz/corpus/") + QLatin1String(fuzzer);
    EXPECT_GT(ReplayFuzzInputs(seeds, check), 0) << "no seeds in " << seeds.toStdString();
    ReplayFuzzInputs(foundFolder, check);
}

} // namespace fiscora::test
