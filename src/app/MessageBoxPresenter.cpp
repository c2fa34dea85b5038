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
    case kMsgIconQuestion:
        return QMessageBox::Question;
    case kMsgIconWarning:
        return QMessageBox::Warning;
    case kMsgIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(int flags) {
    switch (flags & 0x0F) {
    case kMsgButtonsOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case kMsgButtonsYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kMsgYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

int ResultOf(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return kMsgResultYes;
    case QMessageBox::No:
        return kMsgResultNo;
    case QMessageBox::Cancel:
        return kMsgResultCancel;
    default:
        return kMsgResultOk;
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
                    LineBreaksForDisplay(QString::fromStdString(text)), ButtonsOf(flags),
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    return ResultOf(box.exec());
}

void InstallMessageBoxPresenter() {
    InstallMsgBoxPresenter(PresentMessageBox);
}

} // namespace fiscora
