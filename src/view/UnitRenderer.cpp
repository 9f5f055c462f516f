// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/UnitRenderer.h"

#include "display/ColorRef.h"
#include "display/TextDecoding.h"
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {
// Width of the measuring box, whatever Width a settings file brings.
int BoxWidth(int32_t width) {
    constexpr int MaxBoxWidth = 1 << 16;
    return std::clamp(width, 0, MaxBoxWidth);
}
} // namespace

QString UnitDisplayText(std::string_view bytes, std::string_view encoding) {
    QString text = DecodeCutTextLines(bytes, encoding);
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    // A stop symbol kept at the end would push the unit off centre.
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

QString UnitDisplayText(const char* text, std::string_view encoding) {
    return text ? UnitDisplayText(std::string_view(text, strnlen(text, UnitBufferSize)), encoding)
                : QString();
}

CUnitRenderer::Inputs CUnitRenderer::MakeInputs(const CReadingSettings& settings, const QFont& font,
                                                QSize view, bool panelShown, qreal pixelRatio) {
    return {BoxWidth(settings.Width),
            font,
            view,
            panelShown,
            settings.TexColor,
            settings.BkgColor,
            pixelRatio,
            settings.Encoding};
}

QRect CUnitRenderer::CentredUnitRect(const QSize& client, const QSize& unit, bool panelShown) {
    const int usableHeight = client.height() - (panelShown ? PanelHeight : 0);
    const int x = client.width() / 2 - unit.width() / 2;
    const int y = usableHeight / 2 - unit.height() / 2;
    return QRect(x, y, unit.width(), unit.height());
}

std::unique_ptr<CUnitLayout> CUnitRenderer::LayOut(const QString& text, const Inputs& inputs) {
    return std::make_unique<CUnitLayout>(text, inputs.Font, inputs.BoxWidth);
}

QRect CUnitRenderer::Centred(const CUnitLayout& layout, const Inputs& inputs) {
    return CentredUnitRect(inputs.ViewSize, layout.Size(), inputs.PanelShown);
}

CUnitRenderer::PreparedUnit CUnitRenderer::Prepare(const QString& text, const Inputs& inputs) {
    PreparedUnit unit{{}, {}, inputs};
    // Laid out once: the same layout measures the unit and draws it.
    const CUnitLayout layout(text, inputs.Font, inputs.BoxWidth);
    unit.Rect = Centred(layout, inputs);
    if (unit.Rect.isEmpty())
        return unit;
    const qreal ratio = inputs.PixelRatio;
    unit.Pixels = QImage(unit.Rect.size() * ratio, QImage::Format_RGB32);
    unit.Pixels.setDevicePixelRatio(ratio);
    unit.Pixels.fill(ColorFromRef(inputs.BkgColor));
    QPainter painter(&unit.Pixels);
    painter.setPen(ColorFromRef(inputs.TexColor));
    layout.Draw(painter, QPoint(0, 0));
    return unit;
}

void CUnitRenderer::PrepareAhead(const char* bytes, const Inputs& inputs) {
    Ahead = UnitAhead{bytes, Prepare(UnitDisplayText(bytes, inputs.Encoding), inputs)};
}

CUnitRenderer::PreparedUnit CUnitRenderer::Take(const char* text, const Inputs& inputs) {
    std::optional<UnitAhead> ahead = std::move(Ahead);
    Ahead.reset();
    if (ahead && ahead->Bytes == std::string_view(text, strnlen(text, UnitBufferSize)) &&
        ahead->Unit.From == inputs)
        return std::move(ahead->Unit);
    return Prepare(UnitDisplayText(text, inputs.Encoding), inputs);
}

void CUnitRenderer::Forget() {
    ShownUnit.reset();
    Ahead.reset();
}
