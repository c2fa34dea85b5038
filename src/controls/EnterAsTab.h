#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace fiscora {

class FormKeyPreview;

// Makes Enter move the focus to the next tab stop of a form, as Tab does (wrapping from the last to
// the first), and, when asked, Esc close the form. The form sees the keys before its controls, so a
// field never receives an Enter. "Not a tab stop" is a focus policy without Qt::TabFocus.
class TEnterAsTab : public QObject {
    Q_OBJECT
public:
    explicit TEnterAsTab(QObject *parent = nullptr);
    ~TEnterAsTab() override;

    bool EnterAsTabKey() const { return FEnterAsTabKey; }
    void SetEnterAsTabKey(bool on) { FEnterAsTabKey = on; }
    bool EscapeAsClose() const { return FEscapeAsClose; }
    void SetEscapeAsClose(bool on) { FEscapeAsClose = on; }
    QWidget *ParentForm() const { return FParentForm; }
    // Starts previewing the form's keys; setting the same form again changes nothing.
    void SetParentForm(QWidget *form);

private:
    bool ParentKeyPress(const QKeyEvent &event);

    bool FEnterAsTabKey = true;
    bool FEscapeAsClose = false;
    QPointer<QWidget> FParentForm;
    std::unique_ptr<FormKeyPreview> FKeyPreview;
};

} // namespace fiscora
