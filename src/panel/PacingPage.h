// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReadingListener.h"

#include <QWidget>

#include <vector>

class CReadingSession;
class CReadingSettings;
class QCheckBox;
class QSpinBox;

namespace SettingsTable {
struct SIntSetting;
}

// Third page of the options panel: pacing by content, with every factor of it and a line
// that says what each does. Every edit goes straight into the settings and is told to
// the reading session.
class CPacingPage : public QWidget, private IReadingListener {
    Q_OBJECT
public:
    CPacingPage(CReadingSession& session, QWidget* parent);
    ~CPacingPage() override;

    // Brings every control in line with the settings.
    void Refresh();

private:
    struct SControl {
        const SettingsTable::SIntSetting* Setting;
        QCheckBox* Check = nullptr;
        QSpinBox* Spin = nullptr;
    };

    void OnSettingsChanged(SettingsAspect aspect) override;
    void Edited(const SettingsTable::SIntSetting& setting, int value);

    CReadingSession& Session;
    CReadingSettings& Settings;
    std::vector<SControl> Controls;
};
