#pragma once

#include "support/FakeClock.h"

#include "platform/Dialogs.h"
#include "platform/DisplayModes.h"
#include "platform/ScreenSaver.h"
#include "platform/Services.h"
#include "platform/UrlOpener.h"

#include <deque>
#include <functional>

// Answers every dialog from queues the test fills, and records what was shown.
class CFakeDialogs final : public IDialogs {
public:
    struct Shown {
        QString Text;
        MessageIcon Icon;
        QString Informative;
    };
    std::vector<Shown> Messages;
    std::vector<QString> Confirmations;
    std::deque<bool> ConfirmAnswers;                // default: No
    std::deque<std::optional<QString>> FileAnswers; // default: Cancel
    std::deque<std::optional<QColor>> ColorAnswers; // default: Cancel
    std::deque<std::optional<QFont>> FontAnswers;   // default: Cancel
    QString LastFileTitle;
    QStringList LastFileFilters;
    QString LastDefaultSuffix;
    std::function<void()> OnMessage; // runs while the "box" is open

    void Message(QWidget*, const QString& text, MessageIcon icon,
                 const QString& informative = {}) override {
        Messages.push_back({text, icon, informative});
        if (OnMessage)
            OnMessage();
    }
    bool Confirm(QWidget*, const QString& text) override {
        Confirmations.push_back(text);
        return Pop(ConfirmAnswers, false);
    }
    std::optional<QString> OpenFile(QWidget*, const QString& title, const QStringList& filters,
                                    const QString& defaultSuffix) override {
        LastFileTitle = title;
        LastFileFilters = filters;
        LastDefaultSuffix = defaultSuffix;
        return Pop(FileAnswers, std::optional<QString>{});
    }
    std::optional<QColor> PickColor(QWidget*, const QColor&) override {
        return Pop(ColorAnswers, std::optional<QColor>{});
    }
    std::optional<QFont> PickFont(QWidget*, const QFont&) override {
        return Pop(FontAnswers, std::optional<QFont>{});
    }

private:
    template <typename T> static T Pop(std::deque<T>& queue, T fallback) {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

class CFakeDisplayModes final : public IDisplayModes {
public:
    std::vector<DisplayMode> List{{1024, 768, 32, 60}, {800, 600, 32, 0}, {640, 480, 16, 75}};
    std::vector<DisplayMode> Switches; // every SetMode, in order
    int Restores = 0;

    std::vector<DisplayMode> Modes() override { return List; }
    bool SetMode(const DisplayMode& mode) override {
        Switches.push_back(mode);
        return true;
    }
    void Restore() override { ++Restores; }
};

class CFakeScreenSaver final : public IScreenSaver {
public:
    int Inhibitions = 0;
    int Releases = 0;
    void Inhibit() override {
        if (!Held) {
            Held = true;
            ++Inhibitions;
        }
    }
    void UnInhibit() override {
        if (Held) {
            Held = false;
            ++Releases;
        }
    }
    bool IsInhibited() const override { return Held; }

private:
    bool Held = false;
};

class CFakeUrlOpener final : public IUrlOpener {
public:
    std::vector<QString> Opened;
    bool Open(const QString& target) override {
        Opened.push_back(target);
        return true;
    }
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
