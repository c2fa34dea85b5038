// fiscora-html-export SNAPSHOT OUTPUT.html: the preview's HTML export of a snapshot file, for the
// screenshot script and for looking at exported pages until the command line exports them itself.

#include "FoHtmlExport.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdlib>
#include <exception>
#include <iostream>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: fiscora-html-export SNAPSHOT OUTPUT.html\n";
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv); // text is measured with the platform's fonts
    QFile snapshot(QString::fromLocal8Bit(argv[1]));
    if (!snapshot.open(QIODevice::ReadOnly)) {
        std::cerr << "Cannot open file \"" << argv[1] << "\". " << snapshot.errorString().toStdString()
                  << '\n';
        return 1;
    }
    try {
        fiscora::ExportSnapshotToHtml(snapshot, QString::fromLocal8Bit(argv[2]));
    } catch (const std::exception &error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
