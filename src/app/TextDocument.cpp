#include "app/TextDocument.h"

#include "app/AppResources.h"
#include "app/OverrideCursor.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "settings/ReadingSettings.h"
#include "settings/TextSettings.h"
#include "view/FlashView.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QWidget>

#include <memory>
#include <optional>
#include <utility>

namespace {

const QString SavingFailed = QStringLiteral("Error Saving File");
constexpr int ProgressSteps = 1000;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The progress of one read: nothing for a quick one, a dialog with Cancel once the read
// has lasted ProgressDelayMs.
class CReadProgress {
public:
    CReadProgress(QWidget& window, const IClock& clock, const QString& fileName)
        : Window(window), Clock(clock), FileName(fileName), Start(clock.NowMs()) {}

    // False once the reader has cancelled.
    bool Update(uint64_t done, uint64_t total) {
        if (!Dialog && Clock.NowMs() - Start >= CTextDocument::ProgressDelayMs)
            ShowDialog();
        if (!Dialog)
            return true;
        Dialog->setValue(static_cast<int>(done * ProgressSteps / (total ? total : 1)));
        // The dialog's Cancel, and the view behind it, need their events while the
        // read goes on.
        QCoreApplication::processEvents();
        return !Dialog->wasCanceled();
    }

private:
    void ShowDialog() {
        Dialog =
            std::make_unique<QProgressDialog>(QStringLiteral("Reading %1...").arg(FileName),
                                              QStringLiteral("Cancel"), 0, ProgressSteps, &Window);
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

CTextDocument::CTextDocument(QWidget& window, CReadingSettings& settings, CFlashView& view,
                             CServices& services, std::function<void()> refreshPanel)
    : Window(window), Settings(settings), View(view), Services(services),
      RefreshPanel(std::move(refreshPanel)) {}

CTextDocument::~CTextDocument() = default;

// A file dialog takes its patterns from the parentheses of each filter and matches them
// regardless of case. "*" rather than "*.*" for all files: names without a dot are
// files too.
QStringList CTextDocument::TextFilters() {
    return {QStringLiteral("Text files (*.TXT)"), QStringLiteral("All Files (*)")};
}

QStringList CTextDocument::SettingsFilters() {
    return {QStringLiteral("Skimmet settings (*.SKM)"), QStringLiteral("INI-Files (*.ini)"),
            QStringLiteral("All Files (*)")};
}

bool CTextDocument::HasText() const {
    return (View.PlayFlags() & CFlashView::TextLoadedBit) != 0;
}

void CTextDocument::OnFileOpen() {
    const std::optional<QString> path = Services.Dialogs.OpenFile(
        &Window, QStringLiteral("Open for Skimmet..."), TextFilters(), QStringLiteral("txt"));
    if (path)
        Open(*path);
}

bool CTextDocument::Open(const QString& path) {
    // A second open from inside the first one's progress dialog waits its turn.
    if (Opening)
        return false;
    const QScopedValueRollback opening(Opening, true);
    const COverrideCursor busy(Qt::WaitCursor);

    TextLoadError error = TextLoadError::None;
    std::optional<CTextBuffer> text = Read(path, error);
    if (!text) {
        if (const QString message = QString::fromLatin1(TextLoadMessage(error)); !message.isEmpty())
            Report(message,
                   error == TextLoadError::TooLarge ? MessageIcon::Error : MessageIcon::Warning);
        return false;
    }
    ShowLoaded(std::move(*text), QFileInfo(path).absoluteFilePath());
    return true;
}

std::optional<CTextBuffer> CTextDocument::Read(const QString& path, TextLoadError& error) {
    CancelRequested = false;
    CReadProgress progress(Window, Services.Clock, QFileInfo(path).fileName());
    return CTextBuffer::Load(LocalPath(path), error, [&](uint64_t done, uint64_t total) {
        emit ReadingProgress(done, total);
        if (!progress.Update(done, total))
            CancelRequested = true;
        return !CancelRequested;
    });
}

void CTextDocument::ShowLoaded(CTextBuffer text, const QString& path) {
    // The position stored for the previous text is the view's cursor in it, so it is
    // saved before the view lets go of that text.
    SaveCompanionSettings();
    {
        // The view may draw until it has the new text: the previous bytes stay until then.
        const CTextBuffer previous = std::exchange(Buffer, std::move(text));
        // Whoever follows the view's change of text (the options panel) reads the
        // bookmarks and the length: those of the previous text could point past the
        // new one.
        Settings.TextLength = Buffer.Size();
        Settings.Book.BookmarksNum = 0;
        View.SetText(Buffer.Data());
    }
    Path = path;
    LoadSettingsForText(Settings, LocalPath(Path), Buffer.Size());
    View.RecreateFont();
    if (RefreshPanel)
        RefreshPanel();
    Window.setWindowTitle(QStringLiteral("Skimmet: [%1]").arg(QFileInfo(Path).fileName()));
    Window.setWindowIcon(AppIcon());
    View.update();
}

void CTextDocument::SaveCompanionSettings() {
    // A text handed to the view by other means has no file to keep its settings by.
    if (!HasText() || Path.isEmpty())
        return;
    std::string error;
    if (!Settings.SaveToFile(CompanionPath(LocalPath(Path)), SettingsFileMode::Full, &error))
        Report(SavingFailed, MessageIcon::Warning, QString::fromStdString(error));
}

void CTextDocument::OnSaveAsDefault() {
    if (!Services.Dialogs.Confirm(&Window, QStringLiteral("Are you sure?")))
        return;
    const COverrideCursor busy(Qt::WaitCursor);
    std::string error;
    if (!CreateDefaultsFolder() ||
        !Settings.SaveToFile(DefaultsFilePath(), SettingsFileMode::SettingsOnly, &error))
        Report(SavingFailed, MessageIcon::Warning, QString::fromStdString(error));
}

void CTextDocument::OnLoadSettings() {
    const std::optional<QString> path = Services.Dialogs.OpenFile(
        &Window, QStringLiteral("Open settings..."), SettingsFilters(), QStringLiteral("skm"));
    if (!path)
        return;
    const COverrideCursor busy(Qt::WaitCursor);
    Settings.LoadFromFile(LocalPath(*path), SettingsFileMode::SettingsOnly, 0);
    // A running reading takes the new times from its current phase on.
    View.TimingChanged();
    if (RefreshPanel)
        RefreshPanel();
}

void CTextDocument::Report(const QString& text, MessageIcon icon, const QString& why) {
    // The box is answered with the pointer, whatever the work around it shows.
    const COverrideCursor arrow(Qt::ArrowCursor);
    Services.Dialogs.Message(&Window, text, icon, why);
}
