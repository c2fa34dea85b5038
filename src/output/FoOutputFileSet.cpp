#include "FoOutputFileSet.h"

#include "report/core/FoErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace fiscora {

namespace {

// One spelling per file, so "a/../b.html" and "b.html" are the same file.
QString KeyOf(const QString &fileName) {
    return QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
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
    for (TFile &file : FFiles)
        if (file.Name == key)
            return &file;
    return nullptr;
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
        QSaveFile out(file.Name);
        const QByteArray &bytes = file.Device->data();
        const bool done = out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
        if (!done) {
            const QString reason = out.errorString();
            for (const QString &name : written)
                QFile::remove(name);
            throw EFolioReport(QStringLiteral("Cannot create file \"%1\". %2")
                                   .arg(QDir::toNativeSeparators(file.Name), reason));
        }
        written << file.Name;
    }
    FFiles.clear();
}

} // namespace fiscora
