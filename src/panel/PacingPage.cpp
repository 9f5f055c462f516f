// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PacingPage.h"

#include "engine/ReadingSession.h"
#include "settings/ReadingSettings.h"
#include "settings/SettingsTable.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

namespace {

// What the page shows of one setting: its label (a check box's text for a setting that
// is on or off), the unit after its value, and one line on what it does.
struct SRow {
    std::string_view Key;
    const char* Label;
    const char* Suffix;
    const char* Explanation;
};

constexpr SRow Rows[] = {
    {"PaceByContent", "Pace by content", nullptr,
     "Each unit's times follow what it holds and what ended the unit before."},
    {"PaceReferenceLength", "Reference length:", " characters",
     "A unit this long is shown for exactly Duration."},
    {"PaceLengthWeight", "Length weight:", " %",
     "How much longer a unit twice that long stays, and how much shorter one half as long."},
    {"PaceMinShow", "Shortest show time:", " ms", "No unit is shown for less."},
    {"PaceLongWord", "Long word from:", " characters", "Words this long or longer take more time."},
    {"PaceLongWordTime", "For each long word:", " %", "Of Duration, added to the unit's time."},
    {"PaceNumberTime", "For each number:", " %", "Of Duration, added for each word with a digit."},
    {"PaceClauseGap", "After a clause:", " %",
     "Of Between, the gap after a conditional stop symbol (, ; :)."},
    {"PaceSentenceGap", "After a sentence:", " %",
     "Of Between, the gap after an unconditional stop symbol (. ? !)."},
    {"PaceParagraphGap", "After a paragraph:", " %",
     "Of Between, the gap after a paragraph's end."},
    {"PaceStartUnits", "Gentle start over:", " units",
     "After Run or a move the reading reaches full pace over so many units."},
    {"PaceStartTime", "Gentle start at:", " %", "The times of the first of those units."},
    {"PaceSentencesFirst", "Slow down between sentences first", nullptr,
     "Slower lengthens the gaps after sentences and paragraphs before the units."},
};

const SettingsTable::SIntSetting& SettingOf(std::string_view key) {
    const auto& all = SettingsTable::PacingInts;
    return *std::find_if(all.begin(), all.end(),
                         [key](const SettingsTable::SIntSetting& s) { return s.Key == key; });
}

} // namespace

CPacingPage::CPacingPage(CReadingSession& session, QWidget* parent)
    : QWidget(parent), Session(session), Settings(session.Settings()) {
    auto* form = new QWidget;
    auto* grid = new QGridLayout(form);
    for (const SRow& row : Rows) {
        const SettingsTable::SIntSetting& setting = SettingOf(row.Key);
        const int line = grid->rowCount();
        const QString key = QString::fromLatin1(row.Key.data(), static_cast<int>(row.Key.size()));
        SControl control{&setting};
        if (!row.Suffix) {
            control.Check = new QCheckBox(tr(row.Label));
            control.Check->setObjectName(key);
            grid->addWidget(control.Check, line, 0, 1, 2);
            connect(control.Check, &QCheckBox::toggled, this,
                    [this, &setting](bool on) { Edited(setting, on ? 1 : 0); });
        } else {
            control.Spin = new QSpinBox;
            control.Spin->setObjectName(key);
            control.Spin->setRange(setting.Low, setting.High);
            control.Spin->setSuffix(tr(row.Suffix));
            auto* label = new QLabel(tr(row.Label));
            label->setBuddy(control.Spin);
            grid->addWidget(label, line, 0);
            grid->addWidget(control.Spin, line, 1);
            connect(control.Spin, &QSpinBox::valueChanged, this,
                    [this, &setting](int value) { Edited(setting, value); });
        }
        // Under its control, in the small grey of a hint, as narrow as the panel's page.
        auto* explanation = new QLabel(tr(row.Explanation));
        explanation->setEnabled(false);
        explanation->setWordWrap(true);
        QFont small = explanation->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        explanation->setFont(small);
        grid->addWidget(explanation, line + 1, 0, 1, 2);
        Controls.push_back(control);
    }
    grid->setColumnStretch(0, 1);
    // The panel keeps its height and its width: the rows scroll.
    auto* scroll = new QScrollArea;
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(form);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    Refresh();
    Session.AddListener(*this);
}

CPacingPage::~CPacingPage() {
    Session.RemoveListener(*this);
}

void CPacingPage::Refresh() {
    for (const SControl& control : Controls) {
        const int value = control.Setting->Bounded(control.Setting->Get(Settings));
        if (control.Check) {
            const QSignalBlocker blocker(control.Check);
            control.Check->setChecked(value != 0);
        } else {
            const QSignalBlocker blocker(control.Spin);
            control.Spin->setValue(value);
        }
    }
}

void CPacingPage::OnSettingsChanged(SettingsAspect aspect) {
    if (Touches(aspect, SettingsAspect::Timing))
        Refresh();
}

void CPacingPage::Edited(const SettingsTable::SIntSetting& setting, int value) {
    setting.Set(Settings, setting.Bounded(value));
    Session.SettingsEdited(SettingsAspect::Timing, this);
}
