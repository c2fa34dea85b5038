#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QKeyEvent;

namespace fiscora {

// Keyboard preview for a form: every key press meant for the form or any control on it reaches the
// handler before the control. The handler returns true to consume the key (the control never sees
// it) or false to let it go on. Keys of other windows, dialogs opened from the form included, are
// not previewed.
class FormKeyPreview : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(QKeyEvent &event)>;

    FormKeyPreview(QWidget &form, Handler handler, QObject *parent = nullptr);
    ~FormKeyPreview() override;

    QWidget *Form() const { return form_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool IsFirstDeliveryOnForm(const QWidget &target) const;

    QPointer<QWidget> form_;
    Handler handler_;
};

} // namespace fiscora
