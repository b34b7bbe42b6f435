#include "RichView.h"

#include "PropData.h"
#include "RichText_p.h"

namespace tarvex::engine {

RichView::RichView(const QString& typeName) : View(typeName, ObjectKind::Rich) {}

QString RichView::plainText() const
{
    return rtfToPlainText(richText);
}

void RichView::readAttributes(AttributeBag& bag)
{
    View::readAttributes(bag);
    if (auto s = bag.value(QStringLiteral("StretchMode"))) {
        if (*s == QLatin1String("smActualHeight")) stretchMode = StretchMode::ActualHeight;
        else if (*s == QLatin1String("smMaxHeight")) stretchMode = StretchMode::MaxHeight;
        bag.take(QStringLiteral("StretchMode"));
    }
    gapX = bag.takeReal(QStringLiteral("GapX"), gapX);
    gapY = bag.takeReal(QStringLiteral("GapY"), gapY);
    if (auto hex = bag.take(QStringLiteral("RichEdit.PropData"))) {
        loadedPropData_ = *hex;
        PropData pd;
        pd.decodeHex(*hex);
        for (const auto& e : pd.entries()) {
            if (!e.second.isEmpty()) {
                richText = QString::fromLatin1(e.second);
                break;
            }
        }
        loadedText_ = richText;
    }
}

void RichView::writeAttributes(AttributeBag& out) const
{
    View::writeAttributes(out);
    if (gapX != 2)
        out.putReal(QStringLiteral("GapX"), gapX);
    if (gapY != 1)
        out.putReal(QStringLiteral("GapY"), gapY);
    if (stretchMode == StretchMode::ActualHeight)
        out.putString(QStringLiteral("StretchMode"), QStringLiteral("smActualHeight"));
    else if (stretchMode == StretchMode::MaxHeight)
        out.putString(QStringLiteral("StretchMode"), QStringLiteral("smMaxHeight"));
    if (!loadedPropData_.isEmpty() && richText == loadedText_) {
        out.putString(QStringLiteral("RichEdit.PropData"), loadedPropData_);
    } else if (!richText.isEmpty()) {
        PropData pd;
        pd.setValue(QStringLiteral("RichEdit"), richText.toUtf8());
        out.putString(QStringLiteral("RichEdit.PropData"), pd.encodeHex());
    }
}

QString rtfToPlainText(const QString& rtf)
{
    if (!rtf.trimmed().startsWith(QLatin1String("{\\rtf")))
        return rtf;
    return richPlainText(parseRichText(rtf));
}

} // namespace tarvex::engine
