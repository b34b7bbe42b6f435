// The expression language: operators, functions, formats, errors.

#include "EngineTestSupport.h"
#include "Expression.h"
#include "Formatting.h"

#include <gtest/gtest.h>

#include <QHash>

using namespace tarvex::engine;

namespace {

class MapContext : public ExpressionContext {
public:
    QHash<QString, Value> vars;
    std::optional<Value> variable(const QString& name) override
    {
        auto it = vars.constFind(name.toLower());
        if (it == vars.constEnd())
            return std::nullopt;
        return *it;
    }
    std::optional<Value> field(const QString& ds, const QString& f) override
    {
        if (ds == QLatin1String("Peaks") && f == QLatin1String("Area"))
            return Value(12.5);
        return std::nullopt;
    }
};

QString eval(const QString& text, QString* error = nullptr)
{
    MapContext ctx;
    ctx.vars.insert(QStringLiteral("line"), Value(qint64(4)));
    ctx.vars.insert(QStringLiteral("line#"), Value(qint64(4)));
    ctx.vars.insert(QStringLiteral("sznamechrom"), Value(QStringLiteral("Кристалл")));
    ctx.vars.insert(QStringLiteral("d"), Value(2.5));
    QString err;
    const Expression e = Expression::parse(text, &err);
    const Value v = e.evaluate(ctx, &err);
    if (error)
        *error = err;
    EXPECT_TRUE(err.isEmpty()) << text.toStdString() << ": " << err.toStdString();
    return v.toString();
}

} // namespace

TEST(Expression, EvaluatesWhatTemplatesUse)
{
    const struct {
        const char* expr;
        const char* expected;
    } cases[] = {
        {"1 + 2 * 3", "7"},
        {"(1 + 2) * 3", "9"},
        {"7 / 2", "3.5"},
        {"7 div 2", "3"},
        {"<Line> mod 2 = 0", "True"},
        {"<Line#> mod 2 = 1", "False"},
        {"'It''s' + ' ' + 'ok'", "It's ok"},
        {"szNameChrom + '!'", "Кристалл!"},
        {"IIF(d > 2, 'big', 'small')", "big"},
        {"IIF(d > 2 and not (d > 3), 1, 0)", "1"},
        {"(1 = 1) or (1 / 0 = 0)", "True"},
        {"IntToStr(42) + 'x'", "42x"},
        {"FormatFloat('0.00', 3.14159)", "3.14"},
        {"FormatFloat('#,##0.0', 1234567.89)", "1,234,567.9"},
        {"FormatFloat('0.00E+00', 12345)", "1.23E+04"},
        {"Round(2.5) + Round(3.5)", "6"},
        {"Length('абв')", "3"},
        {"FormatDateTime('dd/mm/yyyy hh:nn', 15.03.2024)", "15/03/2024 00:00"},
        {"DateToStr(01.02.2023)", "01.02.2023"},
        {"<Peaks.\"Area\"> * 2", "25"},
        {"Peaks.\"Area\"", "12.5"},
        {"-d + 1", "-1.5"},
        {"#65#66", "AB"},
        {"$FF", "255"},
        {"'a' < 'b'", "True"},
        {"Copy('chromatogram', 1, 6)", "chroma"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expr)), QString::fromUtf8(c.expected)) << c.expr;
}

TEST(Expression, FailuresAreReportedNotThrown)
{
    const char* bad[] = {"1 +", "'unterminated", "Unknown + 1", "1 / 0", "(((1)", "IntToStr('x')",
                         "NoSuchFunction(1)", "1 mod 0", "<Peaks.\"Height\">", ""};
    MapContext ctx;
    for (const char* b : bad) {
        QString err;
        const Expression e = Expression::parse(QString::fromUtf8(b), &err);
        const Value v = e.evaluate(ctx, &err);
        EXPECT_FALSE(err.isEmpty()) << b;
        EXPECT_TRUE(v.isNull()) << b;
    }
    // Nesting and chains far beyond real templates are refused, not followed into a stack overflow.
    QString err;
    EXPECT_FALSE(Expression::parse(QString(5000, QLatin1Char('(')) + QStringLiteral("1"), &err).isValid());
    QString chain = QStringLiteral("1");
    for (int i = 0; i < 20000; ++i)
        chain += QStringLiteral("+1");
    EXPECT_FALSE(Expression::parse(chain, &err).isValid());
    EXPECT_FALSE(err.isEmpty());
}

TEST(Expression, QuotedTextRoundTrips)
{
    const QString text = QStringLiteral("O'Brien's \"peak\"");
    EXPECT_EQ(eval(quoteText(text)), text);
}

TEST(Formatting, PercentFormats)
{
    NumberSeparators comma{QLatin1Char(','), QLatin1Char(' ')};
    EXPECT_EQ(formatPercent(QStringLiteral("%2.2n"), Value(1234.567)), QStringLiteral("1,234.57"));
    EXPECT_EQ(formatPercent(QStringLiteral("%2.2f"), Value(-0.126), comma), QStringLiteral("-0,13"));
    EXPECT_EQ(formatPercent(QStringLiteral("%d pcs"), Value(7.0)), QStringLiteral("7 pcs"));
    EXPECT_EQ(formatPercent(QStringLiteral("%.3e"), Value(0.000123)), QStringLiteral("1.23E-04"));
    EXPECT_EQ(formatFloat(QStringLiteral("00.00"), 2.5), QStringLiteral("02.50"));
    EXPECT_EQ(formatFloat(QStringLiteral("0.##;(0.##);zero"), -1.5), QStringLiteral("(1.5)"));
    EXPECT_EQ(formatFloat(QStringLiteral("0.##;(0.##);zero"), 0.0), QStringLiteral("zero"));
}
