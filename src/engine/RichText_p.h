#pragma once
// Rich text of RichView objects: reading the basic RTF subset into formatted paragraphs, and laying
// them out with tab-separated columns aligned (private to the engine).

#include "Appearance.h"
#include "PreparedReport.h"
#include "TextLayout_p.h"

#include <vector>

namespace tarvex::engine {

/// A piece of text in one format. A tab character separates the cells of a line.
struct RichRun {
    QString text;
    int style = 0;         ///< Font::Style bits
    double pixelSize = 0;  ///< character height in report units; 0 keeps the object's font size
};

struct RichParagraph {
    std::vector<RichRun> runs;
    HAlign align = HAlign::Left;
};

/// Paragraphs of `content`: RTF ("{\rtf1 ...}": plain text, \par, \line, \tab, \b, \i, \ul, \strike,
/// \plain, \fs, \ql, \qc, \qr, \pard, table rows with \cell and \row, \'hh, \u) or plain text split at
/// its line breaks. Destinations such as font and colour tables are skipped; group nesting deeper than
/// any real document ends the reading. Never fails: unreadable parts are dropped.
std::vector<RichParagraph> parseRichText(const QString& content);

/// Text of the paragraphs joined with "\n" (cells keep their tabs).
QString richPlainText(const std::vector<RichParagraph>& paragraphs);

/// Lays the paragraphs out from (0, 0) within `width`, one prepared text per piece of a line in one
/// format. Tab-separated cells of consecutive lines form a table whose columns are as wide as their
/// widest cell; the last cell of a line wraps in the room left. When the columns do not fit, tabs
/// jump to stops every 1.25 cm instead. Returns the height of the text.
double layoutRichText(const std::vector<RichParagraph>& paragraphs, const TextFont& base, const QColor& color,
                      double width, TextMeasurer& measurer, std::vector<TextItem>& out);

} // namespace tarvex::engine
