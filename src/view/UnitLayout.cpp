// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/UnitLayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <QTextLine>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace {
QString WithLineSeparators(QString text) {
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}
} // namespace

CUnitLayout::CUnitLayout(const QString& text, const QFont& font, int boxWidth,
                         const QList<QTextLayout::FormatRange>& formats)
    : Layout(WithLineSeparators(text), font) {
    Layout.setFormats(formats);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(Qt::LeftToRight);
    Layout.setTextOption(option);
    Layout.setCacheEnabled(true);

    // Lines stacked as Qt's own text drawing stacks them: separated by the font's
    // leading, each starting on a whole pixel.
    const qreal leading = QFontMetricsF(font).leading();
    qreal height = -leading;
    qreal width = 0;
    Layout.beginLayout();
    for (QTextLine line = Layout.createLine(); line.isValid(); line = Layout.createLine()) {
        line.setLineWidth(boxWidth);
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.height();
        width = std::max(width, line.naturalTextWidth());
    }
    Layout.endLayout();
    Extent = QRectF(0, 0, width, std::max<qreal>(height, 0)).toAlignedRect().size();
}

void CUnitLayout::Draw(QPainter& painter, const QPoint& topLeft) const {
    Layout.draw(&painter, topLeft);
}
