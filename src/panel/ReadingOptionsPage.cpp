// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ReadingOptionsPage.h"

#include "ui_ReadingOptionsPage.h"

#include "display/ColorRef.h"
#include "engine/ReadingSession.h"
#include "platform/Dialogs.h"
#include "settings/ReadingSettings.h"
#include "settings/SettingsTable.h"
#include "text/TextEncoding.h"
#include "text/Utf8.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <optional>

namespace {
constexpr char16_t EscapedByteBase = 0xDC00; // + the byte, for bytes 0x80..0xFF
constexpr int MaxDigits = 9;                 // fits an int32 whatever the digits

// The value a numeric edit's text stands for, when the spin would accept it.
std::optional<int> AcceptedValue(const QString& text, int minimum, int maximum) {
    if (text.isEmpty() || text.size() > MaxDigits)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

int ClampToRange(int64_t value, const QSpinBox& spin) {
    return static_cast<int>(std::clamp<int64_t>(value, spin.minimum(), spin.maximum()));
}
} // namespace

CReadingOptionsPage::CReadingOptionsPage(CReadingSession& session, IDialogs& dialogs,
                                         QWidget* parent)
    : QWidget(parent), Session(session), Settings(session.Settings()), Dialogs(dialogs),
      ui(std::make_unique<Ui::ReadingOptionsPage>()) {
    ui->setupUi(this);
    const QScopedValueRollback refreshing(Refreshing, true);
    for (const auto& [spin, setting] : {std::pair{ui->BetweenSpin, SettingsTable::Between},
                                        {ui->DurationSpin, SettingsTable::Duration},
                                        {ui->MaxSpin, SettingsTable::MaxText},
                                        {ui->MinSpin, SettingsTable::MinText},
                                        {ui->WidthSpin, SettingsTable::Width}})
        spin->setRange(setting.Low, setting.High);

    SetUpNumber(Pair(Field::Between), Field::Between, ui->BetweenSpin);
    SetUpNumber(Pair(Field::Duration), Field::Duration, ui->DurationSpin);
    SetUpNumber(Pair(Field::MaxSimb), Field::MaxSimb, ui->MaxSpin);
    SetUpNumber(Pair(Field::MinSimb), Field::MinSimb, ui->MinSpin);
    SetUpNumber(Pair(Field::Width), Field::Width, ui->WidthSpin);
    for (const Field field :
         {Field::Between, Field::Duration, Field::MaxSimb, Field::MinSimb, Field::Width})
        SetPosition(field);
    Pair(Field::MaxSimb).Edit->setMaxLength(3);
    Pair(Field::MinSimb).Edit->setMaxLength(3);

    ui->ColorSwatch->SetColor(Settings.TexColor);

    ui->StopSymbolsEdit->setMaxLength(EditLimit);
    SetStopSymbolsEdit(Settings.GetStopSymbolsText());
    ui->UnconditionalEdit->setMaxLength(EditLimit);
    SetUnconditionalEdit(Settings.GetUnconditionalText());

    connect(ui->StopSymbolsEdit, &QLineEdit::textEdited, this,
            &CReadingOptionsPage::OnStopSymbolsChanged);
    connect(ui->ShiftForwardButton, &QPushButton::clicked, this,
            [this] { OnShiftSplit(SplitDirection::Forward); });
    connect(ui->ShiftBackButton, &QPushButton::clicked, this,
            [this] { OnShiftSplit(SplitDirection::Back); });
    connect(ui->TextColorButton, &QPushButton::clicked, this, &CReadingOptionsPage::OnTextColor);
    Session.AddListener(*this);
}

CReadingOptionsPage::~CReadingOptionsPage() {
    Session.RemoveListener(*this);
}

void CReadingOptionsPage::OnSettingsChanged(SettingsAspect aspect) {
    // The page shows neither the font, the bookmarks nor the step.
    const SettingsAspect shown =
        SettingsAspect::Timing | SettingsAspect::Cut | SettingsAspect::Look;
    if (Touches(aspect, shown))
        Refresh();
}

void CReadingOptionsPage::Edited(SettingsAspect aspect) {
    if (!Refreshing)
        Session.SettingsEdited(aspect, this);
}

void CReadingOptionsPage::SetUpNumber(NumberPair& pair, Field field, QSpinBox* spin) {
    pair.Target = field;
    pair.Spin = spin;
    // The spin's own line edit is the edit of the pair. Its text is taken as it is
    // typed, so it accepts any run of digits: an entry the spin would refuse turns into
    // 1 here rather than being held back while it is typed.
    pair.Edit = spin->findChild<QLineEdit*>();
    Q_ASSERT(pair.Edit);
    spin->setLocale(QLocale::c());
    spin->setKeyboardTracking(true);
    pair.Edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), pair.Edit));
    // Typing changes the text; the arrows and the wheel change the value and rewrite
    // the text without a signal of the line edit.
    connect(pair.Edit, &QLineEdit::textChanged, this, [this, field] { OnNumberChanged(field); });
    connect(spin, &QSpinBox::valueChanged, this, [this, field] { OnNumberChanged(field); });
}

CReadingOptionsPage::NumberPair& CReadingOptionsPage::Pair(Field field) {
    return Numbers[static_cast<std::size_t>(field)];
}

int64_t CReadingOptionsPage::FieldValue(Field field) const {
    switch (field) {
    case Field::Between:
        return Settings.freq;
    case Field::Duration:
        return Settings.durat;
    case Field::MaxSimb:
        return Settings.MaxText;
    case Field::MinSimb:
        return Settings.MinText;
    case Field::Width:
        return Settings.Width;
    }
    return 1;
}

void CReadingOptionsPage::StoreField(Field field, int32_t value) {
    switch (field) {
    case Field::Between:
        Settings.freq = static_cast<uint32_t>(value);
        Edited(SettingsAspect::Timing);
        break;
    case Field::Duration:
        Settings.durat = static_cast<uint32_t>(value);
        Edited(SettingsAspect::Timing);
        break;
    case Field::MaxSimb:
        Settings.MaxText = value;
        Edited(SettingsAspect::Cut);
        break;
    case Field::MinSimb:
        Settings.MinText = value;
        Edited(SettingsAspect::Cut);
        break;
    case Field::Width:
        Settings.Width = value;
        Edited(SettingsAspect::Look);
        break;
    }
}

// A value beyond the spin's range (from a settings file) goes to the nearest bound,
// which is then written back.
void CReadingOptionsPage::SetPosition(Field field) {
    NumberPair& pair = Pair(field);
    {
        const QSignalBlocker blocker(pair.Spin);
        pair.Spin->setValue(ClampToRange(FieldValue(field), *pair.Spin));
    }
    OnNumberChanged(field);
}

void CReadingOptionsPage::OnNumberChanged(Field field) {
    NumberPair& pair = Pair(field);
    const std::optional<int> value =
        AcceptedValue(pair.Edit->text(), pair.Spin->minimum(), pair.Spin->maximum());
    StoreField(field, value.value_or(1));
    if (value)
        return;
    // Empty, zero or too large: the edit shows what the field now holds.
    const QSignalBlocker blocker(pair.Spin);
    pair.Spin->setValue(1);
}

void CReadingOptionsPage::SetStopSymbolsEdit(const std::string& text) {
    {
        const QSignalBlocker blocker(ui->StopSymbolsEdit);
        ui->StopSymbolsEdit->setText(ShownStopText(text));
    }
    OnStopSymbolsChanged();
}

void CReadingOptionsPage::SetUnconditionalEdit(const std::string& text) {
    {
        const QSignalBlocker blocker(ui->UnconditionalEdit);
        ui->UnconditionalEdit->setText(ShownStopText(text));
    }
    OnUnconditionalChanged();
}

void CReadingOptionsPage::OnStopSymbolsChanged() {
    if (!StopSymbolsPrimed) {
        StopSymbolsPrimed = true;
        return;
    }
    const std::optional<std::string> bytes = TakenStopText(ui->StopSymbolsEdit->text());
    if (!bytes) {
        SetStopSymbolsEdit(Settings.GetStopSymbolsText());
        return;
    }
    Settings.SetStopSymbolsText(*bytes);
    SetUnconditionalEdit(Settings.GetUnconditionalText());
    Edited(SettingsAspect::Cut);
}

void CReadingOptionsPage::OnUnconditionalChanged() {
    if (!UnconditionalPrimed) {
        UnconditionalPrimed = true;
        return;
    }
    const std::optional<std::string> bytes = TakenStopText(ui->UnconditionalEdit->text());
    if (!bytes) {
        SetUnconditionalEdit(Settings.GetUnconditionalText());
        return;
    }
    Settings.SetUnconditionalText(*bytes);
    Edited(SettingsAspect::Cut);
}

// A text held in a single-byte code page has its stop symbols in that code page too.
bool CReadingOptionsPage::IsCodePageText() const {
    const std::string& encoding = Settings.Encoding;
    return !encoding.empty() && encoding != TextEncoding::Utf8 &&
           TextEncoding::IsHeldAsBytes(encoding);
}

QString CReadingOptionsPage::ShownStopText(std::string_view bytes) const {
    if (!IsCodePageText())
        return EditTextFromBytes(bytes);
    return QString::fromStdString(TextEncoding::ToUtf8(bytes, Settings.Encoding).value_or(""));
}

std::optional<std::string> CReadingOptionsPage::TakenStopText(const QString& text) const {
    if (!IsCodePageText())
        return BytesFromEditText(text, TextFormBytes);
    std::optional<std::string> bytes =
        TextEncoding::FromUtf8(text.toStdString(), Settings.Encoding);
    if (bytes && bytes->size() > TextFormBytes)
        bytes->resize(TextFormBytes);
    return bytes;
}

void CReadingOptionsPage::OnShiftSplit(SplitDirection direction) {
    if (Settings.ShiftSplit(direction))
        SetUnconditionalEdit(Settings.GetUnconditionalText());
}

void CReadingOptionsPage::OnTextColor() {
    const std::optional<QColor> color = Dialogs.PickColor(this, ColorFromRef(Settings.TexColor));
    if (!color || !color->isValid())
        return;
    Settings.TexColor = RefFromColor(*color);
    ui->ColorSwatch->SetColor(Settings.TexColor);
    Edited(SettingsAspect::Look);
}

void CReadingOptionsPage::Refresh() {
    const QScopedValueRollback refreshing(Refreshing, true);
    SetStopSymbolsEdit(Settings.GetStopSymbolsText());
    SetUnconditionalEdit(Settings.GetUnconditionalText());
    ui->ColorSwatch->SetColor(Settings.TexColor);
    for (const Field field :
         {Field::Width, Field::MinSimb, Field::MaxSimb, Field::Duration, Field::Between})
        SetPosition(field);
}

QString CReadingOptionsPage::EditTextFromBytes(std::string_view bytes) {
    QString text;
    while (!bytes.empty()) {
        const std::size_t length = Utf8::WellFormedLength(bytes);
        if (length == 0) {
            text += QChar(EscapedByteBase + static_cast<unsigned char>(bytes.front()));
            bytes.remove_prefix(1);
            continue;
        }
        text += QString::fromUtf8(bytes.data(), static_cast<qsizetype>(length));
        bytes.remove_prefix(length);
    }
    return text;
}

std::string CReadingOptionsPage::BytesFromEditText(const QString& text, std::size_t maxBytes) {
    std::string bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        std::string piece;
        if (unit >= EscapedByteBase + 0x80 && unit <= EscapedByteBase + 0xFF) {
            piece = static_cast<char>(unit - EscapedByteBase);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            piece = QStringView(text).mid(i, 2).toUtf8().toStdString();
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            continue; // half a character: nothing to give back
        } else {
            piece = QString(QChar(unit)).toUtf8().toStdString();
        }
        if (bytes.size() + piece.size() > maxBytes)
            break;
        bytes += piece;
    }
    return bytes;
}
