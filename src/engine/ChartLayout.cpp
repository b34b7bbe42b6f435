#include "ChartLayout_p.h"

#include "Formatting.h"

#include <cmath>

namespace tarvex::engine {

namespace {

struct Range {
    double lo = 0;
    double hi = 1;
    double step = 0.2;
};

// The smallest step of 1, 2 or 5 times a power of ten not below `raw`.
double niceStep(double raw)
{
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / mag;
    return (f <= 1 + 1e-9 ? 1 : f <= 2 + 1e-9 ? 2 : f <= 5 + 1e-9 ? 5 : 10) * mag;
}

// At most `maxIntervals` intervals between ticks: a given step is kept while its labels have room,
// otherwise a step of 1, 2 or 5 times a power of ten is chosen.
Range axisRange(const ChartAxis& axis, double dataLo, double dataHi, int maxIntervals)
{
    Range r;
    if (!axis.automatic && axis.maximum > axis.minimum) {
        r.lo = axis.minimum;
        r.hi = axis.maximum;
    } else if (dataHi > dataLo) {
        r.lo = dataLo;
        r.hi = dataHi;
    } else {
        r.lo = dataLo - 1;
        r.hi = dataLo + 1;
    }
    const double span = r.hi - r.lo;
    maxIntervals = std::max(1, maxIntervals);
    if (axis.increment > 0 && span / axis.increment <= maxIntervals + 1e-6) {
        r.step = axis.increment;
    } else {
        // About five intervals, fewer when the labels need the room.
        r.step = niceStep(span / std::min(5, maxIntervals));
        while (span / r.step > maxIntervals + 1e-6)
            r.step = niceStep(r.step * 1.5);
    }
    return r;
}

std::vector<double> ticksOf(const Range& r)
{
    std::vector<double> t;
    const double first = std::ceil(r.lo / r.step - 1e-9);
    for (int i = 0; i < 200; ++i) {
        const double v = (first + i) * r.step;
        if (v > r.hi + r.step * 1e-6)
            break;
        t.push_back(std::fabs(v) < r.step * 1e-9 ? 0.0 : v);
    }
    return t;
}

// Decimals that write every multiple of `step` exactly (0.005 needs 3, 0.25 needs 2).
int decimalsOf(double step)
{
    for (int d = 0; d < 10; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled))
            return d;
    }
    return 10;
}

// Labels in the chart's format; when it writes two neighbouring ticks alike (0.975 and 0.98 both as
// "0.98") or rounds a tick visibly, every label gets the decimals the step needs instead.
QStringList tickLabels(const QString& format, const std::vector<double>& ticks, double step)
{
    QStringList labels;
    bool inexact = false;
    for (double v : ticks) {
        labels << formatFloat(format, v);
        if (labels.size() > 1 && labels.back() == labels[labels.size() - 2])
            inexact = true;
        // A label that rounds its tick by more than a hundredth of a step (0.25 as "0.3") misleads.
        QString plain = labels.back();
        plain.remove(QLatin1Char(' ')).remove(QLatin1Char(','));
        bool ok = false;
        const double shown = plain.toDouble(&ok);
        if (ok && std::fabs(shown - v) > step * 0.01)
            inexact = true;
    }
    if (!inexact)
        return labels;
    const int decimals = decimalsOf(step);
    const QString picture = decimals > 0 ? QStringLiteral("0.") + QString(decimals, QLatin1Char('0')) : QStringLiteral("0");
    labels.clear();
    for (double v : ticks)
        labels << formatFloat(picture, v);
    return labels;
}

TextItem label(const QString& text, const QRectF& rect, HAlign h, VAlign v, double size, int style = 0)
{
    TextItem t;
    t.rect = rect;
    t.lines = QStringList{text};
    t.font.pixelSize = size;
    t.font.style = style;
    t.hAlign = h;
    t.vAlign = v;
    t.gapX = 0;
    t.gapY = 0;
    t.lineHeight = size * 1.2;
    t.clip = false;
    return t;
}

} // namespace

std::vector<PreparedElement> layoutChart(const ChartView& chart, const QRectF& rect, TextMeasurer& measurer)
{
    (void)measurer;
    std::vector<PreparedElement> out;
    RectItem box;
    box.rect = rect;
    box.fill = toQColor(chart.fillColor == kColorNone ? kColorWhite : chart.fillColor);
    box.frameSides = chart.frame.sides;
    box.frameColor = toQColor(chart.frame.color);
    out.push_back({box, true});
    if (rect.width() < 40 || rect.height() < 40)
        return out;

    const double fontSize = 11;
    double top = rect.top() + 4;
    if (chart.titleVisible && !chart.title.isEmpty()) {
        out.push_back({label(chart.title, QRectF(rect.left(), top, rect.width(), fontSize * 1.4), HAlign::Center,
                             VAlign::Top, fontSize + 1, Font::Bold),
                       true});
        top += fontSize * 1.6;
    }
    const bool leftTitle = chart.leftAxis.titleVisible && !chart.leftAxis.title.isEmpty();
    const bool bottomTitle = chart.bottomAxis.titleVisible && !chart.bottomAxis.title.isEmpty();
    QRectF plot(rect.left() + 50 + (leftTitle ? fontSize * 1.5 : 0), top + 6,
                0, 0);
    plot.setRight(rect.right() - 12);
    plot.setBottom(rect.bottom() - 22 - (bottomTitle ? fontSize * 1.5 : 0));
    if (plot.width() < 10 || plot.height() < 10)
        return out;

    std::vector<std::vector<QPointF>> series;
    double xlo = 0, xhi = 0, ylo = 0, yhi = 0;
    bool any = false;
    for (const auto& s : chart.series) {
        if (!s.active)
            continue;
        series.push_back(s.points());
        for (const QPointF& p : series.back()) {
            if (!any) {
                xlo = xhi = p.x();
                ylo = yhi = p.y();
                any = true;
            }
            xlo = std::min(xlo, p.x());
            xhi = std::max(xhi, p.x());
            ylo = std::min(ylo, p.y());
            yhi = std::max(yhi, p.y());
        }
    }
    // Labels need about a line and a half of height each (left axis) and their width (bottom axis).
    const Range xr = axisRange(chart.bottomAxis, xlo, xhi, int(plot.width() / 48));
    const Range yr = axisRange(chart.leftAxis, ylo, yhi, int(plot.height() / (fontSize * 1.5)));
    auto mapX = [&](double x) { return plot.left() + (x - xr.lo) / (xr.hi - xr.lo) * plot.width(); };
    auto mapY = [&](double y) { return plot.bottom() - (y - yr.lo) / (yr.hi - yr.lo) * plot.height(); };

    const QColor gridColor(0xC0, 0xC0, 0xC0);
    const std::vector<double> xTicks = ticksOf(xr);
    const QStringList xLabels = tickLabels(chart.valueFormat, xTicks, xr.step);
    for (size_t i = 0; i < xTicks.size(); ++i) {
        const double x = mapX(xTicks[i]);
        if (chart.gridVisible)
            out.push_back({LineItem{QPointF(x, plot.top()), QPointF(x, plot.bottom()), 0.5, gridColor, Qt::SolidLine}, true});
        if (chart.labelsVisible)
            out.push_back({label(xLabels[qsizetype(i)], QRectF(x - 30, plot.bottom() + 3, 60, fontSize * 1.3),
                                 HAlign::Center, VAlign::Top, fontSize),
                           true});
    }
    const std::vector<double> yTicks = ticksOf(yr);
    const QStringList yLabels = tickLabels(chart.valueFormat, yTicks, yr.step);
    for (size_t i = 0; i < yTicks.size(); ++i) {
        const double y = mapY(yTicks[i]);
        if (chart.gridVisible)
            out.push_back({LineItem{QPointF(plot.left(), y), QPointF(plot.right(), y), 0.5, gridColor, Qt::SolidLine}, true});
        if (chart.labelsVisible)
            out.push_back({label(yLabels[qsizetype(i)], QRectF(plot.left() - 48, y - fontSize * 0.65, 44, fontSize * 1.3),
                                 HAlign::Right, VAlign::Center, fontSize),
                           true});
    }
    RectItem frame;
    frame.rect = plot;
    frame.frameSides = Frame::All;
    out.push_back({frame, true});
    if (bottomTitle)
        out.push_back({label(chart.bottomAxis.title, QRectF(plot.left(), rect.bottom() - fontSize * 1.6, plot.width(), fontSize * 1.4),
                             HAlign::Center, VAlign::Top, fontSize),
                       true});
    if (leftTitle) {
        TextItem t = label(chart.leftAxis.title, QRectF(rect.left() + 2, plot.top(), fontSize * 1.4, plot.height()),
                           HAlign::Center, VAlign::Center, fontSize);
        t.rotation = 90;
        out.push_back({t, true});
    }
    size_t si = 0;
    for (const auto& s : chart.series) {
        if (!s.active)
            continue;
        const auto& pts = series[si++];
        ShapeItem line;
        line.kind = ShapeItem::Kind::Polyline;
        line.pen = toQColor(s.color);
        line.penWidth = 1.5;
        for (const QPointF& p : pts)
            line.points << QPointF(mapX(p.x()), mapY(p.y()));
        if (line.points.size() >= 2)
            out.push_back({line, true});
        if (s.pointMarkers) {
            for (const QPointF& p : line.points) {
                ShapeItem m;
                m.kind = ShapeItem::Kind::Ellipse;
                m.rect = QRectF(p.x() - 3, p.y() - 3, 6, 6);
                m.pen = line.pen;
                m.fill = Qt::white;
                out.push_back({m, true});
            }
        }
    }
    return out;
}

} // namespace tarvex::engine
