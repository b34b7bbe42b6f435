#include "Page.h"

namespace tarvex::engine {

Page::Page(const QString& typeName) : Object(typeName, ObjectKind::Page)
{
    hasGeometry = false;
}

void Page::setLandscape(bool on)
{
    if (on == landscape)
        return;
    landscape = on;
    std::swap(paperWidth, paperHeight);
}

std::vector<Band*> Page::bands() const
{
    std::vector<Band*> out;
    for (const auto& c : children())
        if (c->kind() == ObjectKind::Band)
            out.push_back(static_cast<Band*>(c.get()));
    return out;
}

void Page::readAttributes(AttributeBag& bag)
{
    Object::readAttributes(bag);
    paperWidth = bag.takeReal(QStringLiteral("PaperWidth"), paperWidth);
    paperHeight = bag.takeReal(QStringLiteral("PaperHeight"), paperHeight);
    paperSize = bag.takeInt(QStringLiteral("PaperSize"), paperSize);
    leftMargin = bag.takeReal(QStringLiteral("LeftMargin"), leftMargin);
    rightMargin = bag.takeReal(QStringLiteral("RightMargin"), rightMargin);
    topMargin = bag.takeReal(QStringLiteral("TopMargin"), topMargin);
    bottomMargin = bag.takeReal(QStringLiteral("BottomMargin"), bottomMargin);
    if (auto o = bag.value(QStringLiteral("Orientation"))) {
        if (*o == QLatin1String("poLandscape") || *o == QLatin1String("poPortrait")) {
            landscape = *o == QLatin1String("poLandscape");
            bag.take(QStringLiteral("Orientation"));
        }
    }
    titleBeforeHeader = bag.takeBool(QStringLiteral("TitleBeforeHeader"), true);
    // Absurd paper sizes from a damaged file are brought back to something printable.
    auto sane = [](double v, double lo, double hi, double fallback) { return v >= lo && v <= hi ? v : fallback; };
    paperWidth = sane(paperWidth, 10, 5000, 210);
    paperHeight = sane(paperHeight, 10, 5000, 297);
    leftMargin = sane(leftMargin, 0, paperWidth / 2, 10);
    rightMargin = sane(rightMargin, 0, paperWidth / 2, 10);
    topMargin = sane(topMargin, 0, paperHeight / 2, 10);
    bottomMargin = sane(bottomMargin, 0, paperHeight / 2, 10);
}

void Page::writeAttributes(AttributeBag& out) const
{
    Object::writeAttributes(out);
    if (landscape)
        out.putString(QStringLiteral("Orientation"), QStringLiteral("poLandscape"));
    out.putReal(QStringLiteral("PaperWidth"), paperWidth);
    out.putReal(QStringLiteral("PaperHeight"), paperHeight);
    out.putInt(QStringLiteral("PaperSize"), paperSize);
    out.putReal(QStringLiteral("LeftMargin"), leftMargin);
    out.putReal(QStringLiteral("RightMargin"), rightMargin);
    out.putReal(QStringLiteral("TopMargin"), topMargin);
    out.putReal(QStringLiteral("BottomMargin"), bottomMargin);
    if (!titleBeforeHeader)
        out.putBool(QStringLiteral("TitleBeforeHeader"), false);
}

} // namespace tarvex::engine
