#include "MemoView.h"

namespace tarvex::engine {

namespace {

HAlign parseHAlign(const QString& s, bool& ok)
{
    ok = true;
    if (s == QLatin1String("haLeft")) return HAlign::Left;
    if (s == QLatin1String("haCenter")) return HAlign::Center;
    if (s == QLatin1String("haRight")) return HAlign::Right;
    if (s == QLatin1String("haBlock")) return HAlign::Block;
    ok = false;
    return HAlign::Left;
}

VAlign parseVAlign(const QString& s, bool& ok)
{
    ok = true;
    if (s == QLatin1String("vaTop")) return VAlign::Top;
    if (s == QLatin1String("vaCenter")) return VAlign::Center;
    if (s == QLatin1String("vaBottom")) return VAlign::Bottom;
    ok = false;
    return VAlign::Top;
}

} // namespace

MemoView::MemoView(const QString& typeName) : View(typeName, ObjectKind::Memo) {}

void MemoView::readAttributes(AttributeBag& bag)
{
    View::readAttributes(bag);
    if (auto t = bag.take(QStringLiteral("Text")))
        text = *t;
    else if (auto m = bag.take(QStringLiteral("Memo.Text")))
        text = *m;
    View::readFont(bag, QStringLiteral("Font"), font);
    parentFont = bag.takeBool(QStringLiteral("ParentFont"), true);
    bool ok = false;
    if (auto h = bag.value(QStringLiteral("HAlign"))) {
        hAlign = parseHAlign(*h, ok);
        if (ok)
            bag.take(QStringLiteral("HAlign"));
    }
    if (auto v = bag.value(QStringLiteral("VAlign"))) {
        vAlign = parseVAlign(*v, ok);
        if (ok)
            bag.take(QStringLiteral("VAlign"));
    }
    wordWrap = bag.takeBool(QStringLiteral("WordWrap"), true);
    if (auto s = bag.value(QStringLiteral("StretchMode"))) {
        ok = true;
        if (*s == QLatin1String("smDontStretch")) stretchMode = StretchMode::DontStretch;
        else if (*s == QLatin1String("smActualHeight")) stretchMode = StretchMode::ActualHeight;
        else if (*s == QLatin1String("smMaxHeight")) stretchMode = StretchMode::MaxHeight;
        else ok = false;
        if (ok)
            bag.take(QStringLiteral("StretchMode"));
    }
    if (auto k = bag.value(QStringLiteral("DisplayFormat.Kind"))) {
        ok = true;
        if (*k == QLatin1String("fkText")) displayFormat.kind = DisplayFormat::Kind::Text;
        else if (*k == QLatin1String("fkNumeric")) displayFormat.kind = DisplayFormat::Kind::Numeric;
        else if (*k == QLatin1String("fkDateTime")) displayFormat.kind = DisplayFormat::Kind::DateTime;
        else if (*k == QLatin1String("fkBoolean")) displayFormat.kind = DisplayFormat::Kind::Boolean;
        else ok = false;
        if (ok)
            bag.take(QStringLiteral("DisplayFormat.Kind"));
    }
    displayFormat.formatStr = bag.takeString(QStringLiteral("DisplayFormat.FormatStr"));
    displayFormat.decimalSeparator = bag.takeString(QStringLiteral("DisplayFormat.DecimalSeparator"));
    hideZeros = bag.takeBool(QStringLiteral("HideZeros"), false);
    gapX = bag.takeReal(QStringLiteral("GapX"), gapX);
    gapY = bag.takeReal(QStringLiteral("GapY"), gapY);
    lineSpacing = bag.takeReal(QStringLiteral("LineSpacing"), lineSpacing);
    rotation = bag.takeInt(QStringLiteral("Rotation"), 0);
    autoWidth = bag.takeBool(QStringLiteral("AutoWidth"), false);
    allowExpressions = bag.takeBool(QStringLiteral("AllowExpressions"), true);
    allowHtmlTags = bag.takeBool(QStringLiteral("AllowHTMLTags"), false);
    clipped = bag.takeBool(QStringLiteral("Clipped"), true);
    highlight.condition = bag.takeString(QStringLiteral("Highlight.Condition"));
    highlight.fillColor = bag.takeColor(QStringLiteral("Highlight.Color"), kColorNone);
    View::readFont(bag, QStringLiteral("Highlight.Font"), highlight.font);
    styleName = bag.takeString(QStringLiteral("Style"));
    dataSetName = bag.takeString(QStringLiteral("DataSetName"));
    dataSetComponent = bag.takeString(QStringLiteral("DataSet"));
    dataField = bag.takeString(QStringLiteral("DataField"));
}

void MemoView::writeAttributes(AttributeBag& out) const
{
    View::writeAttributes(out);
    if (autoWidth)
        out.putBool(QStringLiteral("AutoWidth"), true);
    if (!allowExpressions)
        out.putBool(QStringLiteral("AllowExpressions"), false);
    if (allowHtmlTags)
        out.putBool(QStringLiteral("AllowHTMLTags"), true);
    if (!clipped)
        out.putBool(QStringLiteral("Clipped"), false);
    if (!dataField.isEmpty())
        out.putString(QStringLiteral("DataField"), dataField);
    if (!dataSetComponent.isEmpty())
        out.putString(QStringLiteral("DataSet"), dataSetComponent);
    if (!dataSetName.isEmpty())
        out.putString(QStringLiteral("DataSetName"), dataSetName);
    static const char* const kinds[] = {"fkText", "fkNumeric", "fkDateTime", "fkBoolean"};
    if (displayFormat.kind != DisplayFormat::Kind::Text)
        out.putString(QStringLiteral("DisplayFormat.Kind"), QLatin1String(kinds[int(displayFormat.kind)]));
    if (!displayFormat.decimalSeparator.isEmpty())
        out.putString(QStringLiteral("DisplayFormat.DecimalSeparator"), displayFormat.decimalSeparator);
    if (!displayFormat.formatStr.isEmpty())
        out.putString(QStringLiteral("DisplayFormat.FormatStr"), displayFormat.formatStr);
    if (!parentFont || font != Font())
        View::writeFont(out, QStringLiteral("Font"), font, Font{QStringLiteral("\x01")});
    if (gapX != 2)
        out.putReal(QStringLiteral("GapX"), gapX);
    if (gapY != 1)
        out.putReal(QStringLiteral("GapY"), gapY);
    static const char* const hAligns[] = {"haLeft", "haCenter", "haRight", "haBlock"};
    if (hAlign != HAlign::Left)
        out.putString(QStringLiteral("HAlign"), QLatin1String(hAligns[int(hAlign)]));
    if (hideZeros)
        out.putBool(QStringLiteral("HideZeros"), true);
    if (!highlight.condition.isEmpty())
        out.putString(QStringLiteral("Highlight.Condition"), highlight.condition);
    if (highlight.fillColor != kColorNone)
        out.putInt(QStringLiteral("Highlight.Color"), highlight.fillColor);
    View::writeFont(out, QStringLiteral("Highlight.Font"), highlight.font, Highlight().font);
    if (lineSpacing != 2)
        out.putReal(QStringLiteral("LineSpacing"), lineSpacing);
    if (!parentFont)
        out.putBool(QStringLiteral("ParentFont"), false);
    if (rotation != 0)
        out.putInt(QStringLiteral("Rotation"), rotation);
    static const char* const stretch[] = {"smDontStretch", "smActualHeight", "smMaxHeight"};
    if (stretchMode != StretchMode::DontStretch)
        out.putString(QStringLiteral("StretchMode"), QLatin1String(stretch[int(stretchMode)]));
    if (!styleName.isEmpty())
        out.putString(QStringLiteral("Style"), styleName);
    out.putString(QStringLiteral("Text"), text);
    static const char* const vAligns[] = {"vaTop", "vaCenter", "vaBottom"};
    if (vAlign != VAlign::Top)
        out.putString(QStringLiteral("VAlign"), QLatin1String(vAligns[int(vAlign)]));
    if (!wordWrap)
        out.putBool(QStringLiteral("WordWrap"), false);
}

} // namespace tarvex::engine
