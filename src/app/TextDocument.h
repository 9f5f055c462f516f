// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dialogs.h"
#include "settings/CompanionLock.h"
#include "settings/RecentTexts.h"
#include "settings/TextBuffer.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>

class CReadingSession;
class CReadingSettings;
class QWidget;
struct CServices;

// The one text the program holds and the settings files around it: opening a text,
// its companion settings file, the defaults file and "Load settings...". The text's
// bytes live here; the reading session only points into them.
class CTextDocument : public QObject {
    Q_OBJECT
public:
    // A read that lasts this long gets a progress dialog.
    static constexpr uint32_t ProgressDelayMs = 500;

    // window owns the dialogs and boxes and carries the title.
    CTextDocument(QWidget& window, CReadingSession& session, CServices& services);
    ~CTextDocument() override;
    CTextDocument(const CTextDocument&) = delete;
    CTextDocument& operator=(const CTextDocument&) = delete;

    static QStringList TextFilters();
    // The filter of TextFilters that opens any file as a plain text.
    static constexpr int PlainTextFilter = 3;
    static QStringList SettingsFilters();

    // File > "Open...": asks for a text and opens it.
    void OnFileOpen();
    // Opens the text at path as "Open..." does after its dialog, with the same messages.
    // True when the text is now the loaded one; a failed open leaves the previous text
    // as it was.
    // asPlainText: read as a plain text even when it is a book (the file dialog's "Open
    // as plain text"); the text's companion file keeps that for later opens.
    bool Open(const QString& path, bool asPlainText = false);
    // The same for a path of bytes as the system gives them (command line, drops), which
    // need not be UTF-8.
    bool OpenLocal(const std::string& path, bool asPlainText = false);
    // Edit > Paste and a dropped text: reads text as a text of its own, kept in the
    // clipboard folder under a name its content gives, so that the same text given again
    // goes on from its place. False, with a message, when it cannot be read.
    bool OpenGivenText(const QString& text);
    // What Edit > Copy takes: the unit on the screen, or paused, the sentence around the
    // place; empty when there is none.
    QString ShownText() const;
    // "Clipboard" for a text kept from the clipboard, else the file's name.
    QString TitleOf(const std::string& path) const;
    // What "Recent texts" lists for path: its name, or for a text kept from the
    // clipboard, "Clipboard: " and how it begins.
    QString RecentLabel(const std::string& path) const;
    // Makes a running Open give up at its next chunk, as Cancel on its progress dialog
    // does.
    void CancelOpen() { CancelRequested = true; }

    // Writes the loaded text's companion settings file; nothing without a text.
    // "Error Saving File" when it cannot be written.
    // Nothing either while another window holds the text (read-only).
    void SaveCompanionSettings();
    // The window closes: its text's companion file is another window's to write now.
    void ReleaseLock() { Lock = CCompanionLock(); }
    void OnSaveAsDefault();
    void OnLoadSettings();

    // Reads the open text again in encoding (empty: detected, and the companion file no
    // longer names one); the place and the bookmarks stay. False, with a message for a
    // failed read, when the text stays as it was.
    bool ReadIn(const std::string& encoding);

    bool HasText() const;
    // Another Skimmet window holds the text: this one writes nothing to its companion.
    bool IsReadOnly() const { return !Lock.MayWrite(); }
    // From now on failures go to standard error rather than into boxes: the program is
    // ending with nobody to answer them.
    void SetUnattended() { Unattended = true; }
    // Absolute path of the loaded text, bytes as given; empty before the first open.
    const std::string& OpenPath() const { return Path; }
    const CTextBuffer& Text() const { return Buffer; }
    // The texts opened last, this one first; each open adds to them.
    CRecentTexts& RecentTexts() { return Recent; }

signals:
    // After each chunk of a text being read, before the progress dialog is updated.
    void ReadingProgress(quint64 done, quint64 total);

private:
    // encoding: nullopt for the one the companion file names, else that one (empty:
    // detected). asPlainText: the file as it is, whatever it holds.
    std::optional<CTextBuffer> Read(const std::string& path, TextLoadError& error,
                                    const std::optional<std::string>& encoding, bool asPlainText);
    void ShowLoaded(CTextBuffer text, const std::string& path, bool asPlainText);
    // Whatever the read of another text does (last for hours, the program be killed in
    // it), the text on the screen has its settings and place kept first.
    void KeepPlaceBeforeRead();
    // Puts text in the reading's hands with the settings that follow from it.
    void TakeText(CTextBuffer text, bool keepEncoding);
    void Report(const QString& text, MessageIcon icon, const QString& why = {});
    // The message for a failed read, with a book's reason as its informative text.
    void ReportLoadFailure(TextLoadError error);
    // Where the file dialogs start: the open text's folder; empty before the first open.
    QString TextFolder() const;

    QWidget& Window;
    CReadingSession& Session;
    CReadingSettings& Settings;
    CServices& Services;
    CTextBuffer Buffer;
    std::string Path;
    std::string ClipboardFolder;
    std::string LoadWhy; // what is wrong with the book the last read failed on
    CCompanionLock Lock;
    CRecentTexts Recent;
    bool Unattended = false;
    bool Opening = false;
    bool CancelRequested = false;
};
