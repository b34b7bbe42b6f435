#pragma once
// Appearance values shared by template objects: colours, fonts, frames, alignment.

#include <QColor>
#include <QString>

namespace tarvex::engine {

/// Report units per millimetre: object geometry is in 1/96 inch.
constexpr double kUnitsPerMm = 96.0 / 25.4;

/// A colour as templates store it: 0x00BBGGRR, 0xFF0000nn / 0x800000nn system colours, kColorNone for none.
using FrColor = int;
constexpr FrColor kColorNone = 536870911;
constexpr FrColor kColorBlack = 0;
constexpr FrColor kColorWhite = 16777215;

/// The colour to draw; an invalid QColor for none (transparent).
QColor toQColor(FrColor c);
/// The stored form of a QColor (kColorNone for an invalid or fully transparent colour).
FrColor fromQColor(const QColor& c);

/// Font of a memo or band. Height is minus the pixel height at 96 dpi (-13 is about 10 pt).
struct Font {
    enum Style { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
    QString name = QStringLiteral("Arial");
    int height = -13;
    int style = 0;
    FrColor color = kColorBlack;
    int charset = 1;

    /// Character height in report units.
    double pixelHeight() const { return height < 0 ? -height : (height > 0 ? height * 0.8 : 13.0); }
    bool operator==(const Font&) const = default;
};

/// Frame lines around an object.
struct Frame {
    enum Side { Left = 1, Right = 2, Top = 4, Bottom = 8, All = 15 };
    int sides = 0;              ///< bit mask of Side
    double width = 1.0;         ///< line width in report units
    FrColor color = kColorBlack;
    QString style = QStringLiteral("fsSolid"); ///< fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble
    bool operator==(const Frame&) const = default;
};

enum class HAlign { Left, Center, Right, Block };
enum class VAlign { Top, Center, Bottom };

} // namespace tarvex::engine
