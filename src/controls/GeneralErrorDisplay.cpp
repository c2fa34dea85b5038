#include "GeneralErrorDisplay.h"

#include "ErrorDisplay.h"
#include "MsgBox.h"

#include <QWidget>

namespace fiscora {

void HandleException(const std::exception_ptr &error) {
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    const std::optional<std::string> text = ErrorDisplayText(error);
    if (text)
        ShowMsgBox(*text, ApplicationTitle(), kMsgIconError);
}

} // namespace fiscora
