// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dialogs.h"
#include "platform/DisplayModes.h"
#include "platform/ScreenSaver.h"
#include "platform/Services.h"
#include "platform/UrlOpener.h"
#include "support/FakeClock.h"

#include <deque>
#include <functional>

// Answers every dialog from queues the test fills, and records what was shown.
struct CFakeDialogs final : IDialogs {
    struct Shown {
        QString Text;
        MessageIcon Icon;
        QString Informative;
    };
    std::vector<Shown> Messages;
    std::deque<bool> ConfirmAnswers;                // default: No
    std::deque<std::optional<QString>> FileAnswers; // default: Cancel
    std::deque<std::optional<QColor>> ColorAnswers; // default: Cancel
    std::deque<std::optional<QFont>> FontAnswers;   // default: Cancel
    bool FontOkUnchanged = false;                   // OK on the font the dialog opened at
    QFont FontAsked;
    std::function<void()> OnMessage; // runs while the "box" is open
    QStringList FileFolders;         // where each file dialog started
    QStringList FileFilters;         // the last file dialog's
    int FilterAnswer = 0;            // the filter each file dialog says was chosen
    void Message(QWidget*, const QString& text, MessageIcon icon,
                 const QString& informative = {}) override {
        if (Messages.push_back({text, icon, informative}); OnMessage)
            OnMessage();
    }
    bool Confirm(QWidget*, const QString&) override { return Pop(ConfirmAnswers); }
    std::optional<QString> OpenFile(QWidget*, const QString&, const QStringList& filters,
                                    const QString&, const QString& folder,
                                    int* filterChosen) override {
        FileFolders.push_back(folder);
        FileFilters = filters;
        if (filterChosen)
            *filterChosen = FilterAnswer;
        return Pop(FileAnswers);
    }
    std::optional<QString> SaveFile(QWidget*, const QString&, const QStringList&, const QString&,
                                    const QString&) override {
        return Pop(FileAnswers);
    }
    std::optional<QColor> PickColor(QWidget*, const QColor&) override { return Pop(ColorAnswers); }
    std::optional<QFont> PickFont(QWidget*, const QFont& initial) override {
        FontAsked = initial;
        return FontOkUnchanged ? initial : Pop(FontAnswers);
    }

private:
    // The front of a queue the test filled; when it ran dry, No or Cancel.
    template <typename T> static T Pop(std::deque<T>& queue) {
        T value{};
        if (!queue.empty())
            value = queue.front(), queue.pop_front();
        return value;
    }
};

// Three modes of distinct sizes; a display that refuses every switch when Accepts is off.
struct CFakeDisplayModes final : IDisplayModes {
    std::vector<DisplayMode> List{{1024, 768, 32, 60}, {800, 600, 32, 0}, {640, 480, 16, 75}};
    int Restores = 0;
    bool Accepts = true;
    std::vector<DisplayMode> Modes() override { return List; }
    bool SetMode(const DisplayMode&) override { return Accepts; }
    void Restore() override { ++Restores; }
};

struct CFakeScreenSaver final : IScreenSaver {
    int Inhibitions = 0;
    bool Held = false;
    void Inhibit() override { Inhibitions += !Held, Held = true; }
    void UnInhibit() override { Held = false; }
    bool IsInhibited() const override { return Held; }
};

struct CFakeUrlOpener final : IUrlOpener {
    std::vector<QString> Opened;
    bool Open(const QString& target) override { return Opened.push_back(target), true; }
};

// One set of fakes for a window under test.
struct CFakeServices {
    CFakeClock Clock;
    CFakeDialogs Dialogs;
    CFakeDisplayModes DisplayModes;
    CFakeScreenSaver ScreenSaver;
    CFakeUrlOpener UrlOpener;
    CServices Services{Clock, Dialogs, DisplayModes, ScreenSaver, UrlOpener};
};
