// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReadingListener.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CReadingSession;
class CReadingSettings;
class IDialogs;
class QLineEdit;
class QSpinBox;
enum class SplitDirection;

namespace Ui {
class ReadingOptionsPage;
}

// First page of the options panel: timing, unit sizes, text width, stop symbols with
// their split, and the text colour. Every edit goes straight into the settings and is
// told to the reading session.
class CReadingOptionsPage : public QWidget, private IReadingListener {
    Q_OBJECT
public:
    // The stop-symbol edits take this many characters; the settings get back at most
    // TextFormBytes bytes of what they show.
    static constexpr int EditLimit = 64;
    static constexpr int TextFormBytes = 62;

    CReadingOptionsPage(CReadingSession& session, IDialogs& dialogs, QWidget* parent);
    ~CReadingOptionsPage() override;

    // Brings every control in line with the settings, and writes both stop-symbol text
    // forms back through the settings on the way.
    void Refresh();

    // Stop symbols are bytes matched against the text's bytes, shown as UTF-8. A byte
    // that is no part of a UTF-8 character is shown as the lone surrogate U+DC80 +
    // (byte - 0x80) and turns back into that byte, so that showing the symbols and
    // writing them back never changes them.
    static QString EditTextFromBytes(std::string_view bytes);
    // The stop-symbol edits in the text's encoding; nullopt for a character the
    // encoding cannot hold.
    QString ShownStopText(std::string_view bytes) const;
    std::optional<std::string> TakenStopText(const QString& text) const;
    bool IsCodePageText() const;
    // At most maxBytes bytes, never ending inside a character.
    static std::string BytesFromEditText(const QString& text, std::size_t maxBytes);

private:
    enum class Field { Between, Duration, MaxSimb, MinSimb, Width };
    struct NumberPair {
        Field Target;
        QSpinBox* Spin = nullptr;
        QLineEdit* Edit = nullptr;
    };

    void OnReadingStateChanged() override { Refresh(); }
    void OnSettingsChanged(SettingsAspect aspect) override;
    // Tells the session of an edit the reader made; the page's own refresh tells nothing.
    void Edited(SettingsAspect aspect);
    void SetUpNumber(NumberPair& pair, Field field, QSpinBox* spin);
    NumberPair& Pair(Field field);
    int64_t FieldValue(Field field) const;
    void StoreField(Field field, int32_t value);
    void SetPosition(Field field);
    void OnNumberChanged(Field field);

    void SetStopSymbolsEdit(const std::string& text);
    void SetUnconditionalEdit(const std::string& text);
    void OnStopSymbolsChanged();
    void OnUnconditionalChanged();
    void OnShiftSplit(SplitDirection direction);
    void OnTextColor();

    CReadingSession& Session;
    CReadingSettings& Settings;
    IDialogs& Dialogs;
    std::unique_ptr<Ui::ReadingOptionsPage> ui;
    std::array<NumberPair, 5> Numbers{};
    // The first change of each stop-symbol edit is the page filling it in, which has
    // nothing to write back yet.
    bool StopSymbolsPrimed = false;
    bool UnconditionalPrimed = false;
    bool Refreshing = false;
};
