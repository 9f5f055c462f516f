// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;
class QWidget;

// Whether a reading key (arrows and Home, alone or with Ctrl, Space, Return, Backspace)
// belongs to the focused widget rather than to a command: what an edit, a list or a
// slider of the options panel does with it, Space on a panel button, Space on the
// full-screen view. panel may be null.
bool FocusKeepsKey(const QWidget& focus, const QKeyEvent& key, const QWidget* panel,
                   bool fullScreen);
