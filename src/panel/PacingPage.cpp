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
    {"PaceByContent", QT_TRANSLATE_NOOP("CPacingPage", "Pace by content"), nullptr,
     QT_TRANSLATE_NOOP("CPacingPage",
                       "Each unit's times follow what it holds and what ended the unit before.")},
    {"PaceReferenceLength", QT_TRANSLATE_NOOP("CPacingPage", "Reference length:"),
     QT_TRANSLATE_NOOP("CPacingPage", " characters"),
     QT_TRANSLATE_NOOP("CPacingPage", "A unit this long is shown for exactly Duration.")},
    {"PaceLengthWeight", QT_TRANSLATE_NOOP("CPacingPage", "Length weight:"),
     QT_TRANSLATE_NOOP("CPacingPage", " %"),
     QT_TRANSLATE_NOOP(
         "CPacingPage",
         "How much longer a unit twice that long stays, and how much shorter one half as long.")},
    {"PaceMinShow", QT_TRANSLATE_NOOP("CPacingPage", "Shortest show time:"),
     QT_TRANSLATE_NOOP("CPacingPage", " ms"),
     QT_TRANSLATE_NOOP("CPacingPage", "No unit is shown for less.")},
    {"PaceLongWord", QT_TRANSLATE_NOOP("CPacingPage", "Long word from:"),
     QT_TRANSLATE_NOOP("CPacingPage", " characters"),
     QT_TRANSLATE_NOOP("CPacingPage", "Words this long or longer take more time.")},
    {"PaceLongWordTime", QT_TRANSLATE_NOOP("CPacingPage", "For each long word:"),
     QT_TRANSLATE_NOOP("CPacingPage", " %"),
     QT_TRANSLATE_NOOP("CPacingPage", "Of Duration, added to the unit's time.")},
    {"PaceNumberTime", QT_TRANSLATE_NOOP("CPacingPage", "For each number:"),
     QT_TRANSLATE_NOOP("CPacingPage", " %"),
     QT_TRANSLATE_NOOP("CPacingPage", "Of Duration, added for each word with a digit.")},
    {"PaceClauseGap", QT_TRANSLATE_NOOP("CPacingPage", "After a clause:"),
     QT_TRANSLATE_NOOP("CPacingPage", " %"),
     QT_TRANSLATE_NOOP("CPacingPage",
                       "Of Between, the gap after a conditional stop symbol (, ; :).")},
    {"PaceSentenceGap", QT_TRANSLATE_NOOP("CPacingPage", "After a sentence:"),
     QT_TRANSLATE_NOOP("CPacingPage", " %"),
     QT_TRANSLATE_NOOP("CPacingPage",
                       "Of Between, the gap after an unconditional stop symbol (. ? !).")},
    {"PaceParagraphGap", QT_TRANSLATE_NOOP("CPacingPage", "After a paragraph:"),
     QT_TRANSLATE_NOOP("CPacingPage", " %"),
     QT_TRANSLATE_NOOP("CPacingPage", "Of Between, the gap after a paragraph's end.")},
    {"PaceStartUnits", QT_TRANSLATE_NOOP("CPacingPage", "Gentle start over:"),
     QT_TRANSLATE_NOOP("CPacingPage", " units"),
     QT_TRANSLATE_NOOP("CPacingPage",
                       "After Run or a move the reading reaches full pace over so many units.")},
    {"PaceStartTime", QT_TRANSLATE_NOOP("CPacingPage", "Gentle start at:"),
     QT_TRANSLATE_NOOP("CPacingPage", " %"),
     QT_TRANSLATE_NOOP("CPacingPage", "The times of the first of those units.")},
    {"PaceSentencesFirst", QT_TRANSLATE_NOOP("CPacingPage", "Slow down between sentences first"),
     nullptr,
     QT_TRANSLATE_NOOP(
         "CPacingPage",
         "Slower lengthens the gaps after sentences and paragraphs before the units.")},
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
