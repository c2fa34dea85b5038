#pragma once

#include <QBuffer>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace fiscora {

// The files of one export, kept in memory and written all together at the end, so that a failed
// export leaves none of its files behind and an export that fails half-way destroys no older file.
class TFoOutputFileSet {
public:
    TFoOutputFileSet();
    ~TFoOutputFileSet();
    TFoOutputFileSet(const TFoOutputFileSet &) = delete;
    TFoOutputFileSet &operator=(const TFoOutputFileSet &) = delete;

    // A file the export must never write: its input (a snapshot file, for one).
    void Protect(const QString &FileName);

    // An empty file to be written under the name (replacing one of the set with the same name);
    // the set owns the device. Raises EFolioReport for a protected name.
    QIODevice &Create(const QString &FileName);
    // True when the set holds a file of that name.
    bool Contains(const QString &FileName) const;
    // True when the name is free: neither on disk nor in the set.
    bool IsFree(const QString &FileName) const;
    // The names of the set's files, absolute, in the order first created.
    QStringList FileNames() const;

    // Writes every file, each replacing an older one atomically. When one cannot be written, those
    // already written are removed again and EFolioReport names the file and the reason.
    void Commit();

private:
    struct TFile {
        QString Name;
        std::unique_ptr<QBuffer> Device; // holds the bytes
    };
    TFile *Find(const QString &key);
    const TFile *Find(const QString &key) const;

    std::vector<TFile> FFiles;
    QHash<QString, std::size_t> FIndex;
    QStringList FProtected;
};

} // namespace fiscora
