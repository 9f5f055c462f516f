// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "log/SessionRecord.h"

#include <QWidget>

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

    // sessions: the log's, the earliest first.
    CReadingLogWindow(std::vector<SSessionRecord> sessions, IDialogs& dialogs,
                      QWidget* parent = nullptr);

    void ExportCsv();

private:
    QTableWidget* MakeTable();
    QChartView* MakeSpeedChart(std::optional<int> best);
    QChartView* MakeDailyChart();
    QChartView* MakePlaceChart();
    QString BestSpeedText(std::optional<int> best) const;

    std::vector<SSessionRecord> Sessions;
    IDialogs& Dialogs;
};
