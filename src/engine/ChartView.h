#pragma once
// A chart object: line series of fixed data drawn in a frame with axes, titles and a grid.
//
// The chart's own binary stream (Chart.PropData) is kept and written back but not interpreted; the
// properties below start at their defaults and are set from code before the report is prepared.

#include "View.h"

#include <QPointF>

namespace tarvex::engine {

/// One series of fixed data. Values are lists separated by ';' (the template notation).
struct ChartSeries {
    QString typeName = QStringLiteral("TfrxSeriesItem"); ///< element name in the file
    QString source1;      ///< labels (not drawn)
    QString source2;      ///< Y values
    QString source3;      ///< X values; when empty the points are numbered 0, 1, 2 ...
    bool active = true;
    bool pointMarkers = false; ///< circles at the points
    FrColor color = kColorBlack;
    AttributeBag extra;   ///< uninterpreted attributes of the element

    /// The points of the series (pairs up to the shorter list; unreadable numbers skipped).
    std::vector<QPointF> points() const;
};

struct ChartAxis {
    QString title;
    bool titleVisible = true;
    bool automatic = true;     ///< scale from the data; otherwise minimum/maximum
    double minimum = 0;
    double maximum = 0;
    double increment = 0;      ///< 0: chosen from the range
};

class ChartView : public View {
public:
    explicit ChartView(const QString& typeName = QStringLiteral("TfrxChartView"));

    QString title;
    bool titleVisible = true;
    ChartAxis bottomAxis;
    ChartAxis leftAxis;
    bool labelsVisible = true;
    bool gridVisible = true;
    QString valueFormat = QStringLiteral("0.##"); ///< FormatFloat picture of axis labels
    std::vector<ChartSeries> series;

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;
};

} // namespace tarvex::engine
