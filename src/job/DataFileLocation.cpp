#include "DataFileLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace fiscora {

QString FindDataFile(const QString &fileName, const QString &executableFolder) {
    const QDir folder(executableFolder);
    const QString beside = folder.filePath(fileName);
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed =
        QDir::cleanPath(folder.filePath(QLatin1String(kInstalledDataFolder) + u'/' + fileName));
    if (QFileInfo(installed).isFile())
        return installed;
    return beside;
}

QString FindDataFile(const QString &fileName) {
    return FindDataFile(fileName, QCoreApplication::applicationDirPath());
}

} // namespace fiscora
