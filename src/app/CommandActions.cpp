// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandActions.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

namespace {
// The table's texts are English; each is shown in the reader's language.
QString Translated(const char* text) {
    return QCoreApplication::translate("Commands", text);
}

QIcon CommandIcon(const CommandInfo& command) {
    // Drawn as SVG: crisp at whatever size and scale the toolbar asks for.
    QIcon bundled;
    if (command.IconFile)
        bundled.addFile(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(command.IconFile)));
    if (!command.IconTheme)
        return bundled;
    return QIcon::fromTheme(QLatin1String(command.IconTheme), bundled);
}
} // namespace

CCommandActions::CCommandActions(QWidget& window, std::function<void(int)> trigger)
    : Trigger(std::move(trigger)) {
    for (const CommandInfo& command : Commands()) {
        auto* action = new QAction(&window);
        action->setData(command.Id);
        if (command.MenuText)
            action->setText(Translated(command.MenuText));
        action->setStatusTip(Translated(command.Prompt));
        action->setToolTip(Translated(command.ToolTip));
        action->setIcon(CommandIcon(command));
        action->setIconVisibleInMenu(false);
        action->setCheckable(command.Checkable);
        const int id = command.Id;
        QObject::connect(action, &QAction::triggered, &window, [this, id] { Trigger(id); });
        Actions.emplace(id, action);
        AddAccelerator(window, id);
    }
    for (const std::span<const int> ids : RadioGroups()) {
        // The group only draws them as one choice: the states come from Update.
        auto* group = new QActionGroup(&window);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (const int id : ids)
            group->addAction(ActionFor(id));
    }
}

void CCommandActions::AddAccelerator(QWidget& window, int id) {
    QList<QKeySequence> keys;
    for (const Accelerator& accelerator : Accelerators()) {
        if (accelerator.Id == id)
            keys.append(QKeySequence(accelerator.Keys));
    }
    if (keys.isEmpty())
        return;
    // Apart from the menu's action, so that menus show only the shortcut texts of their
    // own item texts; on the window itself, so that the keys work whether or not the
    // menu and the toolbar are shown.
    auto* accelerator = new QAction(&window);
    accelerator->setData(id);
    accelerator->setShortcuts(keys);
    QObject::connect(accelerator, &QAction::triggered, &window, [this, id] { Trigger(id); });
    window.addAction(accelerator);
    AcceleratorActions.emplace(id, accelerator);
}

QAction* CCommandActions::ActionFor(int id) const {
    const auto found = Actions.find(id);
    return found == Actions.end() ? nullptr : found->second;
}

void CCommandActions::FillMenuBar(QMenuBar& bar,
                                  const std::function<void(QMenu&)>& fillRecent) const {
    for (const MenuDef& def : MainMenu()) {
        QMenu* menu = bar.addMenu(Translated(def.Title));
        // Filled when first opened: a few hundred items made at start would keep the
        // window from the screen for milliseconds that nobody needs yet. The keys work
        // without them, as accelerators of the window.
        QObject::connect(
            menu, &QMenu::aboutToShow, menu,
            [this, menu, items = def.Items, fillRecent] { FillMenu(*menu, items, fillRecent); },
            Qt::SingleShotConnection);
    }
}

void CCommandActions::FillMenu(QMenu& menu, std::span<const MenuItem> items,
                               const std::function<void(QMenu&)>& fillRecent) const {
    for (const MenuItem& item : items) {
        if (item.SubMenuTitle && item.Id == CommandId::RecentTexts)
            fillRecent(*menu.addMenu(Translated(item.SubMenuTitle)));
        else if (item.SubMenuTitle)
            FillMenu(*menu.addMenu(Translated(item.SubMenuTitle)), item.SubItems, fillRecent);
        else if (item.Id == 0)
            menu.addSeparator();
        else
            menu.addAction(ActionFor(item.Id));
    }
}

void CCommandActions::FillToolBar(QToolBar& bar) const {
    for (const int id : ToolBarButtons()) {
        if (id == 0)
            bar.addSeparator();
        else
            bar.addAction(ActionFor(id));
    }
}

void CCommandActions::Update(const std::function<CommandState(int)>& stateOf) const {
    for (const auto& [id, action] : Actions) {
        const CommandState state = stateOf(id);
        action->setEnabled(state.Enabled);
        if (action->isCheckable())
            action->setChecked(state.Checked);
    }
    // A disabled accelerator leaves its keys to the focused widget (Ctrl+C in a text
    // field copies).
    for (const auto& [id, accelerator] : AcceleratorActions)
        accelerator->setEnabled(ActionFor(id)->isEnabled());
}
