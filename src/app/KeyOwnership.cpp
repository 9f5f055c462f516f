// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyOwnership.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
bool IsMoveKey(int code) {
    return code == Qt::Key_Left || code == Qt::Key_Right || code == Qt::Key_Up ||
           code == Qt::Key_Down || code == Qt::Key_Home || code == Qt::Key_PageUp ||
           code == Qt::Key_PageDown;
}

bool IsRunKey(int code) {
    return code == Qt::Key_Space || code == Qt::Key_Return || code == Qt::Key_Enter;
}

bool IsEditor(const QWidget& widget) {
    return qobject_cast<const QLineEdit*>(&widget) ||
           qobject_cast<const QAbstractSpinBox*>(&widget) ||
           qobject_cast<const QComboBox*>(&widget) ||
           qobject_cast<const QAbstractItemView*>(&widget);
}
} // namespace

bool FocusKeepsKey(const QWidget& focus, const QKeyEvent& key, const QWidget* panel,
                   bool fullScreen) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool control = modifiers == Qt::ControlModifier;
    const int code = key.key();
    // Ctrl with an arrow or Home moves by a unit or a paragraph, or by a word in an edit.
    if (modifiers != Qt::NoModifier && !(control && IsMoveKey(code)))
        return false;
    // An open list or menu (a combo box's list, a context menu) takes every key of its
    // own: Return there chooses an item.
    if (focus.window()->windowType() == Qt::Popup)
        return true;
    if (!panel || !panel->isAncestorOf(&focus))
        return !control && code == Qt::Key_Space && fullScreen;
    // A slider takes the arrows and Home; Space and Return do nothing on it, so they
    // still run or pause. A button is pressed with Space, as anywhere else.
    if (qobject_cast<const QAbstractSlider*>(&focus))
        return !control && IsMoveKey(code);
    if (qobject_cast<const QAbstractButton*>(&focus))
        return !control && code == Qt::Key_Space;
    // Return in an edit applies it (and the panel keeps it from going further);
    // Backspace there deletes.
    if (!IsEditor(focus))
        return false;
    return IsMoveKey(code) || (!control && (IsRunKey(code) || code == Qt::Key_Backspace));
}
