// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ReadingLogWindow.h"

#include "engine/ReadingEstimate.h"
#include "log/LogCsv.h"
#include "log/LogFigures.h"
#include "platform/Dialogs.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <map>
#include <sstream>

namespace {

QString ShortName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

QString LocalTime(int64_t msSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch)
        .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QTableWidgetItem* Cell(const QString& text, bool number = true) {
    auto* item = new QTableWidgetItem(text);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QChartView* ChartView(QChart* chart, const QString& name) {
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

// Time along the bottom, a value up the side, both attached to every series.
void AddTimeAxes(QChart& chart, const QString& valueTitle) {
    auto* time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("d MMM"));
    auto* value = new QValueAxis;
    value->setTitleText(valueTitle);
    value->setLabelFormat(QStringLiteral("%d"));
    chart.addAxis(time, Qt::AlignBottom);
    chart.addAxis(value, Qt::AlignLeft);
    for (QAbstractSeries* series : chart.series()) {
        series->attachAxis(time);
        series->attachAxis(value);
    }
}

// A rating's colour, from red for 1 to green for 5.
QColor RatingColor(int rating) {
    return QColor::fromHsv(24 * (rating - 1), 200, 210);
}

} // namespace

CReadingLogWindow::CReadingLogWindow(std::vector<SSessionRecord> sessions, IDialogs& dialogs,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), Sessions(std::move(sessions)), Dialogs(dialogs) {
    setObjectName(QStringLiteral("ReadingLogWindow"));
    setWindowTitle(tr("Reading log"));
    const std::optional<int> best = BestRatedSpeed(Sessions);
    auto* charts = new QTabWidget(this);
    charts->addTab(MakeSpeedChart(best), tr("Speed"));
    charts->addTab(MakeDailyChart(), tr("Minutes a day"));
    charts->addTab(MakePlaceChart(), tr("Place in each text"));
    auto* bestLabel = new QLabel(BestSpeedText(best), this);
    bestLabel->setObjectName(QStringLiteral("BestSpeed"));
    auto* exportButton = new QPushButton(tr("Export CSV..."), this);
    connect(exportButton, &QPushButton::clicked, this, &CReadingLogWindow::ExportCsv);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bestLabel, 1);
    bottom->addWidget(exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeTable(), 2);
    layout->addWidget(charts, 3);
    layout->addLayout(bottom);
    resize(1000, 760);
}

QString CReadingLogWindow::BestSpeedText(std::optional<int> best) const {
    if (best)
        return tr("You followed best at about %1 words per minute.").arg(*best);
    return tr("Rate how well you followed after a session of five minutes or more, and the log "
              "shows the speed at which you follow best.");
}

QTableWidget* CReadingLogWindow::MakeTable() {
    const std::vector<STextFigures> texts = TextFigures(Sessions);
    auto* table = new QTableWidget(static_cast<int>(texts.size()), 7, this);
    table->setObjectName(QStringLiteral("TextsTable"));
    table->setHorizontalHeaderLabels({tr("Text"), tr("Time read"), tr("Words read"),
                                      tr("Share read"), tr("Words per minute"), tr("Sessions"),
                                      tr("Last read")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    for (int row = 0; row < table->rowCount(); ++row) {
        const STextFigures& text = texts[static_cast<std::size_t>(row)];
        auto* name = Cell(ShortName(text.Path), false);
        name->setToolTip(QString::fromStdString(text.Path));
        table->setItem(row, 0, name);
        table->setItem(row, 1,
                       Cell(QString::fromStdString(
                           CReadingEstimate::TimeText(static_cast<uint64_t>(text.RunningMs)))));
        table->setItem(row, 2, Cell(QString::number(text.Words)));
        table->setItem(row, 3,
                       Cell(text.Share ? QStringLiteral("%1 %").arg(std::lround(*text.Share * 100))
                                       : QStringLiteral("–")));
        table->setItem(row, 4, Cell(QString::number(std::lround(text.WordsPerMinute))));
        table->setItem(row, 5, Cell(QString::number(text.Sessions)));
        table->setItem(row, 6, Cell(LocalTime(text.LastRead)));
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->resizeColumnsToContents();
    return table;
}

QChartView* CReadingLogWindow::MakeSpeedChart(std::optional<int> best) {
    auto* chart = new QChart;
    chart->setTitle(tr("Words per minute, each session"));
    auto* plain = new QScatterSeries;
    plain->setName(tr("Not rated"));
    plain->setMarkerSize(7);
    std::map<int, QScatterSeries*> rated;
    QList<QPointF> points;
    for (const SSessionRecord& session : Sessions) {
        const QPointF point(static_cast<double>(session.StartedAt), session.WordsPerMinute());
        if (!session.Rating) {
            points.append(point);
            continue;
        }
        QScatterSeries*& series = rated[*session.Rating];
        if (!series) {
            series = new QScatterSeries;
            series->setName(tr("Followed %1 of 5").arg(*session.Rating));
            series->setColor(RatingColor(*session.Rating));
            series->setMarkerSize(11);
        }
        series->append(point);
    }
    plain->replace(points);
    chart->addSeries(plain);
    for (const auto& [rating, series] : rated)
        chart->addSeries(series);
    if (best && !Sessions.empty()) {
        auto* line = new QLineSeries;
        line->setName(tr("Followed best: %1 wpm").arg(*best));
        line->append(static_cast<double>(Sessions.front().StartedAt), *best);
        line->append(static_cast<double>(Sessions.back().StartedAt), *best);
        chart->addSeries(line);
    }
    AddTimeAxes(*chart, tr("wpm"));
    return ChartView(chart, QStringLiteral("SpeedChart"));
}

QChartView* CReadingLogWindow::MakeDailyChart() {
    const QDate today = QDate::currentDate();
    const QDate first = today.addDays(1 - DaysShown);
    std::vector<double> minutes(DaysShown, 0.0);
    for (const SSessionRecord& session : Sessions) {
        const QDate day = QDateTime::fromMSecsSinceEpoch(session.StartedAt).date();
        const qint64 index = first.daysTo(day);
        if (index >= 0 && index < DaysShown)
            minutes[static_cast<std::size_t>(index)] +=
                static_cast<double>(session.RunningMs) / 60000.0;
    }
    auto* set = new QBarSet(tr("Minutes read"));
    QStringList days;
    for (int i = 0; i < DaysShown; ++i) {
        set->append(minutes[static_cast<std::size_t>(i)]);
        days.append(first.addDays(i).toString(QStringLiteral("d/M")));
    }
    auto* series = new QBarSeries;
    series->append(set);
    auto* chart = new QChart;
    chart->setTitle(tr("Minutes read a day, the last four weeks"));
    chart->addSeries(series);
    auto* dayAxis = new QBarCategoryAxis;
    dayAxis->append(days);
    dayAxis->setLabelsAngle(-90);
    auto* value = new QValueAxis;
    value->setLabelFormat(QStringLiteral("%d"));
    value->setTitleText(tr("min"));
    chart->addAxis(dayAxis, Qt::AlignBottom);
    chart->addAxis(value, Qt::AlignLeft);
    series->attachAxis(dayAxis);
    series->attachAxis(value);
    return ChartView(chart, QStringLiteral("DailyChart"));
}

QChartView* CReadingLogWindow::MakePlaceChart() {
    auto* chart = new QChart;
    chart->setTitle(tr("Place in each text after each session, in percent"));
    const std::vector<STextFigures> texts = TextFigures(Sessions);
    const std::size_t shown = std::min<std::size_t>(texts.size(), TextsCharted);
    for (std::size_t i = 0; i < shown; ++i) {
        auto* series = new QLineSeries;
        series->setName(ShortName(texts[i].Path));
        series->setPointsVisible(true);
        QList<QPointF> points;
        for (const SSessionRecord& session : Sessions) {
            if (session.Fingerprint != texts[i].Fingerprint || session.TextLength <= 0)
                continue;
            points.append({static_cast<double>(session.StartedAt + session.RunningMs),
                           100.0 * session.EndOffset / session.TextLength});
        }
        series->replace(points);
        chart->addSeries(series);
    }
    AddTimeAxes(*chart, tr("%"));
    return ChartView(chart, QStringLiteral("PlaceChart"));
}

void CReadingLogWindow::ExportCsv() {
    const std::optional<QString> path =
        Dialogs.SaveFile(this, tr("Export the reading log"), {tr("CSV files (*.csv)")},
                         QStringLiteral("csv"), QStringLiteral("reading-log.csv"));
    if (!path)
        return;
    std::ostringstream csv;
    WriteLogCsv(Sessions, csv);
    QFile file(*path);
    const std::string bytes = csv.str();
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                             static_cast<qint64>(bytes.size()) &&
                         file.flush();
    if (!written)
        Dialogs.Message(this, tr("The reading log could not be written to %1.").arg(*path),
                        MessageIcon::Error, file.errorString());
}
