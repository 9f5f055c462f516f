// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "view/UnitLayout.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CReadingSettings;

// A unit's bytes as they are drawn: line breaks of any convention break the line, a tab
// is a space, and line breaks at the end add no empty line. Read up to UnitBufferSize.
QString UnitDisplayText(std::string_view bytes, std::string_view encoding);
QString UnitDisplayText(const char* text, std::string_view encoding);

// Lays units out, centres and renders them, and keeps the unit on the screen and the
// one prepared ahead for the end of the gap.
class CUnitRenderer {
public:
    // The options panel covers this many pixels at the bottom of the view.
    static constexpr int PanelHeight = 120;

    // What a unit's pixels depend on besides its text.
    struct Inputs {
        int BoxWidth;
        QFont Font;
        QSize ViewSize;
        bool PanelShown;
        uint32_t TexColor;
        uint32_t BkgColor;
        qreal PixelRatio;
        std::string Encoding; // the text's, which its bytes are shown in
        bool operator==(const Inputs&) const = default;
    };
    // A unit laid out, centred and rendered over the background: showing it is a copy.
    struct PreparedUnit {
        QRect Rect;
        QImage Pixels;
        Inputs From;
    };

    static Inputs MakeInputs(const CReadingSettings& settings, const QFont& font, QSize view,
                             bool panelShown, qreal pixelRatio);
    // A unit of size `unit` centred in a view of size `client`, above the panel when
    // it is shown. Halves are rounded toward zero.
    static QRect CentredUnitRect(const QSize& client, const QSize& unit, bool panelShown);
    static std::unique_ptr<CUnitLayout> LayOut(const QString& text, const Inputs& inputs);
    static QRect Centred(const CUnitLayout& layout, const Inputs& inputs);
    static PreparedUnit Prepare(const QString& text, const Inputs& inputs);

    // The cut is only a forecast: the unit prepared here is used only if the cut at the
    // end of the gap gives the same bytes and nothing the pixels depend on has changed.
    void PrepareAhead(const char* bytes, const Inputs& inputs);
    // The unit for `text`: the one prepared ahead when it still fits, else a new one.
    PreparedUnit Take(const char* text, const Inputs& inputs);

    const std::optional<PreparedUnit>& Shown() const { return ShownUnit; }
    void SetShown(std::optional<PreparedUnit> unit) { ShownUnit = std::move(unit); }
    // Drops the unit on the screen and the one ahead.
    void Forget();

private:
    struct UnitAhead {
        std::string Bytes;
        PreparedUnit Unit;
    };
    std::optional<PreparedUnit> ShownUnit;
    std::optional<UnitAhead> Ahead;
};
