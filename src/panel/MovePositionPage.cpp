// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/MovePositionPage.h"

#include "display/TextDecoding.h"
#include "engine/ReadingEstimate.h"
#include "engine/ReadingSession.h"
#include "platform/Decimal.h"
#include "settings/ReadingSettings.h"
#include "ui_MovePositionPage.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cstring>

namespace {
constexpr int OffsetRole = Qt::UserRole;

bool IsLineBreak(char byte) {
    return byte == '\r' || byte == '\n';
}

// At most `limit` bytes of the text at `offset`, ending before the text's terminator
// and never reaching past the text.
// The text at offset: at most limit characters (of up to four bytes each in character
// mode), ending at the first NUL.
std::string_view TextAt(const char* start, int32_t offset, int32_t textLength, int limit,
                        bool characterMode) {
    if (!start || offset < 0 || offset > textLength)
        return {};
    const int64_t bytes = characterMode ? int64_t{limit} * 4 : limit;
    const auto available = static_cast<std::size_t>(std::min<int64_t>(textLength - offset, bytes));
    const char* at = start + offset;
    const void* nul = std::memchr(at, '\0', available);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - at) : available;
    return LeadingCharacters({at, length}, static_cast<std::size_t>(limit), characterMode);
}

// A list row is one line: line breaks left in an entry show as their control pictures.
QString SingleLine(QString text) {
    text.replace(QLatin1Char('\r'), QChar(0x240D));
    text.replace(QLatin1Char('\n'), QChar(0x240A));
    return text;
}

QString OutsideEntry(int32_t offset) {
    return QCoreApplication::translate("CMovePositionPage", "%1 (outside the text)").arg(offset);
}
} // namespace

// The form's fixed width holds four digits in some fonts only; a step the reader types
// can have five.
void CMovePositionPage::FitStepEdit(QLineEdit& edit) {
    constexpr int Digits = 5;
    constexpr int TextMargins = 2 * 2; // the line edit's own margins around its text
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const QFontMetrics& metrics = edit.fontMetrics();
    const QSize text(metrics.horizontalAdvance(QString(Digits, QLatin1Char('0'))) + TextMargins,
                     metrics.height());
    const int width =
        edit.style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, &edit).width();
    edit.setMinimumWidth(width);
    edit.setMaximumWidth(std::max(width, edit.maximumWidth()));
}

CMovePositionPage::CMovePositionPage(CReadingSession& session, QWidget* parent)
    : QWidget(parent), Session(session), Settings(session.Settings()),
      Form(std::make_unique<Ui::MovePositionPage>()) {
    Form->setupUi(this);
    Form->Slider->setPageStep(SliderPageStep);
    Form->StepEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    Form->StepEdit->installEventFilter(this);
    FitStepEdit(*Form->StepEdit);

    connect(Form->Slider, &QSlider::valueChanged, this, &CMovePositionPage::OnSliderMoved);
    connect(Form->BookmarkList, &QListWidget::currentRowChanged, this,
            &CMovePositionPage::JumpToBookmark);
    // A click on the entry already selected jumps back to its bookmark as well.
    connect(Form->BookmarkList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item->data(OffsetRole).toInt() != Session.Place())
            JumpToBookmark(Form->BookmarkList->row(item));
    });
    // Chosen with a click or the keys, as a bookmark is.
    connect(Form->ChapterList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { JumpToChapter(Form->ChapterList->row(item)); });
    connect(Form->ChapterList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { JumpToChapter(Form->ChapterList->row(item)); });
    connect(Form->BackButton, &QPushButton::clicked, this, [this] { MoveByStep(-1); });
    connect(Form->ForwardButton, &QPushButton::clicked, this, [this] { MoveByStep(1); });
    connect(Form->StepEdit, &QLineEdit::textChanged, this, &CMovePositionPage::StoreStep);
    connect(Form->StepUp, &QToolButton::clicked, this, [this] { StepSpinBy(1); });
    connect(Form->StepDown, &QToolButton::clicked, this, [this] { StepSpinBy(-1); });
    // "Bookmarks..." has nothing to open.

    Refresh(Originator::None);
    Session.AddListener(*this);
}

CMovePositionPage::~CMovePositionPage() {
    Session.RemoveListener(*this);
}

void CMovePositionPage::OnSettingsChanged(SettingsAspect aspect) {
    if (aspect == SettingsAspect::All) {
        Refresh(Originator::None);
        return;
    }
    if (Touches(aspect, SettingsAspect::Step))
        SetSpinPosition(Settings.Book.Step);
    if (Touches(aspect, SettingsAspect::Bookmarks))
        RebuildBookmarkList();
}

void CMovePositionPage::Refresh(Originator originator) {
    SetSpinPosition(Settings.Book.Step);
    if (!Session.HasText()) {
        setEnabled(false);
        PageEnabled = false;
        return;
    }
    if (!PageEnabled) {
        setEnabled(true);
        PageEnabled = true;
    }
    if (originator == Originator::None) {
        RebuildBookmarkList();
        RebuildChapterList();
    }
    UpdateDisplay(originator);
}

void CMovePositionPage::UpdateDisplay(Originator originator) {
    // Whatever was computed for a unit is out of date now.
    Pending.reset();
    if (const auto display = ComputeDisplay(Session.Place()))
        ShowDisplay(*display, originator);
}

std::optional<CMovePositionPage::Display>
CMovePositionPage::ComputeDisplay(std::optional<int32_t> place) const {
    const char* start = Session.TextStart();
    const int32_t textLength = Settings.TextLength;
    if (!start || !place || *place < 0 || *place > textLength)
        return std::nullopt;
    const int32_t offset = *place;
    Display display;
    display.Offset = offset;
    display.TextLength = textLength;
    display.Line = PositionLine(offset, textLength);
    display.Preview = DecodeCutTextLines(
        TextAt(start, offset, textLength, PreviewBytes, Settings.CharacterMode), Settings.Encoding);
    return display;
}

void CMovePositionPage::ShowDisplay(const Display& display, Originator originator) {
    if (display.TextLength != LineSizedFor)
        SizePositionLine(display.TextLength);
    // A slider the user holds stays under the mouse while the reading goes on.
    if (originator != Originator::Slider && !Form->Slider->isSliderDown()) {
        const QSignalBlocker blocker(Form->Slider);
        Form->Slider->setRange(0, display.TextLength);
        Form->Slider->setValue(display.Offset);
    }
    // A refresh that moved nothing leaves the preview as it was, scrolled or not.
    if (display.Preview != ShownPreview) {
        ShownPreview = display.Preview;
        Form->Preview->setPlainText(ShownPreview);
    }
    Form->PositionLine->setText(display.Line);
}

void CMovePositionPage::SizePositionLine(int32_t textLength) {
    // Wide enough for every position in this text, so that the columns do not shift
    // while the reading goes on and the number grows.
    const QString widest = QStringLiteral("pos = ") +
                           QString(QString::number(textLength).size(), QLatin1Char('8')) +
                           QStringLiteral(" (100.00% )");
    QLabel& line = *Form->PositionLine;
    const QMargins margins = line.contentsMargins();
    line.setMinimumWidth(line.fontMetrics().horizontalAdvance(widest) + margins.left() +
                         margins.right() + 2 * line.margin());
    LineSizedFor = textLength;
}

QString CMovePositionPage::PositionLine(int32_t offset, int32_t textLength) {
    // Both parts cut toward zero: 29 of 100 reads 28.99.
    const double percent = CReadingEstimate::PositionPercent(offset, textLength);
    const auto whole = static_cast<int64_t>(percent);
    const auto hundredths = static_cast<int64_t>((percent - static_cast<double>(whole)) * 100.0);
    QString line = QStringLiteral("pos = ") + QString::number(offset) + QStringLiteral(" (") +
                   QString::number(whole) + QLatin1Char('.');
    if (hundredths < 10)
        line += QLatin1Char('0');
    return line + QString::number(hundredths) + QStringLiteral("% )");
}

// Read as the settings files read their numbers; the step keeps the low 16 bits.
uint16_t CMovePositionPage::StepFromText(const QString& text) {
    const QByteArray head = text.left(StepTextChars).toLatin1();
    return static_cast<uint16_t>(ParseDecimal(std::string_view(head.constData(), head.size())));
}

QString CMovePositionPage::BookmarkEntry(std::string_view bytes, std::string_view encoding) {
    const auto first = std::find_if_not(bytes.begin(), bytes.end(), IsLineBreak);
    if (first != bytes.end()) {
        const auto cut = std::find_if(first, bytes.end(), IsLineBreak);
        bytes = bytes.substr(0, static_cast<std::size_t>(cut - bytes.begin()));
    }
    return SingleLine(DecodeCutText(bytes, encoding));
}

std::vector<std::pair<QString, int32_t>> CMovePositionPage::BookmarkEntries() const {
    // Every bookmark the book holds gets its entry, so that entry i stays bookmark i,
    // even one that a shortened text has left outside; such an entry has no text to show.
    std::vector<std::pair<QString, int32_t>> entries;
    const int count = std::min<int>(Settings.Book.BookmarksNum, CPositionBook::MaxBookmarks);
    for (int index = 0; index < count; ++index) {
        int32_t offset = 0;
        const char* at = Settings.GetBookmark(index, offset);
        const QString text = at ? BookmarkEntry(TextAt(at - offset, offset, Settings.TextLength,
                                                       EntryBytes, Settings.CharacterMode),
                                                Settings.Encoding)
                                : OutsideEntry(offset);
        entries.emplace_back(text, offset);
    }
    return entries;
}

void CMovePositionPage::RebuildBookmarkList() {
    QListWidget& list = *Form->BookmarkList;
    const std::vector<std::pair<QString, int32_t>> entries = BookmarkEntries();
    // The same list keeps the bookmark the reader chose selected.
    const bool same =
        std::ssize(entries) == list.count() &&
        std::ranges::all_of(entries, [&list, row = 0](const auto& entry) mutable {
            const QListWidgetItem* item = list.item(row++);
            return item->text() == entry.first && item->data(OffsetRole).toInt() == entry.second;
        });
    if (same)
        return;
    const QSignalBlocker blocker(&list);
    list.clear();
    for (const auto& [text, offset] : entries) {
        auto* item = new QListWidgetItem(text, &list);
        item->setData(OffsetRole, offset);
    }
}

void CMovePositionPage::RebuildChapterList() {
    QListWidget& list = *Form->ChapterList;
    const TableOfContents& chapters = Session.Contents();
    const QSignalBlocker blocker(&list);
    list.clear();
    list.setVisible(!chapters.empty());
    const std::string_view encoding = Settings.Encoding;
    for (const SChapter& chapter : chapters) {
        const QString title = BookmarkEntry(chapter.Title, encoding);
        auto* item =
            new QListWidgetItem(QString(2 * chapter.Level, QLatin1Char(' ')) + title, &list);
        item->setData(OffsetRole, chapter.Offset);
        item->setToolTip(title);
    }
}

void CMovePositionPage::JumpToChapter(int row) {
    const QListWidgetItem* item = Form->ChapterList->item(row);
    if (!item)
        return;
    Session.FollowTo(item->data(OffsetRole).toInt(), this);
    Refresh(Originator::BookmarkList);
}

void CMovePositionPage::SetSpinPosition(int position) {
    // The spin holds only what its range allows; its edit then stores that in Step.
    const QString text = QString::number(std::clamp(position, StepMin, StepMax));
    {
        const QSignalBlocker blocker(Form->StepEdit);
        Form->StepEdit->setText(text);
    }
    StoreStep(text);
}

void CMovePositionPage::StepSpinBy(int delta) {
    SetSpinPosition(std::clamp<int>(Settings.Book.Step, StepMin, StepMax) + delta);
}

void CMovePositionPage::StoreStep(const QString& text) {
    Settings.Book.Step = StepFromText(text);
}

void CMovePositionPage::OnSliderMoved(int value) {
    Session.FollowTo(value, this);
    Refresh(Originator::Slider);
}

void CMovePositionPage::JumpToBookmark(int row) {
    const QListWidgetItem* item = Form->BookmarkList->item(row);
    if (!item)
        return;
    Session.FollowTo(item->data(OffsetRole).toInt(), this);
    Refresh(Originator::BookmarkList);
}

void CMovePositionPage::MoveByStep(int direction) {
    Session.StepBy(direction * static_cast<int32_t>(Settings.Book.Step), this);
    UpdateDisplay(Originator::None);
}

void CMovePositionPage::OnAboutToCutUnit() {
    // Only the numbers and texts here: the unit's onset waits for this. The unit about
    // to be cut starts at the cursor, which is the place once it is shown.
    int32_t cursor = 0;
    Settings.GetPosition(cursor);
    Pending = ComputeDisplay(cursor);
}

void CMovePositionPage::OnUnitShown() {
    if (!Pending)
        return;
    const Display display = std::move(*Pending);
    Pending.reset();
    ShowDisplay(display, Originator::None);
}

bool CMovePositionPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Form->StepEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepSpinBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
