#include "DataFileLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fiscora;

namespace {

void Touch(const QString &path) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath())) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

// A prefix laid out as an install has it: PREFIX/bin for the programs, PREFIX/share/fiscora for the
// data; the build tree has the data in bin itself.
TEST(DataFileLocationTest, BesideTheExecutableFirstThenTheInstalledFolder) {
    struct Case {
        const char *name;
        bool beside;
        bool installed;
        bool besideIsFolder;
        const char *expected; // relative to the prefix
    };
    const Case cases[] = {
        {"build tree", true, false, false, "bin/Amortix.fol"},
        {"installed", false, true, false, "share/fiscora/Amortix.fol"},
        {"both: the copy beside wins", true, true, false, "bin/Amortix.fol"},
        {"neither: the first place looked", false, false, false, "bin/Amortix.fol"},
        {"a folder of that name beside is no file", false, true, true, "share/fiscora/Amortix.fol"},
    };
    for (const Case &c : cases) {
        QTemporaryDir prefix;
        ASSERT_TRUE(prefix.isValid());
        const QDir root(prefix.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
        if (c.beside)
            Touch(root.filePath(QStringLiteral("bin/Amortix.fol")));
        if (c.installed)
            Touch(root.filePath(QStringLiteral("share/fiscora/Amortix.fol")));
        if (c.besideIsFolder) {
            ASSERT_TRUE(root.mkpath(QStringLiteral("bin/Amortix.fol")));
        }
        EXPECT_EQ(FindDataFile(QStringLiteral("Amortix.fol"), root.filePath(QStringLiteral("bin"))),
                  root.filePath(QLatin1String(c.expected)))
            << c.name;
    }
}

TEST(DataFileLocationTest, EachFileIsLookedUpOnItsOwn) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QDir root(prefix.path());
    Touch(root.filePath(QStringLiteral("bin/Amortix.html")));
    Touch(root.filePath(QStringLiteral("share/fiscora/Amortix.fol")));
    const QString bin = root.filePath(QStringLiteral("bin"));
    EXPECT_EQ(FindDataFile(QStringLiteral("Amortix.html"), bin),
              root.filePath(QStringLiteral("bin/Amortix.html")));
    EXPECT_EQ(FindDataFile(QStringLiteral("Amortix.fol"), bin),
              root.filePath(QStringLiteral("share/fiscora/Amortix.fol")));
}

} // namespace
