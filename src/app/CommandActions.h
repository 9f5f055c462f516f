// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandTable.h"

#include <functional>
#include <map>
#include <span>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

// The actions of the command table on one window: one action a command, shared by the
// menu and the toolbar, and one carrying its accelerator keys.
class CCommandActions {
public:
    // Each action calls trigger with its command id.
    CCommandActions(QWidget& window, std::function<void(int)> trigger);

    // nullptr for an unknown id.
    QAction* ActionFor(int id) const;
    // The menus of the command table; fillRecent makes the submenu of the recent texts.
    void FillMenuBar(QMenuBar& bar, const std::function<void(QMenu&)>& fillRecent) const;
    void FillToolBar(QToolBar& bar) const;
    // Enables and checks every action as stateOf says.
    void Update(const std::function<CommandState(int)>& stateOf) const;

private:
    void AddAccelerator(QWidget& window, int id);
    void FillMenu(QMenu& menu, std::span<const MenuItem> items,
                  const std::function<void(QMenu&)>& fillRecent) const;

    std::function<void(int)> Trigger;
    std::map<int, QAction*> Actions;            // owned by the window
    std::map<int, QAction*> AcceleratorActions; // owned by the window
};
