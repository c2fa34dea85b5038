#include "EnterAsTab.h"

#include "FormKeyPreview.h"
#include "TypedChar.h"

#include <QKeyEvent>

namespace fiscora {

namespace {

// QWidget::focusNextPrevChild is protected; this reaches it for a form we do not subclass, so that
// Enter moves exactly as Tab does (tab stops only, wrapping at the end).
struct FocusChainStep : QWidget {
    static bool Forward(QWidget &form) { return (form.*(&FocusChainStep::focusNextPrevChild))(true); }
};

} // namespace

TEnterAsTab::TEnterAsTab(QObject *parent) : QObject(parent) {}

TEnterAsTab::~TEnterAsTab() = default;

void TEnterAsTab::SetParentForm(QWidget *form) {
    if (form == FParentForm)
        return;
    FParentForm = form;
    FKeyPreview.reset();
    if (form != nullptr)
        FKeyPreview = std::make_unique<FormKeyPreview>(
            *form, [this](QKeyEvent &event) { return ParentKeyPress(event); });
}

bool TEnterAsTab::ParentKeyPress(const QKeyEvent &event) {
    const std::optional<QChar> key = TypedChar(event);
    if (!key || !FParentForm)
        return false;
    if (*key == QChar(kKeyEnter) && FEnterAsTabKey) {
        FocusChainStep::Forward(*FParentForm);
        return true;
    }
    if (*key == QChar(kKeyEscape) && FEscapeAsClose) {
        FParentForm->close();
        return true;
    }
    return false;
}

} // namespace fiscora
