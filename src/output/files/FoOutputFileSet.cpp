#include "output/files/FoOutputFileSet.h"

#include "PartialFile.h"
#include "ScopeExit.h"
#include "report/core/FoErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace fiscora {

namespace {

// One spelling per file, so "a/../b.html" and "b.html" are the same file.
QString KeyOf(const QString &fileName) {
    return QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
}

[[noreturn]] void RaiseCannotCreate(const QString &fileName, const QString &reason) {
    throw CannotCreateFileError(QDir::toNativeSeparators(fileName), reason);
}

// A fresh name beside the file, "NAME.1a2b3c4d.SUFFIX", that no file has yet.
QString SiblingName(const QString &fileName, const char *suffix) {
    return fileName +
           QStringLiteral(".%1.").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')) +
           QLatin1String(suffix);
}

// One file of the set on its way to its name. (No sync to disk: an export is not worth a wait per file.)
struct TStagedFile {
    QString Name;
    std::unique_ptr<PartialFile> Part; // the new bytes, under a name of their own until renamed over Name
    QString Older; // a second name of the file Name had, kept until the whole set is in place
    bool InPlace = false;
};

// Writes the bytes under a fresh name beside the file.
std::unique_ptr<PartialFile> WritePart(const QString &fileName, const QByteArray &bytes) {
    auto part = std::make_unique<PartialFile>(QFile::encodeName(fileName).toStdString());
    if (part->Error() != 0)
        RaiseCannotCreate(fileName, SystemErrorText(part->Error()));
    QFile file(QFile::decodeName(part->Path().c_str()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush())
        RaiseCannotCreate(fileName, file.errorString());
    return part;
}

// Gives the older file a second name, so that it can be put back. A hard link leaves the file under
// its name until the new one replaces it; where links are not supported it is moved aside.
bool KeepOlder(TStagedFile &file, int &error) {
    const QByteArray name = QFile::encodeName(file.Name);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        return true; // no older file
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString older = SiblingName(file.Name, "old");
        const QByteArray target = QFile::encodeName(older);
        if (::link(name.constData(), target.constData()) == 0) {
            file.Older = older;
            return true;
        }
        if (errno == EEXIST || ::lstat(target.constData(), &status) == 0)
            continue;
        if (std::rename(name.constData(), target.constData()) == 0) {
            file.Older = older;
            return true;
        }
        error = errno;
        return false;
    }
    error = EEXIST;
    return false;
}

// Puts things back as they were before the set was put in place: older files under their names, new
// files gone.
void Restore(std::vector<TStagedFile> &files) {
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        const QByteArray name = QFile::encodeName(file->Name);
        if (!file->Older.isEmpty()) {
            const QByteArray older = QFile::encodeName(file->Older);
            std::rename(older.constData(), name.constData());
            ::unlink(older.constData()); // left when both names were links of one file
        } else if (file->InPlace) {
            ::unlink(name.constData());
        }
    }
    files.clear(); // the parts not in place go with their owners
}

} // namespace

TFoOutputFileSet::TFoOutputFileSet() = default;
TFoOutputFileSet::~TFoOutputFileSet() = default;

void TFoOutputFileSet::Protect(const QString &FileName) {
    if (FileName.isEmpty())
        return;
    FProtected << KeyOf(FileName);
    if (const auto identity = FileIdentityOf(QFile::encodeName(FileName).constData()))
        FProtectedFiles.push_back(*identity);
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

QByteArray TFoOutputFileSet::Data(const QString &FileName) const {
    const TFile *file = Find(KeyOf(FileName));
    return file ? file->Device->data() : QByteArray();
}

void TFoOutputFileSet::CheckReplaceable(const QString &FileName) const {
    const QByteArray name = QFile::encodeName(FileName);
    const auto identity = FileIdentityOf(name.constData());
    if (FProtected.contains(FileName) ||
        (identity &&
         std::find(FProtectedFiles.begin(), FProtectedFiles.end(), *identity) != FProtectedFiles.end()))
        RaiseCannotCreate(FileName, QStringLiteral("It is the report being exported."));
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        return;
    if (S_ISLNK(status.st_mode))
        RaiseCannotCreate(FileName, QStringLiteral("It is a symbolic link, which an export never replaces."));
    if (S_ISDIR(status.st_mode))
        RaiseCannotCreate(FileName, SystemErrorText(EISDIR));
    if (!S_ISREG(status.st_mode))
        RaiseCannotCreate(FileName, QStringLiteral("It is not a regular file."));
}

void TFoOutputFileSet::Commit() {
    for (TFile &file : FFiles) {
        file.Device->close();
        CheckReplaceable(file.Name);
    }
    std::vector<TStagedFile> staged;
    ScopeFailure restore([&staged] { Restore(staged); });
    // Every file is written before any older file is touched, so a full disk replaces nothing.
    for (const TFile &file : FFiles)
        staged.push_back(TStagedFile{file.Name, WritePart(file.Name, file.Device->data()), {}, false});
    for (TStagedFile &file : staged) {
        int error = 0;
        if (!KeepOlder(file, error))
            RaiseCannotCreate(file.Name, SystemErrorText(error));
        if (const int error = file.Part->Commit())
            RaiseCannotCreate(file.Name, SystemErrorText(error));
        file.InPlace = true;
    }
    for (const TStagedFile &file : staged)
        if (!file.Older.isEmpty())
            ::unlink(QFile::encodeName(file.Older).constData());
    staged.clear();
    FFiles.clear();
    FIndex.clear();
}

} // namespace fiscora
