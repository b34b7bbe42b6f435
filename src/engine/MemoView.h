#pragma once
// A text object: static text with [expression] parts, frame, fill, font and formatting.

#include "View.h"

namespace tarvex::engine {

enum class StretchMode { DontStretch, ActualHeight, MaxHeight };

/// How values of [expressions] in a memo are written.
struct DisplayFormat {
    enum class Kind { Text, Numeric, DateTime, Boolean };
    Kind kind = Kind::Text;
    QString formatStr;           ///< "%2.2n", "dd/mm/yyyy", "No,Yes"
    QString decimalSeparator;    ///< empty: the engine's default
    bool operator==(const DisplayFormat&) const = default;
};

/// Conditional look: when `condition` is true the memo takes `font` and `fillColor`.
struct Highlight {
    QString condition;
    FrColor fillColor = kColorNone;
    Font font{QStringLiteral("Arial"), -13, 0, 255, 1};
};

class MemoView : public View {
public:
    explicit MemoView(const QString& typeName = QStringLiteral("TfrxMemoView"));

    QString text;               ///< lines separated by "\r\n"
    Font font;
    bool parentFont = true;     ///< take the band's font instead of `font`
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool wordWrap = true;
    StretchMode stretchMode = StretchMode::DontStretch;
    DisplayFormat displayFormat;
    bool hideZeros = false;
    double gapX = 2;            ///< inner horizontal padding, report units
    double gapY = 1;
    double lineSpacing = 2;     ///< extra space between lines, report units
    int rotation = 0;           ///< degrees: 0, 90, 180, 270
    bool autoWidth = false;
    bool allowExpressions = true;
    bool allowHtmlTags = false; ///< the text carries simple HTML tags (<b>, <font ...>); they are not printed
    bool clipped = true;
    Highlight highlight;
    QString styleName;
    QString dataSetName;        ///< with dataField: the value shown when the text is empty
    QString dataSetComponent;
    QString dataField;

    /// True for TfrxSysMemoView.
    bool isSystemMemo() const { return typeName() == QLatin1String("TfrxSysMemoView"); }

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;
};

} // namespace tarvex::engine
