// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TextDocument.h"

#include "app/BackgroundRead.h"
#include "app/OverrideCursor.h"
#include "engine/ReadingSession.h"
#include "platform/Clock.h"
#include "platform/ProfileFile.h"
#include "platform/Services.h"
#include "settings/ClipboardTexts.h"
#include "settings/ReadingSettings.h"
#include "settings/TextSettings.h"
#include "text/TextEncoding.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

namespace {

QString SavingFailed() {
    return QCoreApplication::translate("CTextDocument", "Error Saving File");
}

QString OpeningFailed() {
    return QCoreApplication::translate("CTextDocument", "Error Opening File");
}

// The core's fixed messages, in the reader's language.
QString LoadMessage(TextLoadError error) {
    return QCoreApplication::translate("Messages", TextLoadMessage(error));
}
constexpr int ProgressSteps = 1000;
// Characters of a pasted text that "Recent texts" shows.
constexpr qsizetype RecentHeadLength = 40;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// File names are bytes and stay bytes; only what is shown is decoded, a name that is not
// UTF-8 with replacement characters.
QString DisplayName(const std::string& path) {
    return QString::fromUtf8(std::filesystem::path(path).filename().string());
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// The progress of one read: nothing for a quick one, a dialog with Cancel once the read
// has lasted ProgressDelayMs.
class CReadProgress {
public:
    CReadProgress(QWidget& window, const IClock& clock, const QString& fileName)
        : Window(window), Clock(clock), FileName(fileName), Start(clock.NowMs()) {}

    // Shows the dialog once the read has lasted long enough, at its last progress. False
    // once the reader has cancelled.
    bool Tick() {
        if (!Dialog && Clock.NowMs() - Start >= CTextDocument::ProgressDelayMs)
            ShowDialog();
        return !Dialog || !Dialog->wasCanceled();
    }

    // A report of the read: so much done of total.
    bool Update(uint64_t done, uint64_t total) {
        const bool go = Tick();
        if (Dialog)
            Dialog->setValue(static_cast<int>(done * ProgressSteps / (total ? total : 1)));
        return go;
    }

private:
    void ShowDialog() {
        Dialog = std::make_unique<QProgressDialog>(
            QCoreApplication::translate("CTextDocument", "Reading %1...").arg(FileName),
            QCoreApplication::translate("CTextDocument", "Cancel"), 0, ProgressSteps, &Window);
        Dialog->setWindowTitle(QStringLiteral("Skimmet"));
        Dialog->setWindowModality(Qt::WindowModal);
        Dialog->setAutoReset(false);
        Dialog->setAutoClose(false);
        Dialog->setMinimumDuration(0);
        // The program still works but Cancel can be clicked: the arrow with the
        // hourglass rather than the hourglass alone.
        Cursor.emplace(Qt::BusyCursor);
        Dialog->show();
    }

    QWidget& Window;
    const IClock& Clock;
    QString FileName;
    uint32_t Start;
    std::unique_ptr<QProgressDialog> Dialog;
    std::optional<COverrideCursor> Cursor; // given back before the dialog goes
};

} // namespace

CTextDocument::CTextDocument(QWidget& window, CReadingSession& session, CServices& services)
    : Window(window), Session(session), Settings(session.Settings()), Services(services),
      ClipboardFolder(ClipboardTexts::DefaultFolder()) {}

CTextDocument::~CTextDocument() = default;

// A file dialog takes its patterns from the parentheses of each filter and matches them
// regardless of case. "*" rather than "*.*" for all files: names without a dot are
// files too.
QStringList CTextDocument::TextFilters() {
    return {tr("Text files and books (*.txt *.epub *.fb2 *.fb2.zip *.html *.htm "
               "*.xhtml *.pdf)"),
            tr("Text files (*.txt)"), tr("All Files (*)"), tr("Open as plain text (*)")};
}

QStringList CTextDocument::SettingsFilters() {
    return {tr("Skimmet settings (*.SKM)"), tr("INI-Files (*.ini)"), tr("All Files (*)")};
}

bool CTextDocument::HasText() const {
    return Session.HasText();
}

QString CTextDocument::TextFolder() const {
    if (Path.empty())
        return {};
    return QFile::decodeName(
        QByteArray::fromStdString(std::filesystem::path(Path).parent_path().string()));
}

void CTextDocument::OnFileOpen() {
    int filter = 0;
    const std::optional<QString> path =
        Services.Dialogs.OpenFile(&Window, tr("Open for Skimmet..."), TextFilters(),
                                  QStringLiteral("txt"), TextFolder(), &filter);
    if (path)
        Open(*path, filter == PlainTextFilter);
}

bool CTextDocument::Open(const QString& path, bool asPlainText) {
    return OpenLocal(LocalPath(path), asPlainText);
}

bool CTextDocument::OpenLocal(const std::string& path, bool asPlainText) {
    // A second open from inside the first one's progress dialog waits its turn.
    if (Opening)
        return false;
    const QScopedValueRollback opening(Opening, true);
    const COverrideCursor busy(Qt::WaitCursor);
    KeepPlaceBeforeRead();

    const bool plain = asPlainText || StoredAsPlainText(path);
    TextLoadError error = TextLoadError::None;
    std::optional<CTextBuffer> text = Read(path, error, std::nullopt, plain);
    if (!text) {
        ReportLoadFailure(error);
        return false;
    }
    ShowLoaded(std::move(*text), AbsolutePath(path), plain);
    return true;
}

bool CTextDocument::OpenGivenText(const QString& text) {
    if (text.trimmed().isEmpty()) {
        Report(tr("There is no text to read."), MessageIcon::Information);
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    if (static_cast<uint64_t>(bytes.size()) >= CTextBuffer::SizeLimit) {
        Report(LoadMessage(TextLoadError::TooLarge), MessageIcon::Warning);
        return false;
    }
    std::string why;
    const std::optional<std::string> path = ClipboardTexts::Keep(
        std::string_view(bytes.constData(), bytes.size()), ClipboardFolder, why);
    if (!path) {
        Report(SavingFailed(), MessageIcon::Warning, QString::fromStdString(why));
        return false;
    }
    return OpenLocal(*path, true);
}

QString CTextDocument::ShownText() const {
    const std::string_view bytes = Session.ShownText();
    if (Buffer.IsUtf8())
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const std::optional<std::string> utf8 = TextEncoding::ToUtf8(bytes, Buffer.Encoding());
    return utf8 ? QString::fromStdString(*utf8) : QString();
}

QString CTextDocument::TitleOf(const std::string& path) const {
    if (ClipboardTexts::IsKept(path, ClipboardFolder))
        return tr("Clipboard");
    return DisplayName(path);
}

QString CTextDocument::RecentLabel(const std::string& path) const {
    if (!ClipboardTexts::IsKept(path, ClipboardFolder))
        return DisplayName(path);
    // Enough bytes for the characters shown, however many bytes each takes.
    constexpr qint64 HeadBytes = 4 * RecentHeadLength;
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    const QString head = file.open(QIODevice::ReadOnly)
                             ? QString::fromUtf8(file.read(HeadBytes)).simplified()
                             : QString();
    const bool cut = head.size() > RecentHeadLength;
    const QString shown = head.left(RecentHeadLength) + (cut ? QStringLiteral("…") : QString());
    return tr("Clipboard: %1").arg(shown);
}

std::optional<CTextBuffer> CTextDocument::Read(const std::string& path, TextLoadError& error,
                                               const std::optional<std::string>& encoding,
                                               bool asPlainText) {
    CancelRequested = false;
    CReadProgress progress(Window, Services.Clock, DisplayName(path));
    // The read's own: it may outlive this call when the read is given up.
    struct SResult {
        std::optional<CTextBuffer> Text;
        TextLoadError Error = TextLoadError::None;
        std::string Why;
    };
    const auto result = std::make_shared<SResult>();
    const std::string chosen = encoding.value_or(StoredEncoding(path));
    const auto read = [result, path, chosen, asPlainText](const CBackgroundRead::Progress& report) {
        result->Text =
            CTextBuffer::Load(path, result->Error, report, chosen, &result->Why, asPlainText);
    };
    const auto step = [&](uint64_t done, uint64_t total) {
        emit ReadingProgress(done, total);
        CancelRequested = CancelRequested || !progress.Update(done, total);
        return !CancelRequested;
    };
    const auto tick = [&] {
        CancelRequested = CancelRequested || !progress.Tick();
        return !CancelRequested;
    };
    LoadWhy.clear();
    CBackgroundRead reader;
    if (reader.Run(read, step, tick) == CBackgroundRead::EEnd::GivenUp) {
        error = TextLoadError::Cancelled;
        return std::nullopt;
    }
    error = result->Error;
    LoadWhy = result->Why;
    return std::move(result->Text);
}

void CTextDocument::ReportLoadFailure(TextLoadError error) {
    const QString message = LoadMessage(error);
    if (message.isEmpty())
        return;
    const bool tooLarge =
        error == TextLoadError::TooLarge || error == TextLoadError::ConvertedTooLarge;
    Report(message, tooLarge ? MessageIcon::Error : MessageIcon::Warning,
           QString::fromStdString(LoadWhy));
}

bool CTextDocument::ReadIn(const std::string& encoding) {
    if (!HasText() || Path.empty() || Opening)
        return false;
    const QScopedValueRollback opening(Opening, true);
    const COverrideCursor busy(Qt::WaitCursor);
    TextLoadError error = TextLoadError::None;
    std::optional<CTextBuffer> text = Read(Path, error, encoding, Settings.AsPlainText);
    if (!text) {
        ReportLoadFailure(error);
        return false;
    }
    // The same text: the place and the bookmarks stay (the place on a character start).
    const int32_t place = Session.Place().value_or(0);
    TakeText(std::move(*text), !encoding.empty());
    Session.FollowTo(std::clamp(place, 0, Buffer.Size()));
    Session.SettingsEdited(SettingsAspect::Cut | SettingsAspect::Bookmarks);
    return true;
}

void CTextDocument::TakeText(CTextBuffer text, bool keepEncoding) {
    // The reading may draw until it has the new text: the previous bytes stay until then.
    const CTextBuffer previous = std::exchange(Buffer, std::move(text));
    // Set before the view takes the text: whoever follows that change reads them.
    Settings.TextLength = Buffer.Size();
    Settings.CharacterMode = Buffer.IsUtf8();
    Settings.Encoding = std::string(Buffer.Encoding());
    Settings.KeepEncoding = keepEncoding;
    Session.SetContents(Buffer.Contents());
    Session.SetText(Buffer.Data());
}

void CTextDocument::ShowLoaded(CTextBuffer text, const std::string& path, bool asPlainText) {
    // The previous text keeps the place the reader was at, saved before the reading lets
    // go of that text, and before its lock goes.
    Session.KeepPlace();
    SaveCompanionSettings();
    Lock = CCompanionLock();
    // Whoever follows the change of text (the options panel) reads the bookmarks:
    // those of the previous text could point past the new one.
    Settings.Book.BookmarksNum = 0;
    TakeText(std::move(text), true);
    Path = path;
    // The list is a convenience: a list that cannot be saved is not worth a box.
    Recent.Add(Path);
    Lock = CCompanionLock::Acquire(CompanionPath(Path));
    LoadSettingsForText(Settings, Path, Buffer.Size());
    Settings.AsPlainText = asPlainText;
    Session.SettingsEdited(SettingsAspect::All);
    QString title = QStringLiteral("Skimmet: [%1]").arg(TitleOf(Path));
    if (IsReadOnly())
        title += tr(" (read-only)");
    Window.setWindowTitle(title);
    if (IsReadOnly())
        Report(tr("This text is open in another Skimmet window."), MessageIcon::Information,
               tr("That window keeps its settings, position and bookmarks; this one "
                  "shows it read-only and saves nothing to its settings file."));
}

void CTextDocument::KeepPlaceBeforeRead() {
    if (!HasText() || Path.empty() || IsReadOnly())
        return;
    // The reading goes on as it is: only the file learns where the reader is.
    const int32_t stored = Settings.Book.GetOffset();
    if (const std::optional<int32_t> place = Session.Place())
        Settings.SetPosition(*place);
    // The save after a successful read says what fails; a read that fails leaves the
    // text on the screen, to be saved as ever.
    Settings.SaveToFile(CompanionPath(Path), SettingsFileMode::Full);
    Settings.Book.SetOffset(stored);
}

void CTextDocument::SaveCompanionSettings() {
    // A text handed to the view by other means has no file to keep its settings by.
    if (!HasText() || Path.empty() || IsReadOnly())
        return;
    std::string error;
    if (!Settings.SaveToFile(CompanionPath(Path), SettingsFileMode::Full, &error))
        Report(SavingFailed(), MessageIcon::Warning, QString::fromStdString(error));
}

void CTextDocument::OnSaveAsDefault() {
    if (!Services.Dialogs.Confirm(&Window, tr("Are you sure?")))
        return;
    const COverrideCursor busy(Qt::WaitCursor);
    std::string error;
    if (!CreateDefaultsFolder() ||
        !Settings.SaveToFile(DefaultsFilePath(), SettingsFileMode::SettingsOnly, &error))
        Report(SavingFailed(), MessageIcon::Warning, QString::fromStdString(error));
}

void CTextDocument::OnLoadSettings() {
    const std::optional<QString> path = Services.Dialogs.OpenFile(
        &Window, tr("Open settings..."), SettingsFilters(), QStringLiteral("skm"), TextFolder());
    if (!path)
        return;
    const COverrideCursor busy(Qt::WaitCursor);
    // A file that cannot be read changes nothing: resetting every setting would have
    // the next close write those defaults over the text's own settings.
    CProfileFile file;
    std::string error;
    if (!file.Load(LocalPath(*path), &error, CProfileFile::IfMissing::Fail)) {
        Report(OpeningFailed(), MessageIcon::Warning, QString::fromStdString(error));
        return;
    }
    // The reader's marks are the text's, not the settings': they stay.
    Settings.LoadSettingsOnly(file);
    // A running reading takes the new times from its current phase on; the view keeps
    // its font until the reader picks one.
    Session.SettingsEdited(SettingsButFont);
}

void CTextDocument::Report(const QString& text, MessageIcon icon, const QString& why) {
    // Nobody is there to answer a box when the session ends or a signal stops the program.
    if (Unattended) {
        std::fprintf(stderr, "skimmet: %s%s%s\n", qPrintable(text), why.isEmpty() ? "" : ": ",
                     qPrintable(why));
        return;
    }
    // The box is answered with the pointer, whatever the work around it shows.
    const COverrideCursor arrow(Qt::ArrowCursor);
    Services.Dialogs.Message(&Window, text, icon, why);
}
