#include "MessageBoxPresenter.h"

#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>

namespace fiscora {

namespace {

QMessageBox::Icon IconOf(int flags) {
    switch (flags & 0xF0) {
    case kMsgIconError:
        return QMessageBox::Critical;
    case kMsgIconWarning:
        return QMessageBox::Warning;
    case kMsgIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QString LineBreaksForDisplay(const QString &text) {
    QString display = text;
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    display.replace(u'\r', u'\n');
    return display;
}

int PresentMessageBox(const std::string &text, const std::string &caption, int flags) {
    QMessageBox box(IconOf(flags), QString::fromStdString(caption),
                    LineBreaksForDisplay(QString::fromStdString(text)), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return kMsgResultOk;
}

void InstallMessageBoxPresenter() {
    InstallMsgBoxPresenter(PresentMessageBox);
}

} // namespace fiscora
