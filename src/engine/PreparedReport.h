#pragma once
// The result of preparing a report: pages of positioned drawing primitives, independent of the template.

#include "Appearance.h"

#include <QImage>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

#include <variant>
#include <vector>

namespace tarvex::engine {

/// Font of a prepared text, in report units.
struct TextFont {
    QString family = QStringLiteral("Arial");
    double pixelSize = 13; ///< character height in report units (1/96 inch)
    int style = 0;         ///< Font::Style bits
    bool operator==(const TextFont&) const = default;
};

/// Text already broken into lines, drawn inside `rect` with its padding and alignment.
struct TextItem {
    QRectF rect;
    QStringList lines;
    TextFont font;
    QColor color = Qt::black;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    double gapX = 2;
    double gapY = 1;
    double lineHeight = 15; ///< distance between baselines
    int rotation = 0;
    bool clip = true;
};

/// A rectangle with an optional fill and frame sides.
struct RectItem {
    QRectF rect;
    QColor fill;            ///< invalid: no fill
    int frameSides = 0;     ///< Frame::Side bits
    double frameWidth = 1;
    QColor frameColor = Qt::black;
    Qt::PenStyle frameStyle = Qt::SolidLine;
};

struct LineItem {
    QPointF from;
    QPointF to;
    double width = 1;
    QColor color = Qt::black;
    Qt::PenStyle style = Qt::SolidLine;
};

/// An image drawn into `rect`; `source` selects the part of the image (null: all of it).
struct ImageItem {
    QRectF rect;
    QImage image;
    QRectF source;
};

/// Ellipses, polygons and polylines (shapes, chart lines).
struct ShapeItem {
    enum class Kind { Ellipse, Polygon, Polyline, RoundRect };
    Kind kind = Kind::Polygon;
    QRectF rect;
    QPolygonF points;
    QColor fill;
    QColor pen = Qt::black;
    double penWidth = 1;
};

using PreparedItem = std::variant<TextItem, RectItem, LineItem, ImageItem, ShapeItem>;

/// One positioned primitive; non-printable ones are shown in previews only.
struct PreparedElement {
    PreparedItem item;
    bool printable = true;
};

/// A prepared page. Coordinates are report units from the top-left corner of the paper.
struct PreparedPage {
    QSizeF size;                 ///< paper size in report units
    bool landscape = false;
    std::vector<PreparedElement> elements;
};

/// A heading of a report's outline: its text, where it prints, and the headings under it.
struct OutlineEntry {
    QString text;
    int page = 0;  ///< from 0
    double y = 0;  ///< report units from the top of the page
    std::vector<OutlineEntry> children;
};

/// Pages of a prepared report. Cheap to move.
class PreparedReport {
public:
    std::vector<PreparedPage> pages;
    std::vector<OutlineEntry> outline; ///< empty when the report has none

    int pageCount() const { return int(pages.size()); }
    /// The texts of a page, line by line in placing order (for searching and tests).
    QStringList pageTexts(int page) const;
    /// All texts of all pages.
    QStringList allTexts() const;
};

} // namespace tarvex::engine
