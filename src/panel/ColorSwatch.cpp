// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ColorSwatch.h"

#include "display/ColorRef.h"

#include <QPainter>

CColorSwatch::CColorSwatch(QWidget* parent) : QWidget(parent) {
    // The fill covers every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CColorSwatch::SetColor(uint32_t ref) {
    Ref = ref;
    update();
}

void CColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ColorFromRef(Ref));
}
