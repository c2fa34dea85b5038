#include "FoOutputFileSet.h"

#include "report/core/FoErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace fiscora {

namespace {

// One spelling per file, so "a/../b.html" and "b.html" are the same file.
QString KeyOf(const QString &fileName) {
    return QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
}

// Writes the bytes under a fresh name beside the file, then renames that over it, so an older file
// is replaced at once or not at all. (No sync to disk: an export is not worth a wait per file.)
bool WriteReplacing(const QString &fileName, const QByteArray &bytes, QString &reason) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        QFile part(
            fileName +
            QStringLiteral(".%1.part").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (part.exists())
                continue;
            reason = part.errorString();
            return false;
        }
        const bool written = part.write(bytes) == bytes.size() && part.flush();
        part.close();
        if (written && std::rename(QFile::encodeName(part.fileName()).constData(),
                                   QFile::encodeName(fileName).constData()) == 0)
            return true;
        reason = written ? QString::fromLocal8Bit(std::strerror(errno)) : part.errorString();
        part.remove();
        return false;
    }
    reason = QStringLiteral("No free name for a temporary file.");
    return false;
}

} // namespace

TFoOutputFileSet::TFoOutputFileSet() = default;
TFoOutputFileSet::~TFoOutputFileSet() = default;

void TFoOutputFileSet::Protect(const QString &FileName) {
    if (FileName.isEmpty())
        return;
    FProtected << KeyOf(FileName);
    const QString canonical = QFileInfo(FileName).canonicalFilePath();
    if (!canonical.isEmpty())
        FProtected << canonical;
}

TFoOutputFileSet::TFile *TFoOutputFileSet::Find(const QString &key) {
    const auto found = FIndex.constFind(key);
    return found == FIndex.constEnd() ? nullptr : &FFiles[*found];
}

const TFoOutputFileSet::TFile *TFoOutputFileSet::Find(const QString &key) const {
    return const_cast<TFoOutputFileSet *>(this)->Find(key);
}

QIODevice &TFoOutputFileSet::Create(const QString &FileName) {
    const QString key = KeyOf(FileName);
    const QString canonical = QFileInfo(key).canonicalFilePath();
    if (FProtected.contains(key) || (!canonical.isEmpty() && FProtected.contains(canonical)))
        throw EFolioReport(QStringLiteral("Cannot create file \"%1\". It is the report being exported.")
                               .arg(QDir::toNativeSeparators(key)));
    TFile *file = Find(key);
    if (!file) {
        FIndex.insert(key, FFiles.size());
        FFiles.push_back(TFile{key, std::make_unique<QBuffer>()});
        file = &FFiles.back();
    }
    file->Device->close();
    file->Device->setData(QByteArray());
    file->Device->open(QIODevice::WriteOnly | QIODevice::Truncate);
    return *file->Device;
}

bool TFoOutputFileSet::Contains(const QString &FileName) const {
    return Find(KeyOf(FileName)) != nullptr;
}

bool TFoOutputFileSet::IsFree(const QString &FileName) const {
    return !Contains(FileName) && !QFileInfo::exists(FileName);
}

QStringList TFoOutputFileSet::FileNames() const {
    QStringList names;
    for (const TFile &file : FFiles)
        names << file.Name;
    return names;
}

void TFoOutputFileSet::Commit() {
    QStringList written;
    for (TFile &file : FFiles) {
        file.Device->close();
        QString reason;
        if (!WriteReplacing(file.Name, file.Device->data(), reason)) {
            for (const QString &name : written)
                QFile::remove(name);
            throw EFolioReport(QStringLiteral("Cannot create file \"%1\". %2")
                                   .arg(QDir::toNativeSeparators(file.Name), reason));
        }
        written << file.Name;
    }
    FFiles.clear();
    FIndex.clear();
}

} // namespace fiscora
