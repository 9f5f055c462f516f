// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ReadingLogWindow.h"

#include "engine/ReadingEstimate.h"
#include "log/LogCsv.h"
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
#include <limits>
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

// Time along the bottom over the points' times, a value up the side from 0 to top (0:
// above the highest point), both attached to every series.
void AddTimeAxes(QChart& chart, const QString& valueTitle, double top = 0) {
    double left = std::numeric_limits<double>::max();
    double right = std::numeric_limits<double>::lowest();
    double highest = 1;
    for (const QAbstractSeries* series : chart.series()) {
        for (const QPointF& point : static_cast<const QXYSeries*>(series)->points()) {
            left = std::min(left, point.x());
            right = std::max(right, point.x());
            highest = std::max(highest, point.y());
        }
    }
    // No points, or all within a day: the week up to the last.
    constexpr double WeekMs = 7.0 * 24 * 3600 * 1000;
    if (left > right)
        right = static_cast<double>(QDateTime::currentMSecsSinceEpoch());
    if (right - left < WeekMs / 7)
        left = right - WeekMs;
    auto* time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("d MMM"));
    time->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(left)),
                   QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(right)));
    auto* value = new QValueAxis;
    value->setTitleText(valueTitle);
    value->setLabelFormat(QStringLiteral("%d"));
    value->setRange(0, top > 0 ? top : highest * 1.1);
    if (top <= 0)
        value->applyNiceNumbers();
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
    const int64_t since = QDateTime::currentDateTime().addDays(-DaysCharted).toMSecsSinceEpoch();
    const auto recent = std::lower_bound(
        Sessions.begin(), Sessions.end(), since,
        [](const SSessionRecord& session, int64_t at) { return session.StartedAt < at; });
    Charted = std::span<const SSessionRecord>(recent, Sessions.end());
    const std::optional<int> best = BestRatedSpeed(Sessions);
    const std::vector<STextFigures> texts = TextFigures(Sessions);
    auto* charts = new QTabWidget(this);
    charts->addTab(MakeSpeedChart(best), tr("Speed"));
    charts->addTab(MakeDailyChart(), tr("Minutes a day"));
    charts->addTab(MakePlaceChart(texts), tr("Place in each text"));
    auto* bestLabel = new QLabel(BestSpeedText(best), this);
    bestLabel->setObjectName(QStringLiteral("BestSpeed"));
    auto* exportButton = new QPushButton(tr("Export CSV..."), this);
    exportButton->setObjectName(QStringLiteral("ExportCsv"));
    connect(exportButton, &QPushButton::clicked, this, &CReadingLogWindow::ExportCsv);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bestLabel, 1);
    bottom->addWidget(exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeTable(texts), 2);
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

QTableWidget* CReadingLogWindow::MakeTable(const std::vector<STextFigures>& texts) {
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
    chart->setTitle(tr("Words per minute, each session of the last twelve weeks"));
    auto* plain = new QScatterSeries;
    plain->setName(tr("Not rated"));
    plain->setMarkerSize(7);
    std::map<int, QScatterSeries*> rated;
    QList<QPointF> points;
    for (const SSessionRecord& session : Charted) {
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
    if (best && !Charted.empty()) {
        auto* line = new QLineSeries;
        line->setName(tr("Followed best: %1 wpm").arg(*best));
        line->setPen(QPen(Qt::darkGray, 2, Qt::DashLine));
        line->append(static_cast<double>(Charted.front().StartedAt), *best);
        line->append(static_cast<double>(Charted.back().StartedAt), *best);
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
    value->setRange(0, std::max(1.0, *std::max_element(minutes.begin(), minutes.end())));
    value->applyNiceNumbers();
    chart->addAxis(dayAxis, Qt::AlignBottom);
    chart->addAxis(value, Qt::AlignLeft);
    series->attachAxis(dayAxis);
    series->attachAxis(value);
    return ChartView(chart, QStringLiteral("DailyChart"));
}

QChartView* CReadingLogWindow::MakePlaceChart(const std::vector<STextFigures>& texts) {
    auto* chart = new QChart;
    chart->setTitle(
        tr("Place in each text after each session of the last twelve weeks, in percent"));
    const std::size_t shown = std::min<std::size_t>(texts.size(), TextsCharted);
    for (std::size_t i = 0; i < shown; ++i) {
        auto* series = new QLineSeries;
        series->setName(ShortName(texts[i].Path));
        series->setPointsVisible(true);
        QList<QPointF> points;
        for (const SSessionRecord& session : Charted) {
            if (session.Fingerprint != texts[i].Fingerprint || session.TextLength <= 0)
                continue;
            points.append({static_cast<double>(session.StartedAt + session.RunningMs),
                           100.0 * session.EndOffset / session.TextLength});
        }
        series->replace(points);
        chart->addSeries(series);
    }
    AddTimeAxes(*chart, tr("%"), 100);
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
