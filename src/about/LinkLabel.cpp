// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/LinkLabel.h"

#include "display/ColorRef.h"
#include "platform/UrlOpener.h"

#include <QColor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPalette>

CLinkLabel::CLinkLabel(QWidget* parent) : QLabel(parent) {
    // Only the underline is set here; family and size keep following the dialog.
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    setCursor(Qt::PointingHandCursor);
    // Like the dialog's other labels the link shows its tip also while the dialog
    // is not the active window.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    ApplyColor();
}

void CLinkLabel::SetTipText(const QString& text) {
    if (!TipEnabled)
        return;
    setToolTip(text);
}

bool CLinkLabel::OpenTarget(const QString& target) {
    return Opener != nullptr && Opener->Open(target);
}

void CLinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    Hover = true;
    ApplyColor();
}

void CLinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    Hover = false;
    ApplyColor();
}

void CLinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    Pressed = true;
    event->accept();
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    // A press that is dragged off the label before release is no click.
    const bool clicked = Pressed && rect().contains(event->position().toPoint());
    Pressed = false;
    if (clicked)
        OnClicked();
}

void CLinkLabel::OnClicked() {
    // A refused target is not reported; the link counts as visited all the same.
    OpenTarget(Target);
    Visited = true;
    ApplyColor();
}

void CLinkLabel::ApplyColor() {
    const uint32_t color = Visited ? VisitedColor : Hover ? HoverColor : NormalColor;
    QPalette palette = this->palette();
    palette.setColor(foregroundRole(), ColorFromRef(color));
    setPalette(palette);
}
