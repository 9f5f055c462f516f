// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QString>

#include <cstdint>

class IUrlOpener;

// A label of a dialog that looks and acts like a hyperlink: underlined, drawn in the
// link colours, with a hand cursor and a tooltip. A click hands its target to the
// desktop and marks it visited. Dialogs get it by promoting a QLabel in their .ui.
class CLinkLabel : public QLabel {
    Q_OBJECT

public:
    // 0x00BBGGRR, red in the low byte.
    static constexpr uint32_t HoverColor = 0x008000FF;
    static constexpr uint32_t NormalColor = 0x00FF0840;
    static constexpr uint32_t VisitedColor = 0x00204008;

    explicit CLinkLabel(QWidget* parent = nullptr);

    // Where clicks go; without one a click only marks the label visited.
    void SetUrlOpener(IUrlOpener* opener) { Opener = opener; }
    void SetTarget(const QString& target) { Target = target; }
    void EnableTip(bool on) { TipEnabled = on; }
    // Ignored until EnableTip(true).
    void SetTipText(const QString& text);
    // True when the desktop accepted the target.
    bool OpenTarget(const QString& target);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnClicked();
    void ApplyColor();

    IUrlOpener* Opener = nullptr;
    bool TipEnabled = false;
    bool Hover = false;
    bool Visited = false;
    bool Pressed = false; // the left button went down on the label
    QString Target;
};
