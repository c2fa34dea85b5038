#pragma once

#include "FileIdentity.h"

#include <QBuffer>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace fiscora {

// The files of one export, kept in memory and written all together at the end: a failed export leaves
// none of its files behind and every older file as it was.
class TFoOutputFileSet {
public:
    TFoOutputFileSet();
    ~TFoOutputFileSet();
    TFoOutputFileSet(const TFoOutputFileSet &) = delete;
    TFoOutputFileSet &operator=(const TFoOutputFileSet &) = delete;

    // A file the export must never write: its input (a snapshot file, for one), however it is named.
    void Protect(const QString &FileName);

    // An empty file to be written under the name (replacing one of the set with the same name);
    // the set owns the device.
    QIODevice &Create(const QString &FileName);
    // True when the set holds a file of that name.
    bool Contains(const QString &FileName) const;
    // True when the name is free: neither on disk nor in the set.
    bool IsFree(const QString &FileName) const;
    // The names of the set's files, absolute, in the order first created.
    QStringList FileNames() const;
    // The bytes written so far to the set's file of that name; empty when the set has none.
    QByteArray Data(const QString &FileName) const;

    // Writes every file, each replacing an older one, or none. Raises EFolioReport naming the file and
    // the reason, with nothing written and nothing removed, when a file is protected, is a symbolic link
    // (never replaced: the link would be lost) or is no regular file, or when one cannot be written.
    void Commit();

private:
    struct TFile {
        QString Name;
        std::unique_ptr<QBuffer> Device; // holds the bytes
    };
    TFile *Find(const QString &key);
    const TFile *Find(const QString &key) const;
    void CheckReplaceable(const QString &FileName) const;

    std::vector<TFile> FFiles;
    QHash<QString, std::size_t> FIndex;
    QStringList FProtected;
    std::vector<TFileIdentity> FProtectedFiles;
};

} // namespace fiscora
