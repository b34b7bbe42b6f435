#pragma once
// Turns a chart object into drawing primitives: frame, title, axes with labels, grid and line series
// (private to the engine).

#include "ChartView.h"
#include "PreparedReport.h"
#include "TextLayout_p.h"

namespace tarvex::engine {

std::vector<PreparedElement> layoutChart(const ChartView& chart, const QRectF& rect, TextMeasurer& measurer);

} // namespace tarvex::engine
