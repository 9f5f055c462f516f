// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LockIndicators.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

namespace {
struct IndicatorDef {
    LockKey Key;
    const char* Text;
};
constexpr std::array IndicatorDefs{
    IndicatorDef{LockKey::Caps, QT_TRANSLATE_NOOP("CLockIndicators", "CAP")},
    IndicatorDef{LockKey::Num, QT_TRANSLATE_NOOP("CLockIndicators", "NUM")},
    IndicatorDef{LockKey::Scroll, QT_TRANSLATE_NOOP("CLockIndicators", "SCRL")}};

QString Shown(const IndicatorDef& def) {
    return QCoreApplication::translate("CLockIndicators", def.Text);
}
} // namespace

CLockIndicators::CLockIndicators(std::unique_ptr<ILockKeys> keys)
    : Keys(keys ? std::move(keys) : CreateLockKeys()) {}

bool CLockIndicators::IsLockKey(int key) {
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

void CLockIndicators::AddTo(QStatusBar& bar) {
    for (const IndicatorDef& def : IndicatorDefs) {
        auto* label = new QLabel(Shown(def), &bar);
        label->setObjectName(QStringLiteral("Indicator") + QLatin1String(def.Text));
        label->setAlignment(Qt::AlignCenter);
        // A sunken pane, so that an indicator that is off still shows where it stands.
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // An indicator that is off shows no text, so the pane keeps its width.
        label->setMinimumWidth(label->sizeHint().width() + 8);
        bar.addPermanentWidget(label);
        Labels[static_cast<int>(def.Key)] = label;
    }
}

void CLockIndicators::Update() {
    for (const IndicatorDef& def : IndicatorDefs) {
        QLabel* label = Labels[static_cast<int>(def.Key)];
        if (!label)
            continue;
        const std::optional<bool> on = Keys->IsOn(def.Key);
        // Unknown: the name dimmed; off: an empty pane; on: the name.
        label->setEnabled(on.has_value());
        label->setText(on.value_or(true) ? Shown(def) : QString());
    }
}
