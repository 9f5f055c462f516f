// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the toolbar images that stand in where the desktop's icon theme has none.
// Not part of the build; run it again after changing a drawing, from the top folder:
//   g++ -std=c++20 -fPIC scripts/draw-icons.cpp $(pkg-config --cflags --libs Qt6Svg Qt6Gui) \
//       -o /tmp/draw-icons
//   QT_QPA_PLATFORM=offscreen /tmp/draw-icons res/toolbar
// Every image is drawn on a 32 by 32 grid and written as SVG, which the toolbar renders
// at the size and scale it needs. Outlines are 2 units wide on odd coordinates, so that
// they land on whole pixels at 16, 32 and 48.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <cmath>
#include <cstdio>

namespace {

const QColor Ink(0x30, 0x30, 0x30);
const QColor Blue(0x3b, 0x74, 0xc4);
const QColor LightBlue(0xcf, 0xe3, 0xf7);
const QColor Green(0x3d, 0xa3, 0x3d);
const QColor Red(0xd3, 0x3a, 0x2c);
const QColor Yellow(0xf6, 0xd3, 0x6b);
const QColor Ochre(0xd9, 0xa4, 0x32);
const QColor Paper(0xfc, 0xfc, 0xfc);
const QColor Grey(0x9a, 0x9a, 0x9a);

void Outlined(QPainter& p, const QColor& fill) {
    p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

void Stroke(QPainter& p, const QColor& color, qreal width = 2) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

QPolygonF Poly(std::initializer_list<QPointF> points) {
    return QPolygonF(QList<QPointF>(points));
}

void Page(QPainter& p, qreal left, qreal top, qreal right, qreal bottom) {
    const qreal fold = 6;
    Outlined(p, Paper);
    p.drawPolygon(Poly(
        {{left, top}, {right - fold, top}, {right, top + fold}, {right, bottom}, {left, bottom}}));
    p.drawPolyline(Poly({{right - fold, top}, {right - fold, top + fold}, {right, top + fold}}));
}

void Floppy(QPainter& p) {
    Outlined(p, Blue);
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 2, 2);
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawRect(QRectF(9, 3, 14, 8));
    p.setBrush(Paper);
    p.drawRect(QRectF(7, 17, 18, 12));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    Stroke(p, color, 3);
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF wing = line;
    wing.setLength(6);
    wing.setAngle(line.angle() + 40);
    p.drawLine(wing);
    wing.setAngle(line.angle() - 40);
    p.drawLine(wing);
}

void DrawOpen(QPainter& p) {
    Outlined(p, Ochre);
    p.drawPolygon(Poly({{3, 7}, {11, 7}, {14, 10}, {27, 10}, {27, 27}, {3, 27}}));
    Outlined(p, Yellow);
    p.drawPolygon(Poly({{7, 15}, {31, 15}, {27, 27}, {3, 27}}));
}

void DrawRun(QPainter& p) {
    Outlined(p, Green);
    p.drawPolygon(Poly({{9, 5}, {27, 16}, {9, 27}}));
}

void DrawPause(QPainter& p) {
    Outlined(p, Blue);
    p.drawRect(QRectF(7, 5, 7, 22));
    p.drawRect(QRectF(19, 5, 7, 22));
}

void DrawStop(QPainter& p) {
    Outlined(p, Red);
    p.drawRoundedRect(QRectF(7, 7, 18, 18), 2, 2);
}

void DrawAddBookmark(QPainter& p) {
    Outlined(p, Red);
    p.drawPolygon(Poly({{9, 3}, {23, 3}, {23, 29}, {16, 22}, {9, 29}}));
    Stroke(p, Paper, 3);
    p.drawLine(QPointF(16, 7), QPointF(16, 16));
    p.drawLine(QPointF(11.5, 11.5), QPointF(20.5, 11.5));
}

void DrawFullScreen(QPainter& p) {
    Outlined(p, LightBlue);
    p.drawRect(QRectF(3, 5, 26, 22));
    Stroke(p, Blue, 3);
    const qreal l = 8, t = 10, r = 24, b = 22, arm = 5;
    p.drawPolyline(Poly({{l, t + arm}, {l, t}, {l + arm, t}}));
    p.drawPolyline(Poly({{r - arm, t}, {r, t}, {r, t + arm}}));
    p.drawPolyline(Poly({{r, b - arm}, {r, b}, {r - arm, b}}));
    p.drawPolyline(Poly({{l + arm, b}, {l, b}, {l, b - arm}}));
}

void DrawOptionsPanel(QPainter& p) {
    Outlined(p, Paper);
    p.drawRect(QRectF(3, 3, 26, 26));
    p.setBrush(Blue);
    p.drawRect(QRectF(3, 3, 26, 6));
    p.setBrush(Yellow);
    p.drawRect(QRectF(3, 19, 26, 10));
    Stroke(p, Ink, 2);
    p.drawLine(QPointF(7, 24), QPointF(15, 24));
    p.drawLine(QPointF(19, 24), QPointF(25, 24));
}

void DrawReadingOptions(QPainter& p) {
    const qreal rows[] = {7, 16, 25};
    const qreal knobs[] = {21, 10, 17};
    for (int i = 0; i < 3; ++i) {
        Stroke(p, Grey, 3);
        p.drawLine(QPointF(3, rows[i]), QPointF(29, rows[i]));
        Outlined(p, Blue);
        p.drawEllipse(QPointF(knobs[i], rows[i]), 3.5, 3.5);
    }
}

void DrawMovePosition(QPainter& p) {
    Stroke(p, Grey, 3);
    p.drawLine(QPointF(3, 25), QPointF(29, 25));
    Outlined(p, Blue);
    p.drawPolygon(Poly({{12, 19}, {20, 19}, {20, 25}, {16, 29}, {12, 25}}));
    Arrow(p, QPointF(16, 10), QPointF(4, 10), Green);
    Arrow(p, QPointF(16, 10), QPointF(28, 10), Green);
}

void DrawLoadSettings(QPainter& p) {
    Page(p, 5, 3, 23, 29);
    Stroke(p, Grey, 2);
    for (const qreal y : {11.0, 15.0, 19.0})
        p.drawLine(QPointF(9, y), QPointF(19, y));
    Arrow(p, QPointF(25, 12), QPointF(25, 28), Green);
}

void DrawSaveDefault(QPainter& p) {
    Floppy(p);
    Outlined(p, Yellow);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 7.5 : 3.2;
        const qreal angle = (-90 + i * 36) * 3.14159265 / 180;
        star << QPointF(16 + radius * std::cos(angle), 22 + radius * std::sin(angle));
    }
    p.setPen(QPen(Ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(star);
}

void DrawSaveFile(QPainter& p) {
    Floppy(p);
    Stroke(p, Grey, 2);
    p.drawLine(QPointF(10, 21), QPointF(22, 21));
    p.drawLine(QPointF(10, 25), QPointF(22, 25));
}

void DrawHomePage(QPainter& p) {
    Outlined(p, Yellow);
    p.drawRect(QRectF(7, 15, 18, 14));
    Outlined(p, Red);
    p.drawPolygon(Poly({{2, 16}, {16, 3}, {30, 16}}));
    Outlined(p, Ochre);
    p.drawRect(QRectF(13, 20, 6, 9));
}

void DrawAbout(QPainter& p) {
    Outlined(p, Blue);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(Paper);
    p.drawEllipse(QPointF(16, 9.5), 2.5, 2.5);
    p.drawRect(QRectF(14, 14, 4, 10));
}

struct Drawing {
    const char* Name;
    void (*Draw)(QPainter&);
};

// In toolbar order.
const Drawing Drawings[] = {
    {"open", DrawOpen},
    {"run", DrawRun},
    {"pause", DrawPause},
    {"stop", DrawStop},
    {"add-bookmark", DrawAddBookmark},
    {"full-screen", DrawFullScreen},
    {"options-panel", DrawOptionsPanel},
    {"reading-options", DrawReadingOptions},
    {"move-position", DrawMovePosition},
    {"load-settings", DrawLoadSettings},
    {"save-default", DrawSaveDefault},
    {"save-file", DrawSaveFile},
    {"home-page", DrawHomePage},
    {"about", DrawAbout},
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    for (const Drawing& drawing : Drawings) {
        const QString file = QStringLiteral("%1/%2.svg").arg(folder, drawing.Name);
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(QSize(32, 32));
        svg.setViewBox(QRect(0, 0, 32, 32));
        svg.setTitle(QString::fromLatin1(drawing.Name));
        QPainter painter;
        if (!painter.begin(&svg)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        drawing.Draw(painter);
        painter.end();
    }
    return 0;
}
