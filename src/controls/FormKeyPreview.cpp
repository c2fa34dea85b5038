#include "FormKeyPreview.h"

#include <QApplication>
#include <QKeyEvent>

#include <utility>

namespace fiscora {

FormKeyPreview::FormKeyPreview(QWidget &form, Handler handler, QObject *parent)
    : QObject(parent), form_(&form), handler_(std::move(handler)) {
    // Application-wide, so that controls added to the form later are previewed too.
    qApp->installEventFilter(this);
}

FormKeyPreview::~FormKeyPreview() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool FormKeyPreview::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !form_ || !handler_)
        return false;
    if (!IsFirstDeliveryOnForm(*static_cast<QWidget *>(watched)))
        return false;
    return handler_(*static_cast<QKeyEvent *>(event));
}

bool FormKeyPreview::IsFirstDeliveryOnForm(const QWidget &target) const {
    if (&target != form_ && !form_->isAncestorOf(&target))
        return false;
    // A key the focused control ignores travels on to its parents; preview it only once, on the
    // widget it was first sent to (the focused control, or the window when nothing has the focus).
    const QWidget *focus = QApplication::focusWidget();
    if (focus != nullptr && (focus == form_ || form_->isAncestorOf(focus)))
        return &target == focus;
    return &target == form_;
}

} // namespace fiscora
