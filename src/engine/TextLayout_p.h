#pragma once
// Measuring and breaking text in report units (private to the engine).

#include "PreparedReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <memory>

namespace tarvex::engine {

/// The QFont for a prepared text font: pixel size in report units, no hinting so that measuring and
/// drawing at any resolution agree.
QFont toQFont(const TextFont& f);

/// Font metrics cache and line breaking. One per preparing run; not thread-safe.
class TextMeasurer {
public:
    const QFontMetricsF& metrics(const TextFont& f);
    /// Lines of `text` within `width` (report units). Explicit line breaks are kept; with wordWrap,
    /// lines break at blanks; a word wider than the width breaks after a comma, slash, hyphen or
    /// semicolon in it, between characters only where none of them fits.
    QStringList breakLines(const QString& text, const TextFont& f, double width, bool wordWrap);
    double lineHeight(const TextFont& f, double lineSpacing) { return metrics(f).height() + lineSpacing; }
    double textWidth(const QString& text, const TextFont& f) { return metrics(f).horizontalAdvance(text); }

private:
    QHash<QString, std::shared_ptr<QFontMetricsF>> cache_;
};

} // namespace tarvex::engine
