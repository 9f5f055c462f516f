// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/FontMapping.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {
// LOGFONT lfPitchAndFamily: pitch in the low two bits, family in the high nibble.
constexpr uint8_t PitchMask = 0x03;
constexpr uint8_t FixedPitch = 0x01;
constexpr uint8_t VariablePitch = 0x02;
constexpr uint8_t FamilyMask = 0xF0;
constexpr uint8_t FamilyDontCare = 0x00;
constexpr uint8_t FamilyRoman = 0x10;
constexpr uint8_t FamilySwiss = 0x20;
constexpr uint8_t FamilyModern = 0x30;
constexpr uint8_t FamilyScript = 0x40;
constexpr uint8_t FamilyDecorative = 0x50;

constexpr int NormalWeight = 400;
constexpr int MaxWeight = 1000;

// Windows faces that Linux desktops rarely have, with the kind of face that stands in.
struct KnownFace {
    const char* Name;
    QFont::StyleHint Hint;
    int Weight; // the face's own weight, 0 when it follows the description
};
constexpr std::array KnownFaces{
    KnownFace{"Arial Black", QFont::SansSerif, 900},
    KnownFace{"Impact", QFont::SansSerif, 900},
    KnownFace{"Arial", QFont::SansSerif, 0},
    KnownFace{"Helvetica", QFont::SansSerif, 0},
    KnownFace{"Verdana", QFont::SansSerif, 0},
    KnownFace{"Tahoma", QFont::SansSerif, 0},
    KnownFace{"Trebuchet MS", QFont::SansSerif, 0},
    KnownFace{"Segoe UI", QFont::SansSerif, 0},
    KnownFace{"MS Sans Serif", QFont::SansSerif, 0},
    KnownFace{"Microsoft Sans Serif", QFont::SansSerif, 0},
    KnownFace{"Times New Roman", QFont::Serif, 0},
    KnownFace{"Times", QFont::Serif, 0},
    KnownFace{"Georgia", QFont::Serif, 0},
    KnownFace{"MS Serif", QFont::Serif, 0},
    KnownFace{"Courier New", QFont::Monospace, 0},
    KnownFace{"Courier", QFont::Monospace, 0},
    KnownFace{"Consolas", QFont::Monospace, 0},
    KnownFace{"Lucida Console", QFont::Monospace, 0},
    KnownFace{"Comic Sans MS", QFont::Cursive, 0},
};

// Installed families tried first for each kind, best first.
const QStringList& PreferredFamilies(QFont::StyleHint hint) {
    static const QStringList sans{"DejaVu Sans", "Liberation Sans", "Noto Sans", "Nimbus Sans",
                                  "FreeSans"};
    static const QStringList serif{"DejaVu Serif", "Liberation Serif", "Noto Serif", "Nimbus Roman",
                                   "FreeSerif"};
    static const QStringList mono{"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono",
                                  "Nimbus Mono PS", "FreeMono"};
    switch (hint) {
    case QFont::Serif:
        return serif;
    case QFont::Monospace:
    case QFont::TypeWriter:
        return mono;
    default:
        return sans;
    }
}

const KnownFace* FindKnownFace(const QString& face) {
    const auto it = std::find_if(KnownFaces.begin(), KnownFaces.end(), [&](const KnownFace& k) {
        return face.compare(QLatin1String(k.Name), Qt::CaseInsensitive) == 0;
    });
    return it == KnownFaces.end() ? nullptr : &*it;
}

QFont::StyleHint HintFromPitchAndFamily(uint8_t pitchAndFamily) {
    if ((pitchAndFamily & PitchMask) == FixedPitch)
        return QFont::Monospace;
    switch (pitchAndFamily & FamilyMask) {
    case FamilyRoman:
        return QFont::Serif;
    case FamilySwiss:
        return QFont::SansSerif;
    case FamilyModern:
        return QFont::Monospace;
    case FamilyScript:
        return QFont::Cursive;
    case FamilyDecorative:
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

uint8_t FamilyFromHint(QFont::StyleHint hint) {
    switch (hint) {
    case QFont::Serif:
        return FamilyRoman;
    case QFont::SansSerif:
        return FamilySwiss;
    case QFont::Monospace:
    case QFont::TypeWriter:
        return FamilyModern;
    case QFont::Cursive:
        return FamilyScript;
    case QFont::Decorative:
    case QFont::Fantasy:
        return FamilyDecorative;
    default:
        return FamilyDontCare;
    }
}

QFontDatabase::WritingSystem ScriptOfCharSet(uint8_t charSet) {
    switch (charSet) {
    case 2:
        return QFontDatabase::Symbol;
    case 128:
        return QFontDatabase::Japanese;
    case 129:
    case 130:
        return QFontDatabase::Korean;
    case 134:
        return QFontDatabase::SimplifiedChinese;
    case 136:
        return QFontDatabase::TraditionalChinese;
    case 161:
        return QFontDatabase::Greek;
    case 163:
        return QFontDatabase::Vietnamese;
    case 177:
        return QFontDatabase::Hebrew;
    case 178:
        return QFontDatabase::Arabic;
    case 204:
        return QFontDatabase::Cyrillic;
    case 222:
        return QFontDatabase::Thai;
    case 1: // DEFAULT_CHARSET
        return QFontDatabase::Any;
    default: // ANSI, Turkish, Baltic, Central European, OEM, Mac: Latin scripts
        return QFontDatabase::Latin;
    }
}

bool IsInstalled(const QString& family) {
    if (family.isEmpty())
        return false;
    const QStringList installed = QFontDatabase::families();
    return installed.contains(family, Qt::CaseInsensitive);
}

// Installed families of the wanted kind that can write the script, best first.
QStringList FallbackFamilies(QFont::StyleHint hint, QFontDatabase::WritingSystem script) {
    const QStringList installed = QFontDatabase::families(script);
    QStringList chosen;
    for (const QString& family : PreferredFamilies(hint)) {
        if (installed.contains(family, Qt::CaseInsensitive))
            chosen << family;
    }
    if (!chosen.isEmpty() || script == QFontDatabase::Any)
        return chosen;
    // No familiar face writes this script: any installed one that does, of the right
    // pitch when a fixed pitch is wanted.
    const bool fixed = hint == QFont::Monospace || hint == QFont::TypeWriter;
    for (const QString& family : installed) {
        if (!fixed || QFontDatabase::isFixedPitch(family)) {
            chosen << family;
            break;
        }
    }
    return chosen;
}

int WeightOf(int32_t lfWeight) {
    if (lfWeight <= 0)
        return NormalWeight; // FW_DONTCARE
    return std::min(lfWeight, MaxWeight);
}

int ClampPixels(int64_t pixels) {
    return static_cast<int>(std::clamp<int64_t>(pixels, MinFontPixels, MaxFontPixels));
}

// A negative height is the character (em) height, which is what Qt's pixel size means;
// a positive one is the cell height, ascent plus descent, and is scaled down to the em
// height by the metrics of the face actually chosen.
int PixelHeight(int32_t lfHeight, QFont font) {
    if (lfHeight == 0)
        return DefaultFontPixels;
    if (lfHeight < 0)
        return ClampPixels(-static_cast<int64_t>(lfHeight));
    const int cell = ClampPixels(lfHeight);
    font.setPixelSize(cell);
    const int measured = QFontMetrics(font).height();
    if (measured <= 0)
        return cell;
    return ClampPixels(std::llround(static_cast<double>(cell) * cell / measured));
}

void StoreFaceName(LogFont& description, const QString& face) {
    std::memset(description.lfFaceName, 0, sizeof description.lfFaceName);
    QByteArray bytes = face.toUtf8();
    qsizetype length = std::min<qsizetype>(bytes.size(), LogFont::FaceSize - 1);
    // Never keep half of a multi-byte character.
    while (length > 0 && length < bytes.size() && (bytes[length] & 0xC0) == 0x80)
        --length;
    std::memcpy(description.lfFaceName, bytes.constData(), static_cast<std::size_t>(length));
}
} // namespace

QString FaceName(const LogFont& description) {
    const std::size_t length = strnlen(description.lfFaceName, LogFont::FaceSize - 1);
    return QString::fromUtf8(description.lfFaceName, static_cast<qsizetype>(length));
}

QFont FontFromLogFont(const LogFont& description) {
    const QString face = FaceName(description);
    QFont::StyleHint hint = HintFromPitchAndFamily(description.lfPitchAndFamily);
    int weight = WeightOf(description.lfWeight);

    QStringList families;
    if (IsInstalled(face)) {
        families << face;
    } else if (const KnownFace* known = FindKnownFace(face)) {
        hint = known->Hint;
        weight = std::max(weight, known->Weight);
    }
    families << FallbackFamilies(hint, ScriptOfCharSet(description.lfCharSet));

    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(description.lfItalic != 0);
    font.setUnderline(description.lfUnderline != 0);
    font.setStrikeOut(description.lfStrikeOut != 0);
    font.setFixedPitch((description.lfPitchAndFamily & PitchMask) == FixedPitch);
    font.setPixelSize(PixelHeight(description.lfHeight, font));
    return font;
}

LogFont LogFontFromFont(const QFont& font, const LogFont& previous) {
    LogFont description = previous;
    const QFontInfo info(font);
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : info.pixelSize();
    description.lfHeight = -std::max(pixels, 1);
    description.lfWidth = 0;
    description.lfWeight = font.weight();
    description.lfItalic = font.italic() ? 1 : 0;
    description.lfUnderline = font.underline() ? 1 : 0;
    description.lfStrikeOut = font.strikeOut() ? 1 : 0;
    const uint8_t pitch = info.fixedPitch() ? FixedPitch : VariablePitch;
    const uint8_t family = info.fixedPitch() ? FamilyModern : FamilyFromHint(font.styleHint());
    description.lfPitchAndFamily = static_cast<uint8_t>(pitch | family);
    StoreFaceName(description, font.family().isEmpty() ? info.family() : font.family());
    return description;
}

QFont ShownFont(const QFont& font) {
    const QFontInfo info(font);
    QFont shown(info.family());
    shown.setStyleName(info.styleName());
    shown.setWeight(static_cast<QFont::Weight>(info.weight()));
    shown.setItalic(info.italic());
    shown.setPixelSize(info.pixelSize());
    shown.setUnderline(font.underline());
    shown.setStrikeOut(font.strikeOut());
    return shown;
}

bool SameShownFont(const QFont& a, const QFont& b) {
    const QFontInfo left(a);
    const QFontInfo right(b);
    return left.family() == right.family() && left.styleName() == right.styleName() &&
           left.weight() == right.weight() && left.italic() == right.italic() &&
           left.pixelSize() == right.pixelSize() && a.underline() == b.underline() &&
           a.strikeOut() == b.strikeOut();
}
