// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QGuiApplication>

// Shows shape over every window of the program for the object's lifetime. Nested
// objects stack: the innermost shape shows, and each destructor gives back the one
// before it.
class COverrideCursor {
public:
    explicit COverrideCursor(Qt::CursorShape shape) { QGuiApplication::setOverrideCursor(shape); }
    ~COverrideCursor() { QGuiApplication::restoreOverrideCursor(); }
    COverrideCursor(const COverrideCursor&) = delete;
    COverrideCursor& operator=(const COverrideCursor&) = delete;
};
