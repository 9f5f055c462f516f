// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"

#include "app/ReadingPane.h"
#include "app/TextDocument.h"
#include "display/AppResources.h"
#include "engine/ReadingSpeed.h"
#include "engine/SentenceMoves.h"
#include "panel/OptionsPanel.h"
#include "platform/LockKeys.h"
#include "platform/ScreenSaver.h"
#include "platform/Services.h"
#include "platform/UrlOpener.h"
#include "text/TextEncoding.h"
#include "view/FlashView.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

#include <array>

// The toolbar images live in a static library, whose automatic resource registration
// the linker drops unless something refers to it.
static void InitToolBarResources() {
    Q_INIT_RESOURCE(toolbar);
}

namespace {

constexpr std::array ToolBarImageSizes{16, 24, 32};

struct IndicatorDef {
    LockKey Key;
    const char* Text;
};
constexpr std::array IndicatorDefs{IndicatorDef{LockKey::Caps, "CAP"},
                                   IndicatorDef{LockKey::Num, "NUM"},
                                   IndicatorDef{LockKey::Scroll, "SCRL"}};

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

bool IsLockKey(int key) {
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

QIcon CommandIcon(const CommandInfo& command) {
    QIcon bundled;
    if (command.IconFile) {
        for (const int size : ToolBarImageSizes)
            bundled.addFile(QStringLiteral(":/toolbar/%1-%2.png")
                                .arg(QLatin1String(command.IconFile))
                                .arg(size),
                            QSize(size, size));
    }
    if (!command.IconTheme)
        return bundled;
    return QIcon::fromTheme(QLatin1String(command.IconTheme), bundled);
}

} // namespace

CMainFrame::CMainFrame(CServices& services, const ICommandTarget* app,
                       std::unique_ptr<ILockKeys> lockKeys, QWidget* parent)
    : QMainWindow(parent), Services(services), App(app),
      LockKeys(lockKeys ? std::move(lockKeys) : CreateLockKeys()) {
    InitToolBarResources();
    setWindowTitle(QStringLiteral("Skimmet"));
    setWindowIcon(AppIcon());

    FlashView = std::make_unique<CFlashView>(ReadingSettings, Services, this);
    setCentralWidget(FlashView.get());
    setFocusProxy(FlashView.get());
    TextDocument = std::make_unique<CTextDocument>(*this, ReadingSettings, *FlashView, Services,
                                                   [this] { RefreshPanel(); });
    setAcceptDrops(true);

    CreateActions();
    AddHandlers();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    connect(FlashView.get(), &CFlashView::PlayFlagsChanged, this, &CMainFrame::OnPlayFlagsChanged);
    connect(Bar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandStates);
    // QStatusBar has no visibility signal; its show and hide events stand in.
    Status->installEventFilter(this);
    // Lock keys change with key events anywhere in the program and while another
    // program has the keyboard.
    qApp->installEventFilter(this);

    UpdateCommandStates();
    UpdateLockIndicators();
}

CMainFrame::~CMainFrame() {
    // Its count reads the text, which goes before the status bar does.
    delete Pane;
    // Nothing may reach the frame's handlers while its parts go away.
    qApp->removeEventFilter(this);
    Status->removeEventFilter(this);
    disconnect(FlashView.get(), nullptr, this, nullptr);
    disconnect(Bar, nullptr, this, nullptr);
    setFocusProxy(nullptr);
    Services.ScreenSaver.UnInhibit();
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& command : Commands()) {
        auto* action = new QAction(this);
        action->setData(command.Id);
        if (command.MenuText)
            action->setText(QString::fromUtf8(command.MenuText));
        action->setStatusTip(QString::fromUtf8(command.Prompt));
        action->setToolTip(QString::fromUtf8(command.ToolTip));
        action->setIcon(CommandIcon(command));
        action->setIconVisibleInMenu(false);
        action->setCheckable(command.Checkable);

        const int id = command.Id;
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        Actions.emplace(id, action);
        CreateAccelerator(id);
    }
}

void CMainFrame::CreateAccelerator(int id) {
    QList<QKeySequence> keys;
    for (const Accelerator& accelerator : Accelerators()) {
        if (accelerator.Id == id)
            keys.append(QKeySequence(accelerator.Keys));
    }
    if (keys.isEmpty())
        return;
    // Apart from the menu's action, so that menus show only the shortcut texts of their
    // own item texts; on the frame itself, so that the keys work whether or not the menu
    // and the toolbar are shown.
    auto* accelerator = new QAction(this);
    accelerator->setData(id);
    accelerator->setShortcuts(keys);
    connect(accelerator, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    addAction(accelerator);
    AcceleratorActions.emplace(id, accelerator);
}

void CMainFrame::CreateMenus() {
    const auto fill = [this](auto& self, QMenu* menu, std::span<const MenuItem> items) -> void {
        for (const MenuItem& item : items) {
            if (item.SubMenuTitle && item.Id == CommandId::RecentTexts)
                CreateRecentTextsMenu(menu->addMenu(QString::fromUtf8(item.SubMenuTitle)));
            else if (item.SubMenuTitle)
                self(self, menu->addMenu(QString::fromUtf8(item.SubMenuTitle)), item.SubItems);
            else if (item.Id == 0)
                menu->addSeparator();
            else
                menu->addAction(ActionFor(item.Id));
        }
    };
    for (const MenuDef& def : MainMenu())
        fill(fill, menuBar()->addMenu(QString::fromUtf8(def.Title)), def.Items);
}

void CMainFrame::CreateRecentTextsMenu(QMenu* menu) {
    menu->setObjectName(QStringLiteral("RecentTextsMenu"));
    menu->setToolTipsVisible(true);
    // Read when it opens: another window may have added to the list, and a text may
    // have gone since.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillRecentTexts(menu); });
}

void CMainFrame::FillRecentTexts(QMenu* menu) {
    menu->clear();
    CRecentTexts& recent = TextDocument->RecentTexts();
    recent.DropMissing();
    if (recent.Paths().empty())
        menu->addAction(QStringLiteral("No recent texts"))->setEnabled(false);
    for (const std::string& path : recent.Paths()) {
        const QString name = QFile::decodeName(QByteArray::fromStdString(path));
        const QFileInfo file(name);
        // "&" in a name is a letter, not a mnemonic.
        QAction* action = menu->addAction(file.fileName().replace('&', QStringLiteral("&&")));
        action->setToolTip(file.path());
        // The path's own bytes: a name that is not UTF-8 does not survive decoding.
        connect(action, &QAction::triggered, this, [this, path] { TextDocument->OpenLocal(path); });
    }
}

void CMainFrame::CreateToolBar() {
    Bar = new QToolBar(QStringLiteral("Toolbar"), this);
    Bar->setObjectName(QStringLiteral("ToolBar"));
    Bar->setMovable(true);
    Bar->setFloatable(true);
    Bar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const int id : ToolBarButtons()) {
        if (id == 0)
            Bar->addSeparator();
        else
            Bar->addAction(ActionFor(id));
    }
    addToolBar(Qt::TopToolBarArea, Bar);
}

void CMainFrame::CreateStatusBar() {
    Status = new QStatusBar(this);
    Status->setObjectName(QStringLiteral("StatusBar"));
    // Prompts are shown as temporary messages, which cover this pane while they last.
    auto* ready = new QLabel(QStringLiteral("Ready"), Status);
    ready->setObjectName(QStringLiteral("MessagePane"));
    Status->addWidget(ready, 1);
    CreateReadingPane();
    for (const IndicatorDef& def : IndicatorDefs) {
        const QString text = QString::fromLatin1(def.Text);
        auto* label = new QLabel(text, Status);
        label->setObjectName(QStringLiteral("Indicator") + text);
        label->setAlignment(Qt::AlignCenter);
        // A sunken pane, so that an indicator that is off still shows where it stands.
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // An indicator that is off shows no text, so the pane keeps its width.
        label->setMinimumWidth(label->sizeHint().width() + 8);
        Status->addPermanentWidget(label);
        LockIndicators[static_cast<int>(def.Key)] = label;
    }
    setStatusBar(Status);
}

// Before the lock indicators; it follows the view from here on by itself.
void CMainFrame::CreateReadingPane() {
    Pane = new CReadingPane(*FlashView, ReadingSettings, Status);
    Pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Status->addPermanentWidget(Pane);
    Pane->Follow();
}

void CMainFrame::AddHandler(int id, std::function<void()> execute,
                            std::function<CommandState()> update) {
    Handlers.insert_or_assign(id, CommandHandler{std::move(execute), std::move(update)});
}

CommandState CMainFrame::PlayCommandState(uint32_t mask, uint32_t checkedWhen) const {
    const uint32_t flags = FlashView->PlayFlags();
    return {(flags & CFlashView::TextLoadedBit) != 0, (flags & mask) == checkedWhen};
}

void CMainFrame::AddHandlers() {
    using namespace CommandId;
    constexpr uint32_t Running = CFlashView::RunningBit;
    constexpr uint32_t Stopped = CFlashView::StoppedBit;
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
    AddHandler(
        Run, [this] { OnRun(); }, [this] { return PlayCommandState(Running, Running); });
    AddHandler(
        Pause, [this] { OnPause(); }, [this] { return PlayCommandState(Running | Stopped, 0); });
    AddHandler(
        Stop, [this] { OnStop(); },
        [this] { return PlayCommandState(Running | Stopped, Stopped); });
    AddHandler(
        AddBookmark, [this] { OnAddBookmark(); },
        [this] {
            return CommandState{IsReading(), false};
        });
    AddHandler(HomePage, [this] { OnHomePage(); });
    AddHandler(FullScreen, [this] { OnFullScreen(); });
    AddHandler(
        OptionsPanel, [this] { FlashView->ShowOptionsPanel(COptionsPanel::CurrentPage); },
        [this] {
            return CommandState{true, (FlashView->PlayFlags() & CFlashView::PanelShownBit) != 0};
        });
    AddHandler(ReadingOptions,
               [this] { FlashView->ShowOptionsPanel(COptionsPanel::ReadingOptions); });
    AddHandler(MovePosition, [this] { FlashView->ShowOptionsPanel(COptionsPanel::MovePosition); });
    AddHandler(FileOpen, [this] { TextDocument->OnFileOpen(); });
    AddHandler(LoadSettings, [this] { TextDocument->OnLoadSettings(); });
    AddHandler(SaveAsDefault, [this] { TextDocument->OnSaveAsDefault(); });
    AddEncodingHandlers();
    AddKeyboardHandlers();
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
                return CommandState{TextDocument->HasText(), TextDocument->HasText() &&
                                                                 ReadingSettings.KeepEncoding &&
                                                                 ReadingSettings.Encoding == name};
            });
    }
}

void CMainFrame::AddKeyboardHandlers() {
    using namespace CommandId;
    const auto loaded = [this] {
        return CommandState{(FlashView->PlayFlags() & CFlashView::TextLoadedBit) != 0, false};
    };
    AddHandler(
        RunOrPause, [this] { OnRunOrPause(); }, loaded);
    AddHandler(
        SentenceBack, [this] { MoveBySentence(false); }, loaded);
    AddHandler(
        SentenceForward, [this] { MoveBySentence(true); }, loaded);
    AddHandler(
        Faster, [this] { ChangeSpeed(ReadingSpeed::Faster); }, loaded);
    AddHandler(
        Slower, [this] { ChangeSpeed(ReadingSpeed::Slower); }, loaded);
    AddHandler(
        BackToStart, [this] { MoveTo(0); }, loaded);
}

void CMainFrame::OnRunOrPause() {
    if (IsReading())
        OnPause();
    else
        OnRun();
}

void CMainFrame::MoveBySentence(bool forward) {
    const char* start = FlashView->TextStart();
    // While running the reader is at the unit on the screen, the cursor being past it.
    const char* place = IsReading() ? FlashView->PlaceToKeep() : FlashView->Cursor();
    if (!start || !place)
        return;
    const CSentenceMoves sentences(
        std::string_view(start, static_cast<std::size_t>(ReadingSettings.TextLength)),
        ReadingSettings);
    const auto from = static_cast<int32_t>(place - start);
    MoveTo(forward ? sentences.Forward(from) : sentences.Back(from));
}

void CMainFrame::MoveTo(int32_t offset) {
    // The text's end is no place to read from: Forward in the last sentence stays.
    if (!ReadingSettings.SetPosition(offset))
        return;
    FlashView->PositionMoved();
    RefreshPanel();
}

void CMainFrame::ChangeSpeed(uint32_t (*step)(uint32_t)) {
    ReadingSettings.freq = step(ReadingSettings.freq);
    ReadingSettings.durat = step(ReadingSettings.durat);
    FlashView->TimingChanged();
    RefreshPanel();
}

bool CMainFrame::KeepsKey(const QObject* focus, const QKeyEvent& key) const {
    const auto* widget = qobject_cast<const QWidget*>(focus);
    if (!widget || widget->window() != FlashView->window() ||
        (key.modifiers() & ~Qt::KeypadModifier))
        return false;
    const int code = key.key();
    const bool moves = code == Qt::Key_Left || code == Qt::Key_Right || code == Qt::Key_Up ||
                       code == Qt::Key_Down || code == Qt::Key_Home;
    const bool runs = code == Qt::Key_Space || code == Qt::Key_Return || code == Qt::Key_Enter;
    const COptionsPanel* panel = FlashView->OptionsPanel();
    if (!panel || !panel->isAncestorOf(widget))
        return code == Qt::Key_Space && (FlashView->PlayFlags() & CFlashView::FullScreenBit);
    // A slider takes the arrows and Home; Space and Return do nothing on it, so they
    // still run or pause. A button is pressed with Space, as anywhere else.
    if (qobject_cast<const QAbstractSlider*>(widget))
        return moves;
    if (qobject_cast<const QAbstractButton*>(widget))
        return code == Qt::Key_Space;
    // Return in an edit applies it (and the panel keeps it from going further).
    const bool edits =
        qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
        qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractItemView*>(widget);
    return edits && (moves || runs);
}

void CMainFrame::OnFullScreen() {
    FlashView->FullScreen((FlashView->PlayFlags() & CFlashView::FullScreenBit) ? 0 : 1);
}

bool CMainFrame::IsReading() const {
    const uint32_t flags = FlashView->PlayFlags();
    return (flags & CFlashView::TextLoadedBit) && (flags & CFlashView::RunningBit);
}

QAction* CMainFrame::ActionFor(int id) const {
    const auto found = Actions.find(id);
    return found == Actions.end() ? nullptr : found->second;
}

QAction* CMainFrame::AcceleratorFor(int id) const {
    const auto found = AcceleratorActions.find(id);
    return found == AcceleratorActions.end() ? nullptr : found->second;
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
    for (const auto& [id, action] : Actions) {
        const CommandState state = StateOf(id);
        action->setEnabled(state.Enabled);
        if (action->isCheckable())
            action->setChecked(state.Checked);
    }
    // A disabled accelerator leaves its keys to the focused widget (Ctrl+C in a text
    // field copies).
    for (const auto& [id, accelerator] : AcceleratorActions)
        accelerator->setEnabled(ActionFor(id)->isEnabled());
}

void CMainFrame::UpdateLockIndicators() {
    for (const IndicatorDef& def : IndicatorDefs) {
        QLabel* label = LockIndicators[static_cast<int>(def.Key)];
        const std::optional<bool> on = LockKeys->IsOn(def.Key);
        // Unknown: the name dimmed; off: an empty pane; on: the name.
        label->setEnabled(on.has_value());
        label->setText(on.value_or(true) ? QString::fromLatin1(def.Text) : QString());
    }
}

void CMainFrame::OnPlayFlagsChanged(uint32_t flags) {
    // The view stops by itself at the end of the text; a finished reading should not
    // keep the screen awake.
    if (!(flags & CFlashView::RunningBit))
        Services.ScreenSaver.UnInhibit();
    UpdateCommandStates();
}

void CMainFrame::OnRun() {
    FlashView->SetPlayState(CFlashView::Run);
    Services.ScreenSaver.Inhibit();
}

void CMainFrame::OnPause() {
    FlashView->SetPlayState(CFlashView::Pause);
    Services.ScreenSaver.UnInhibit();
}

void CMainFrame::OnStop() {
    FlashView->SetPlayState(CFlashView::Stop);
    Services.ScreenSaver.UnInhibit();
}

void CMainFrame::OnAddBookmark() {
    if (!(FlashView->PlayFlags() & CFlashView::TextLoadedBit))
        return;
    ReadingSettings.AddBookmark();
    RefreshPanel();
    OnPause();
}

void CMainFrame::OnHomePage() {
    Services.UrlOpener.Open(QStringLiteral(SKIMMET_HOME_PAGE));
}

void CMainFrame::RefreshPanel() {
    if (COptionsPanel* panel = FlashView->OptionsPanel())
        panel->Refresh();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A text still being read is given up; the one on the screen keeps its settings and
    // the place the reader was at, which stopping alone would rewind to the start.
    TextDocument->CancelOpen();
    const char* place = FlashView->PlaceToKeep();
    const char* start = FlashView->TextStart();
    OnStop();
    if (place && start)
        ReadingSettings.SetPosition(static_cast<int32_t>(place - start));
    TextDocument->SaveCompanionSettings();
    TextDocument->ReleaseLock();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).empty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const std::string path = DroppedFile(event->mimeData());
    if (path.empty())
        return;
    event->acceptProposedAction();
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
    UpdateLockIndicators();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Accepted, the key goes to the focused widget instead of the accelerators.
        if (KeepsKey(watched, *static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (IsLockKey(static_cast<QKeyEvent*>(event)->key()))
            UpdateLockIndicators();
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
