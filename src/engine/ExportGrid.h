#pragma once
// Turns the boxes of prepared pages into a grid of cells for the exporters that write tables
// (rich text, spreadsheets). Private to the engine.

#include "PreparedReport.h"

#include <QImage>
#include <QStringList>

#include <vector>

namespace tarvex::engine {

/// One box of a page: a text with the fill and frame of its own rectangle, a framed or filled
/// rectangle without text, or a picture.
struct GridBox {
    QRectF rect;
    QStringList lines; ///< empty: no text
    TextFont font;
    QColor color = Qt::black;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    int rotation = 0;
    QColor fill; ///< invalid: none
    int frameSides = 0;
    double frameWidth = 1;
    QColor frameColor;
    Qt::PenStyle frameStyle = Qt::SolidLine;
    QImage image; ///< the part of a picture that prints; null for text and rectangle boxes

    bool hasText() const { return !lines.isEmpty(); }
    QString text() const { return lines.join(QLatin1Char('\n')); }
};

/// A cell of the grid; rows and columns count from 0.
struct GridCell {
    int row = 0;
    int col = 0;
    int rowSpan = 1;
    int colSpan = 1;
    GridBox box;
    std::vector<QImage> moreImages; ///< pictures that found no free cell of their own
};

struct Grid {
    std::vector<double> columnWidths; ///< report units
    std::vector<double> rowHeights;   ///< report units
    std::vector<int> pageFirstRow;    ///< the first row of each page (the row count for a page with none)
    double left = 0;                  ///< x of the first column's left edge on the page
    std::vector<GridCell> cells;      ///< ordered by row, then column

    int rowCount() const { return int(rowHeights.size()); }
    int columnCount() const { return int(columnWidths.size()); }
    /// The index in `cells` of the cell covering (row, col); -1 when none does.
    int ownerAt(int row, int col) const;

    std::vector<int> owners; ///< rowCount() x columnCount(), row-major
};

struct GridOptions {
    bool dropEmptyRows = false; ///< leave out rows that no cell touches
    double tolerance = 1.5;     ///< edges nearer than this (report units) are one edge
};

/// A colour as exported: a grey of the same lightness when monochrome.
QColor exportColor(const QColor& c, bool monochrome);

/// The boxes of a page in drawing order. Non-printable elements, lines and shapes are left out;
/// rectangles without text that hold other boxes give them their frame and fill and are left out.
std::vector<GridBox> pageBoxes(const PreparedPage& page, bool monochrome);

/**
 * Lays the boxes of consecutive pages out on one grid: the columns are shared by all pages, the
 * rows of each page follow those of the page before. A box whose cells are partly taken keeps
 * the free part; a text whose first cell is taken is added to the text of that cell, so no text
 * is lost.
 */
Grid buildGrid(const std::vector<std::vector<GridBox>>& pages, const GridOptions& options = {});

} // namespace tarvex::engine
