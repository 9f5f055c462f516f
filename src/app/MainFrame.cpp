// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"

#include "app/CommandActions.h"
#include "app/KeyOwnership.h"
#include "app/LogWindowModule.h"
#include "app/RatingRow.h"
#include "app/ReadingPane.h"
#include "app/RecentTextsMenu.h"
#include "app/TextDocument.h"
#include "engine/ReadingSession.h"
#include "engine/ReadingSpeed.h"
#include "log/LogWriter.h"
#include "log/ReadingLog.h"
#include "log/SessionRecorder.h"
#include "panel/OptionsPanel.h"
#include "platform/QtWakeTimer.h"
#include "platform/ScreenSaver.h"
#include "platform/Services.h"
#include "platform/UrlOpener.h"
#include "text/TextEncoding.h"
#include "view/FlashView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

// The toolbar images live in a static library, whose automatic resource registration
// the linker drops unless something refers to it.
static void InitToolBarResources() {
    Q_INIT_RESOURCE(toolbar);
}

namespace {

// The one local file that a drag carries, its name in bytes as the URL encodes them
// (a name need not be UTF-8); empty for anything else.
std::string DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    return QByteArray::fromPercentEncoding(urls.front().path(QUrl::FullyEncoded).toLatin1())
        .toStdString();
}

// Text dragged from a page or a mail rather than a file: read as a pasted text is.
QString DroppedText(const QMimeData* data) {
    if (!data || data->hasUrls() || !data->hasText())
        return {};
    return data->text();
}

} // namespace

CMainFrame::CMainFrame(CServices& services, const ICommandTarget* app,
                       std::unique_ptr<ILockKeys> lockKeys, QWidget* parent)
    : QMainWindow(parent), Wake(std::make_unique<CWakeTimer>(services.Clock)),
      ReadingSession(std::make_unique<CReadingSession>(ReadingSettings, services.Clock, *Wake)),
      Services(services), App(app), LockIndicators(std::move(lockKeys)),
      Actions(*this, [this](int id) { ExecuteCommand(id); }) {
    InitToolBarResources();
    setWindowTitle(QStringLiteral("Skimmet"));

    FlashView = std::make_unique<CFlashView>(*ReadingSession, Services, this);
    setCentralWidget(FlashView.get());
    setFocusProxy(FlashView.get());
    TextDocument = std::make_unique<CTextDocument>(*this, *ReadingSession, Services);
    setAcceptDrops(true);

    AddHandlers();
    Actions.FillMenuBar(*menuBar(),
                        [this](QMenu& menu) { new CRecentTextsMenu(menu, *TextDocument); });
    CreateToolBar();
    CreateStatusBar();
    StartReadingLog();

    ReadingSession->AddListener(*this);
    connect(Bar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandStates);
    // QStatusBar has no visibility signal; its show and hide events stand in.
    Status->installEventFilter(this);
    // Lock keys change with key events anywhere in the program and while another
    // program has the keyboard.
    qApp->installEventFilter(this);

    UpdateCommandStates();
    LockIndicators.Update();
}

CMainFrame::~CMainFrame() {
    // Its count reads the text, which goes before the status bar does.
    delete Pane;
    // Nothing may reach the frame's handlers while its parts go away.
    ReadingSession->RemoveListener(*this);
    qApp->removeEventFilter(this);
    Status->removeEventFilter(this);
    disconnect(Bar, nullptr, this, nullptr);
    setFocusProxy(nullptr);
    Services.ScreenSaver.UnInhibit();
}

void CMainFrame::StartReadingLog() {
    LogPath = CReadingLog::DefaultPath();
    Log = std::make_unique<CLogWriter>(
        LogPath, *this,
        [this](CReadingLog::EOpen result, const QString& aside, const QString& error) {
            ReportLogOpen(result, aside, error);
        });
    Recorder = std::make_unique<CSessionRecorder>(*ReadingSession, Services.Clock, *Log,
                                                  [this] { return TextDocument->OpenPath(); });
    Recorder->SetOnRecorded([this](const SSessionRecord& session) { AskRating(session); });
}

void CMainFrame::ReportLogOpen(CReadingLog::EOpen result, const QString& aside,
                               const QString& error) {
    if (result == CReadingLog::EOpen::SetAside) {
        Services.Dialogs.Message(
            this, tr("The reading log could not be read, so a new one was begun."),
            MessageIcon::Warning, tr("The old log was renamed to %1.").arg(aside));
        return;
    }
    Services.Dialogs.Message(this,
                             tr("The reading log cannot be kept; reading goes on without it."),
                             MessageIcon::Warning, error);
}

void CMainFrame::AskRating(const SSessionRecord& session) {
    constexpr int64_t LongSessionMs = 5 * 60 * 1000;
    if (session.RunningMs < LongSessionMs)
        return;
    Rating->Ask([this, startedAt = session.StartedAt, fingerprint = session.Fingerprint](
                    int rating) { Log->Rate(startedAt, fingerprint, rating); });
}

QWidget* CMainFrame::LogWindow() const {
    return LogView;
}

void CMainFrame::OnReadingLog() {
    // The session that just ended is in the log before the window reads it.
    Log->Flush();
    CReadingLog log(LogPath);
    std::vector<SSessionRecord> sessions;
    if (log.OpenToRead())
        sessions = log.Sessions();
    std::string error;
    const SLogWindowEntry* window = LogWindowModule::Entry(error);
    if (!window) {
        Services.Dialogs.Message(this, tr("The reading log cannot be shown."), MessageIcon::Error,
                                 QString::fromStdString(error));
        return;
    }
    delete LogView;
    LogView = window->Create(std::move(sessions), Services.Dialogs, this);
    LogView->setAttribute(Qt::WA_DeleteOnClose);
    LogView->show();
}

void CMainFrame::CreateToolBar() {
    Bar = new QToolBar(tr("Toolbar"), this);
    Bar->setObjectName(QStringLiteral("ToolBar"));
    Bar->setMovable(true);
    Bar->setFloatable(true);
    Bar->setAllowedAreas(Qt::AllToolBarAreas);
    Actions.FillToolBar(*Bar);
    addToolBar(Qt::TopToolBarArea, Bar);
}

void CMainFrame::CreateStatusBar() {
    Status = new QStatusBar(this);
    Status->setObjectName(QStringLiteral("StatusBar"));
    // Prompts are shown as temporary messages, which cover this pane while they last.
    Message = new QLabel(tr("Ready"), Status);
    Message->setObjectName(QStringLiteral("MessagePane"));
    Status->addWidget(Message, 1);
    Rating = new CRatingRow(Status);
    Status->addWidget(Rating);
    // Before the lock indicators; it follows the reading from here on by itself.
    Pane = new CReadingPane(*ReadingSession, Status);
    Pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Status->addPermanentWidget(Pane);
    Pane->Follow();
    LockIndicators.AddTo(*Status);
    setStatusBar(Status);
}

void CMainFrame::AddHandler(int id, std::function<void()> execute,
                            std::function<CommandState()> update) {
    Handlers.insert_or_assign(id, CommandHandler{std::move(execute), std::move(update)});
}

CommandState CMainFrame::PlayCommandState(uint32_t mask, uint32_t checkedWhen) const {
    const uint32_t flags = ReadingSession->PlayFlags();
    return {ReadingSession->HasText(), (flags & mask) == checkedWhen};
}

CommandState CMainFrame::TextCommandState() const {
    return {ReadingSession->HasText(), false};
}

void CMainFrame::AddHandlers() {
    using namespace CommandId;
    const auto toggle = [this](QWidget* bar) {
        bar->setVisible(!bar->isVisibleTo(this));
    };
    const auto shown = [this](const QWidget* bar) {
        return CommandState{true, bar->isVisibleTo(this)};
    };
    AddHandler(
        ViewToolBar, [=, this] { toggle(Bar); }, [=, this] { return shown(Bar); });
    AddHandler(
        ViewStatusBar, [=, this] { toggle(Status); }, [=, this] { return shown(Status); });
    AddHandler(HomePage, [this] { OnHomePage(); });
    AddHandler(FullScreen, [this] { OnFullScreen(); });
    AddHandler(ReadingLog, [this] { OnReadingLog(); });
    AddReadingHandlers();
    AddPanelHandlers();
    AddDocumentHandlers();
    AddEncodingHandlers();
    AddKeyboardHandlers();
}

void CMainFrame::AddReadingHandlers() {
    using namespace CommandId;
    constexpr uint32_t Running = CPlayer::RunningBit;
    constexpr uint32_t Stopped = CPlayer::StoppedBit;
    AddHandler(
        Run, [this] { OnRun(); }, [this] { return PlayCommandState(Running, Running); });
    AddHandler(
        Pause, [this] { OnPause(); }, [this] { return PlayCommandState(Running | Stopped, 0); });
    AddHandler(
        Stop, [this] { OnStop(); },
        [this] { return PlayCommandState(Running | Stopped, Stopped); });
    AddHandler(
        AddBookmark, [this] { ReadingSession->AddBookmark(); },
        [this] {
            return CommandState{ReadingSession->IsReading(), false};
        });
}

void CMainFrame::AddPanelHandlers() {
    using namespace CommandId;
    AddHandler(
        OptionsPanel, [this] { FlashView->ShowOptionsPanel(COptionsPanel::CurrentPage); },
        [this] {
            return CommandState{true, (ReadingSession->PlayFlags() & CPlayer::PanelShownBit) != 0};
        });
    AddHandler(ReadingOptions,
               [this] { FlashView->ShowOptionsPanel(COptionsPanel::ReadingOptions); });
    AddHandler(MovePosition, [this] { FlashView->ShowOptionsPanel(COptionsPanel::MovePosition); });
}

void CMainFrame::AddDocumentHandlers() {
    using namespace CommandId;
    AddHandler(FileOpen, [this] { TextDocument->OnFileOpen(); });
    // Always offered: asking the clipboard's owner what it holds is a round trip to
    // another program, which may be slow to answer; an empty clipboard says so when pasted.
    AddHandler(EditPaste,
               [this] { TextDocument->OpenGivenText(QGuiApplication::clipboard()->text()); });
    AddHandler(
        EditCopy, [this] { OnCopy(); },
        [this] {
            const CReadingSession::State state = ReadingSession->GetState();
            const bool shown =
                state == CReadingSession::State::Running || state == CReadingSession::State::Paused;
            return CommandState{shown, false};
        });
    AddHandler(LoadSettings, [this] { TextDocument->OnLoadSettings(); });
    AddHandler(SaveAsDefault, [this] { TextDocument->OnSaveAsDefault(); });
    AddHandler(
        SaveFileSettings, [this] { TextDocument->SaveCompanionSettings(); },
        [this] {
            return CommandState{TextDocument->HasText() && !TextDocument->IsReadOnly(), false};
        });
}

void CMainFrame::AddEncodingHandlers() {
    AddHandler(
        CommandId::EncodingAuto, [this] { TextDocument->ReadIn({}); },
        [this] {
            const bool text = TextDocument->HasText();
            return CommandState{text, text && !ReadingSettings.KeepEncoding};
        });
    const std::span<const std::string_view> known = TextEncoding::Known();
    for (std::size_t i = 0; i < known.size(); ++i) {
        const std::string name(known[i]);
        AddHandler(
            CommandId::EncodingFirst + static_cast<int>(i),
            [this, name] { TextDocument->ReadIn(name); },
            [this, name] {
                const bool text = TextDocument->HasText();
                const bool chosen =
                    ReadingSettings.KeepEncoding && ReadingSettings.Encoding == name;
                return CommandState{text, text && chosen};
            });
    }
}

void CMainFrame::AddKeyboardHandlers() {
    using namespace CommandId;
    const auto loaded = [this] {
        return TextCommandState();
    };
    AddHandler(
        RunOrPause, [this] { ReadingSession->IsReading() ? OnPause() : OnRun(); }, loaded);
    AddHandler(
        SentenceBack, [this] { ReadingSession->MoveBySentence(false); }, loaded);
    AddHandler(
        SentenceForward, [this] { ReadingSession->MoveBySentence(true); }, loaded);
    AddHandler(
        Faster, [this] { ReadingSession->ChangeSpeed(ReadingSpeed::Faster); }, loaded);
    AddHandler(
        Slower, [this] { ReadingSession->ChangeSpeed(ReadingSpeed::Slower); }, loaded);
    AddHandler(
        BackToStart, [this] { ReadingSession->JumpTo(0); }, loaded);
    AddHandler(
        UnitBack, [this] { ReadingSession->StepUnit(false); }, loaded);
    AddHandler(
        UnitForward, [this] { ReadingSession->StepUnit(true); }, loaded);
    AddHandler(
        ParagraphBack, [this] { ReadingSession->MoveByParagraph(false); }, loaded);
    AddHandler(
        ParagraphForward, [this] { ReadingSession->MoveByParagraph(true); }, loaded);
    AddHandler(
        Replay,
        [this] {
            ReadingSession->Replay();
            Services.ScreenSaver.Inhibit();
        },
        loaded);
    const auto chaptered = [this] {
        return CommandState{!ReadingSession->Contents().empty(), false};
    };
    AddHandler(
        ChapterBack, [this] { ReadingSession->MoveByChapter(false); }, chaptered);
    AddHandler(
        ChapterForward, [this] { ReadingSession->MoveByChapter(true); }, chaptered);
    AddHandler(
        PauseAtChapterEnd,
        [this] {
            ReadingSettings.PauseAtChapterEnd = ReadingSettings.PauseAtChapterEnd ? 0 : 1;
            ReadingSession->SettingsEdited(SettingsAspect::Timing);
        },
        [this] {
            return CommandState{true, ReadingSettings.PauseAtChapterEnd != 0};
        });
    AddHandler(
        PaceByContent,
        [this] {
            ReadingSettings.Pacing.On = ReadingSettings.Pacing.On ? 0 : 1;
            ReadingSession->SettingsEdited(SettingsAspect::Timing);
        },
        [this] {
            return CommandState{true, ReadingSettings.Pacing.On != 0};
        });
}

bool CMainFrame::KeepsKey(const QObject* focus, const QKeyEvent& key) const {
    const auto* widget = qobject_cast<const QWidget*>(focus);
    if (!widget)
        return false;
    if (widget->window() != FlashView->window() && widget->window()->windowType() != Qt::Popup)
        return false;
    const bool fullScreen = ReadingSession->PlayFlags() & CPlayer::FullScreenBit;
    return FocusKeepsKey(*widget, key, FlashView->OptionsPanel(), fullScreen);
}

void CMainFrame::OnFullScreen() {
    FlashView->FullScreen((ReadingSession->PlayFlags() & CPlayer::FullScreenBit) ? 0 : 1);
}

QAction* CMainFrame::ActionFor(int id) const {
    return Actions.ActionFor(id);
}

const CommandHandler* CMainFrame::FindHandler(int id) const {
    const auto found = Handlers.find(id);
    return found == Handlers.end() ? nullptr : &found->second;
}

const CommandHandler* CMainFrame::Route(int id) const {
    for (const ICommandTarget* target : {static_cast<const ICommandTarget*>(this), App}) {
        if (!target)
            continue;
        if (const CommandHandler* handler = target->FindHandler(id))
            return handler;
    }
    return nullptr;
}

CommandState CMainFrame::StateOf(int id) const {
    const CommandHandler* handler = Route(id);
    if (!handler)
        return {false, false};
    return handler->Update ? handler->Update() : CommandState{};
}

void CMainFrame::ExecuteCommand(int id) {
    const CommandHandler* handler = Route(id);
    if (handler && (!handler->Update || handler->Update().Enabled))
        handler->Execute();
    // A checkable action flips itself when triggered; put it back to the real state,
    // also when the command changed nothing.
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
    Actions.Update([this](int id) { return StateOf(id); });
}

void CMainFrame::OnPlayFlagsChanged(uint32_t flags) {
    // The reading stops by itself at the end of the text; a finished reading should not
    // keep the screen awake.
    if (!(flags & CPlayer::RunningBit))
        Services.ScreenSaver.UnInhibit();
    else
        Rating->Withdraw();
    UpdateCommandStates();
    UpdateMessage();
}

void CMainFrame::UpdateMessage() {
    const bool waiting = ReadingSession->GetState() == CReadingSession::State::Stopped;
    Message->setText(waiting ? tr("Press Space to read, F11 for full screen") : tr("Ready"));
}

void CMainFrame::OnRun() {
    ReadingSession->SetPlayState(CPlayer::Run);
    Services.ScreenSaver.Inhibit();
}

void CMainFrame::OnPause() {
    ReadingSession->SetPlayState(CPlayer::Pause);
}

void CMainFrame::OnStop() {
    ReadingSession->SetPlayState(CPlayer::Stop);
}

void CMainFrame::OnCopy() {
    const QString text = TextDocument->ShownText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void CMainFrame::OnHomePage() {
    Services.UrlOpener.Open(QStringLiteral(SKIMMET_HOME_PAGE));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A text still being read is given up; the one on the screen keeps its settings and
    // the place the next Run would start from.
    TextDocument->CancelOpen();
    ReadingSession->KeepPlace();
    TextDocument->SaveCompanionSettings();
    TextDocument->ReleaseLock();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (!DroppedFile(data).empty() || !DroppedText(data).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const std::string path = DroppedFile(event->mimeData());
    const QString text = DroppedText(event->mimeData());
    if (path.empty() && text.isEmpty())
        return;
    event->acceptProposedAction();
    if (path.empty()) {
        QMetaObject::invokeMethod(
            this, [this, text] { TextDocument->OpenGivenText(text); }, Qt::QueuedConnection);
        return;
    }
    // Opened once the drop is over, so that the program the file came from is not kept
    // waiting through a message box or a long read.
    QMetaObject::invokeMethod(
        this, [this, path] { TextDocument->OpenLocal(path); }, Qt::QueuedConnection);
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    // Keys belong to the view unless the user has put the focus elsewhere in the window.
    if (!focusWidget())
        FlashView->setFocus(Qt::ActiveWindowFocusReason);
    LockIndicators.Update();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Accepted, the key goes to the focused widget instead of the accelerators. An
        // open list still sees the override: a combo box's list chooses its item there.
        if (KeepsKey(watched, *static_cast<QKeyEvent*>(event))) {
            event->accept();
            const auto* widget = qobject_cast<const QWidget*>(watched);
            return !widget || widget->window()->windowType() != Qt::Popup;
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (CLockIndicators::IsLockKey(static_cast<QKeyEvent*>(event)->key()))
            LockIndicators.Update();
        break;
    case QEvent::Show:
    case QEvent::Hide:
        if (watched == Status)
            UpdateCommandStates();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
