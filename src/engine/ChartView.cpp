#include "ChartView.h"

namespace tarvex::engine {

std::vector<QPointF> ChartSeries::points() const
{
    auto numbers = [](const QString& list) {
        std::vector<std::optional<double>> out;
        for (const QString& part : list.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            out.push_back(AttributeBag::parseReal(part));
        return out;
    };
    const auto ys = numbers(source2);
    const auto xs = numbers(source3);
    std::vector<QPointF> pts;
    for (size_t i = 0; i < ys.size(); ++i) {
        const std::optional<double> x = source3.isEmpty() ? std::optional<double>(double(i))
                                                           : (i < xs.size() ? xs[i] : std::nullopt);
        if (x && ys[i])
            pts.emplace_back(*x, *ys[i]);
    }
    return pts;
}

ChartView::ChartView(const QString& typeName) : View(typeName, ObjectKind::Chart) {}

void ChartView::readAttributes(AttributeBag& bag)
{
    View::readAttributes(bag);
}

void ChartView::writeAttributes(AttributeBag& out) const
{
    View::writeAttributes(out);
}

} // namespace tarvex::engine
