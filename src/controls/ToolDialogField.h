#pragma once

#include "FieldFocus.h"

#include <QColor>
#include <QLineEdit>

namespace fiscora {

// What the currency and date fields share: real entries and exits told apart from focus changes
// caused by other windows, every typed character passed through the field's own KeyPress, a
// double-click that types "C" (the key of the field's tool dialog), and the background colour saved
// on entering, which the field gets back after its tool dialog closes.
class TToolDialogField : public QLineEdit {
    Q_OBJECT
public:
    explicit TToolDialogField(QWidget *parent = nullptr);

    // The typed-character path: `key` is the character about to be inserted; a null character on
    // return means the key was discarded.
    virtual void KeyPress(QChar &key) = 0;

signals:
    // The field received the focus.
    void Entered();
    // The field lost the focus to another control of its window.
    void Exited();
    // Double-click, before the tool dialog opens.
    void DoubleClicked();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

    virtual void DoEnter() = 0;
    virtual void DoExit() = 0;
    // True when the edit box must not insert this key that KeyPress let pass.
    virtual bool IsRefusedByEditBox(QChar key) const = 0;

    void SaveDefaultColor();

    QColor FDefaultColor; // the background colour on entering, given back after a tool dialog

private:
    FieldFocus FFocus;
    bool FEnteredByMouse = false; // until the press that gave the focus has been handled
};

} // namespace fiscora
