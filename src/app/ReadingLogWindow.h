// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "log/LogFigures.h"
#include "log/SessionRecord.h"

#include <QWidget>

#include <optional>
#include <span>
#include <vector>

class IDialogs;
class QChartView;
class QTableWidget;

// View > "Reading log": per text what was read and how fast, charts of the speed, the
// minutes a day and the place in each text over time, the speed at which the reader
// followed best, and the log as CSV on request.
class CReadingLogWindow : public QWidget {
    Q_OBJECT
public:
    // How many days the chart of minutes a day shows, today the last.
    static constexpr int DaysShown = 28;
    // How many texts, the ones read last, the chart of places follows.
    static constexpr int TextsCharted = 6;
    // The charts of speed and place show the sessions of these last days: enough to see a
    // trend, few enough that years of reading open at once.
    static constexpr int DaysCharted = 84;

    // sessions: the log's, the earliest first.
    CReadingLogWindow(std::vector<SSessionRecord> sessions, IDialogs& dialogs,
                      QWidget* parent = nullptr);

    void ExportCsv();

private:
    QTableWidget* MakeTable(const std::vector<STextFigures>& texts);
    QChartView* MakeSpeedChart(std::optional<int> best);
    QChartView* MakeDailyChart();
    QChartView* MakePlaceChart(const std::vector<STextFigures>& texts);
    QString BestSpeedText(std::optional<int> best) const;

    std::vector<SSessionRecord> Sessions;
    // The sessions the charts of speed and place show, the tail of Sessions.
    std::span<const SSessionRecord> Charted;
    IDialogs& Dialogs;
};
