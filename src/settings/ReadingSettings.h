// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/LogFont.h"
#include "settings/PositionBook.h"

#include <cstdint>
#include <string>
#include <string_view>

class CProfileFile;

// Full: settings, font, step, position and bookmarks. SettingsOnly: settings, font
// and step. Any stored value other than 1 reads as Full.
enum class SettingsFileMode : int32_t { Full = 0, SettingsOnly = 1 };

enum class SplitDirection { Forward, Back };

// The one record that governs how a text is cut and shown, with the font
// description and the position book. Fields are open: the options panel edits them
// in place and the next unit uses them.
class CReadingSettings {
public:
    static constexpr int StopSymbolsSize = 64; // 63 characters and the NUL
    static constexpr int MaxStopSymbols = StopSymbolsSize - 1;
    static constexpr uint32_t StatusColor = 0x008000FF;

    CReadingSettings();
    virtual ~CReadingSettings() = default;
    CReadingSettings(const CReadingSettings&) = delete;
    CReadingSettings& operator=(const CReadingSettings&) = delete;

    // Every field but TextLength, the font description (but lfWidth) and the book's
    // Step and bookmarks back to their defaults; the position stays.
    void ResetDefaults();
    // The settings alone back to their defaults (the panel's Default), or taken from a
    // file read in SettingsOnly mode ("Load settings..."): the position and the
    // bookmarks are the text's and stay.
    void ResetSettingsOnly();
    void LoadSettingsOnly(const CProfileFile& file);

    // Start of the unconditional stop symbols: StopSimbols + UcOffset, or the empty
    // tail when UcOffset lies beyond the string. In CharacterMode UcOffset counts the
    // characters of StopSimbols read as UTF-8.
    const char* UnconditionalPart() const;
    // Stop symbols in StopSimbols: bytes, or characters in CharacterMode.
    int32_t StopSymbolCount() const;

    // Text forms: line feed, carriage return and tab as \n, \r, \t.
    std::string GetStopSymbolsText() const;
    std::string GetUnconditionalText() const;
    // Decode a text form; 64 or more characters, or a result that would not fit the
    // 63 characters of StopSimbols, change nothing.
    void SetStopSymbolsText(std::string_view text);
    void SetUnconditionalText(std::string_view text);
    bool ShiftSplit(SplitDirection direction);

    // Settings files. SaveToFile commits the whole file at once or leaves the old one.
    bool SaveToFile(const std::string& fileName, SettingsFileMode mode,
                    std::string* error = nullptr) const;
    // A file that cannot be read gives the defaults, like a file without keys; false
    // (with why in error) then, or when the position cannot be placed.
    bool LoadFromFile(const std::string& fileName, SettingsFileMode mode, int32_t textLength,
                      std::string* error = nullptr);
    // MAIN and LogFont sections; the encoding only in the text's own file.
    void StoreTo(CProfileFile& file, SettingsFileMode mode = SettingsFileMode::SettingsOnly) const;
    bool LoadFrom(const CProfileFile& file, SettingsFileMode mode, int32_t textLength);

    // Position operations (offsets from the text start).
    void BindText(const char** textStart, const char** cursor);
    const char* GetPosition(int32_t& offset) const;
    bool SetPosition(int32_t offset);
    bool MoveBy(int32_t delta);
    void AddBookmark();
    // Text at bookmark index and its offset; nullptr (offset -1) for an index beyond
    // the list or without text, nullptr (offset kept) for an entry outside the text.
    const char* GetBookmark(int index, int32_t& offset) const;

    // How the times follow the text when pacing by content is on: percentages of "Duration:"
    // for a unit's show time and of "Between:" for the gap before it.
    struct SPacing {
        int32_t On = 0;
        int32_t ReferenceLength = 0; // characters of a unit shown for exactly durat
        int32_t LengthWeight = 0;    // % the show time changes as the length doubles or halves
        int32_t MinShow = 0;         // ms, the shortest paced show time
        int32_t LongWord = 0;        // characters from which a word is long
        int32_t LongWordTime = 0;    // % added for each long word
        int32_t NumberTime = 0;      // % added for each word with a digit
        int32_t ClauseGap = 0;       // % of the gap after a conditional stop symbol
        int32_t SentenceGap = 0;     // % after an unconditional one
        int32_t ParagraphGap = 0;    // % after a paragraph's end
        int32_t StartUnits = 0;      // units over which a run reaches full pace
        int32_t StartTime = 0;       // % of the times the first of them take
        int32_t SentencesFirst = 0;  // slower lengthens the sentence gaps before the units

        bool operator==(const SPacing&) const = default;
    };

    // The defaults and bounds of these fields are in SettingsTable.h.
    char StopSimbols[StopSymbolsSize] = {};
    int32_t Width = 0;
    int32_t DisplaySettingNum = 0;
    uint32_t TexColor = 0; // 0x00BBGGRR
    uint32_t BkgColor = 0;
    int32_t MaxText = 0;
    int32_t MinText = 0;
    uint32_t freq = 0;  // gap before each unit, ms ("Between:")
    uint32_t durat = 0; // time a unit is shown, ms ("Duration:")
    int32_t TextLength = 0;
    CPositionBook Book;
    int32_t UcOffset = 0;
    LogFont Font; // lfWidth only the font dialog sets
    SPacing Pacing;
    // 1: a running reading pauses once the last unit of a chapter has been shown.
    int32_t PauseAtChapterEnd = 0;
    // Not stored and not reset: the text is held as UTF-8, so the cutter counts
    // characters where it would count bytes. Set by whoever loads the text.
    bool CharacterMode = false;
    // Not reset either: the encoding the text is read in (a name of TextEncoding::Known;
    // empty before a text), and whether its companion file keeps it (no after the
    // reader chose "Auto-detect").
    std::string Encoding;
    bool KeepEncoding = true;
    // Not reset either: the reader asked for the text as it is, a book's markup and all;
    // its companion file keeps that.
    bool AsPlainText = false;
};
