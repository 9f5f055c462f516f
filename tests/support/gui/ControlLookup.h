// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVariant>
#include <QWidget>

// Forms carry their template's id (below 1000), controls ids from 1000 on. Ids repeat
// between forms, so a control is looked up in its own form, not in a page inside it.
template <typename T> T* ControlById(QWidget& form, int id) {
    for (T* widget : form.findChildren<T*>()) {
        QWidget* owner = widget->parentWidget();
        while (owner && !(owner->property("controlId").isValid() &&
                          owner->property("controlId").toInt() < 1000))
            owner = owner->parentWidget();
        if (widget->property("controlId").toInt() == id && owner == &form)
            return widget;
    }
    return nullptr;
}
