// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <cstdint>

// A plain patch of one colour (0x00BBGGRR), nothing else: no text, no frame.
class CColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit CColorSwatch(QWidget* parent = nullptr);

    // Repaints the swatch in the new colour.
    void SetColor(uint32_t ref);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t Ref = 0x00FFFFFF;
};
