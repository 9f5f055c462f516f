// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QTextLayout>

class QPainter;
class QPoint;

// A unit's text laid out once, both to measure it and to draw it: lines wrapped at word
// boundaries within a box of the given width and left-aligned; a word wider than the
// box is not broken but widens the layout. The size is what QFontMetrics::boundingRect
// gives with Qt::TextWordWrap. Line feeds in the text break the line.
class CUnitLayout {
public:
    // formats: parts of the text drawn otherwise (a colour, a background).
    CUnitLayout(const QString& text, const QFont& font, int boxWidth,
                const QList<QTextLayout::FormatRange>& formats = {});
    CUnitLayout(const CUnitLayout&) = delete;
    CUnitLayout& operator=(const CUnitLayout&) = delete;

    QSize Size() const { return Extent; }
    // Draws in the painter's pen, the layout's top-left corner at topLeft.
    void Draw(QPainter& painter, const QPoint& topLeft) const;

private:
    QTextLayout Layout;
    QSize Extent;
};
