// Text of memos and rich-text objects: line breaking, justified lines, tab-separated columns and RTF.

#include "EngineTestSupport.h"

#include "Render.h"
#include "RichView.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace tarvex::engine;
using enginetest::templateXml;

namespace {

std::vector<TextItem> textItems(const PreparedReport& p)
{
    std::vector<TextItem> out;
    for (const auto& page : p.pages)
        for (const auto& e : page.elements)
            if (const auto* t = std::get_if<TextItem>(&e.item))
                out.push_back(*t);
    return out;
}

const TextItem* itemWith(const std::vector<TextItem>& items, const QString& text)
{
    for (const TextItem& t : items)
        if (t.lines.join(QLatin1Char('\n')).trimmed() == text)
            return &t;
    return nullptr;
}

// Prepares a stretching rich-text object 700 units wide holding `content`.
PreparedReport prepareRich(Report& r, const QString& content)
{
    enginetest::load(r, templateXml(QStringLiteral(
        "<TfrxMasterData Name=\"B\" Top=\"0\" Height=\"20\" Width=\"700\" RowCount=\"1\" Stretched=\"True\">"
        "<TfrxRichView Name=\"Rich1\" Left=\"0\" Top=\"0\" Width=\"700\" Height=\"20\" StretchMode=\"smActualHeight\"/>"
        "</TfrxMasterData>")));
    r.findObject<RichView>(QStringLiteral("Rich1"))->richText = content;
    return enginetest::prepare(r);
}

} // namespace

TEST(Text, LongWordsBreakAtPunctuationBeforeBreakingInside)
{
    struct Case {
        const char* text;
        double width;
        QStringList lines;
    };
    const Case cases[] = {
        {"Площадь,мв*мин", 80, {QStringLiteral("Площадь,"), QStringLiteral("мв*мин")}},
        {"Время,мин", 50, {QStringLiteral("Время,"), QStringLiteral("мин")}},
        {"C1-C6/C7", 40, {QStringLiteral("C1-C6/"), QStringLiteral("C7")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Report r;
        enginetest::load(r, templateXml(QStringLiteral(
            "<TfrxReportTitle Name=\"T\" Top=\"0\" Height=\"60\" Width=\"700\">"
            "<TfrxMemoView Name=\"M\" Left=\"0\" Top=\"0\" Width=\"%1\" Height=\"60\" Font.Name=\"Liberation Sans\" Font.Height=\"-11\" Text=\"%2\"/>"
            "</TfrxReportTitle>").arg(c.width).arg(QString::fromUtf8(c.text))));
        const auto items = textItems(enginetest::prepare(r));
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(items[0].lines, c.lines);
    }
    // A word without such places still breaks between characters and loses nothing.
    Report r;
    enginetest::load(r, templateXml(QStringLiteral(
        "<TfrxReportTitle Name=\"T\" Top=\"0\" Height=\"60\" Width=\"700\">"
        "<TfrxMemoView Name=\"M\" Left=\"0\" Top=\"0\" Width=\"30\" Height=\"60\" Text=\"Abcdefghijklmnop\"/></TfrxReportTitle>")));
    const auto items = textItems(enginetest::prepare(r));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_GT(items[0].lines.size(), 1);
    EXPECT_EQ(items[0].lines.join(QString()), QStringLiteral("Abcdefghijklmnop"));
}

TEST(Text, JustifiedLinesReachTheRightEdgeButTheLastLineDoesNot)
{
    // Rightmost dark column in the rows of each line of a 300-unit memo drawn at 96 dpi.
    auto lineEnds = [](const QString& align) {
        Report r;
        enginetest::load(r, templateXml(QStringLiteral(
            "<TfrxReportTitle Name=\"T\" Top=\"0\" Height=\"200\" Width=\"700\">"
            "<TfrxMemoView Name=\"M\" Left=\"0\" Top=\"0\" Width=\"300\" Height=\"200\" GapX=\"2\" GapY=\"0\" HAlign=\"%1\" "
            "Text=\"the quick brown fox jumps over the lazy dog and keeps running far away from here until the night comes "
            "and the moon rises over the quiet hills where nobody walks\"/>"
            "</TfrxReportTitle>").arg(align)));
        const PreparedReport p = enginetest::prepare(r);
        std::vector<int> ends;
        const auto items = textItems(p);
        if (items.size() != 1 || p.pageCount() != 1)
            return ends;
        const TextItem& t = items[0];
        QImage img(p.pages[0].size.toSize(), QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter painter(&img);
            render(p.pages[0], painter);
        }
        for (qsizetype l = 0; l < t.lines.size(); ++l) {
            const int top = int(t.rect.top() + t.gapY + l * t.lineHeight) + 2;
            const int bottom = int(t.rect.top() + t.gapY + (l + 1) * t.lineHeight) - 2;
            int right = -1;
            for (int y = top; y <= bottom; ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (qGray(img.pixel(x, y)) < 128)
                        right = std::max(right, x);
            ends.push_back(right - int(t.rect.left()));
        }
        return ends;
    };
    const std::vector<int> justified = lineEnds(QStringLiteral("haBlock"));
    const std::vector<int> left = lineEnds(QStringLiteral("haLeft"));
    ASSERT_GE(justified.size(), 3u);
    ASSERT_EQ(justified.size(), left.size());
    for (size_t i = 0; i + 1 < justified.size(); ++i) {
        EXPECT_GE(justified[i], 300 - 2 - 3) << "line " << i + 1;
        EXPECT_LE(justified[i], 300 - 2 + 1) << "line " << i + 1;
    }
    EXPECT_EQ(justified.back(), left.back());
    EXPECT_LT(*std::min_element(left.begin(), left.end() - 1), 300 - 2 - 6); // the ragged edge the test relies on
}

TEST(RichText, TabSeparatedLinesPrintAsAlignedColumns)
{
    Report r;
    const PreparedReport p = prepareRich(r, QStringLiteral(
        "Показатель\tЗначение\tЕд.изм.\r\nПлотность при 20 °C\t0.7123\tкг/м3\r\nОтносительная плотность\t0.5913\r\n"
        "Теплота сгорания высшая\t37.85\tМДж/м3\r\nИтог без табуляции"));
    const auto items = textItems(p);
    for (const TextItem& t : items)
        EXPECT_FALSE(t.lines.join(QString()).contains(QLatin1Char('\t')));
    const TextItem* widest = itemWith(items, QStringLiteral("Теплота сгорания высшая"));
    ASSERT_NE(widest, nullptr);
    const QStringList second{QStringLiteral("Значение"), QStringLiteral("0.7123"), QStringLiteral("0.5913"), QStringLiteral("37.85")};
    const QStringList third{QStringLiteral("Ед.изм."), QStringLiteral("кг/м3"), QStringLiteral("МДж/м3")};
    double x2 = -1, x3 = -1;
    for (const QString& s : second) {
        const TextItem* t = itemWith(items, s);
        ASSERT_NE(t, nullptr) << s.toStdString();
        if (x2 < 0)
            x2 = t->rect.left();
        EXPECT_NEAR(t->rect.left(), x2, 0.01) << s.toStdString();
        EXPECT_GT(t->rect.left(), widest->rect.right());
    }
    for (const QString& s : third) {
        const TextItem* t = itemWith(items, s);
        ASSERT_NE(t, nullptr) << s.toStdString();
        if (x3 < 0)
            x3 = t->rect.left();
        EXPECT_NEAR(t->rect.left(), x3, 0.01) << s.toStdString();
        EXPECT_GT(t->rect.left(), itemWith(items, QStringLiteral("Значение"))->rect.right());
    }
    // Five lines one under another; the object grew to hold them.
    const TextItem* last = itemWith(items, QStringLiteral("Итог без табуляции"));
    ASSERT_NE(last, nullptr);
    EXPECT_NEAR(last->rect.top() - itemWith(items, QStringLiteral("Показатель"))->rect.top(), 4 * last->lineHeight, 0.5);
}

TEST(RichText, RtfPrintsItsTextWithFormattingNotItsControlWords)
{
    Report r;
    const PreparedReport p = prepareRich(r, QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
        "{\\*\\generator Msftedit 5.41;}\\viewkind4\\uc1\\pard\\f0\\fs20 "
        "\\b \\'cf\\'eb\\'ee\\'f2\\'ed\\'ee\\'f1\\'f2\\'fc\\b0  \\i kg\\i0\\tab 0.71\\par "
        "\\qc{\\fs36 Big}\\par\\pard "
        "\\trowd\\cellx2000\\cellx4000\\intbl A1\\cell B1\\cell\\row\\intbl A2 long\\cell B2\\cell\\row "
        "\\u1044?\\u1078?}"));
    const auto items = textItems(p);
    QStringList texts;
    for (const TextItem& t : items)
        texts << t.lines.join(QString());
    for (const QString& t : texts) {
        EXPECT_FALSE(t.contains(QLatin1Char('\\'))) << t.toStdString();
        EXPECT_FALSE(t.contains(QLatin1Char('{'))) << t.toStdString();
    }
    const TextItem* bold = itemWith(items, QStringLiteral("Плотность"));
    ASSERT_NE(bold, nullptr);
    EXPECT_TRUE(bold->font.style & Font::Bold);
    const TextItem* italic = itemWith(items, QStringLiteral("kg"));
    ASSERT_NE(italic, nullptr);
    EXPECT_EQ(italic->font.style, int(Font::Italic));
    const TextItem* big = itemWith(items, QStringLiteral("Big"));
    ASSERT_NE(big, nullptr);
    EXPECT_NEAR(big->font.pixelSize, 24, 0.01); // 18 pt
    EXPECT_GT(big->rect.left(), 200);          // centred
    // Table cells line up like tab-separated columns.
    const TextItem* b1 = itemWith(items, QStringLiteral("B1"));
    const TextItem* b2 = itemWith(items, QStringLiteral("B2"));
    ASSERT_NE(b1, nullptr);
    ASSERT_NE(b2, nullptr);
    EXPECT_NEAR(b1->rect.left(), b2->rect.left(), 0.01);
    EXPECT_GT(b1->rect.left(), itemWith(items, QStringLiteral("A2 long"))->rect.right());
    EXPECT_TRUE(texts.contains(QStringLiteral("Дж")));
    EXPECT_EQ(rtfToPlainText(QStringLiteral("{\\rtf1 a\\tab b\\par\\intbl c\\cell d\\cell\\row}")), QStringLiteral("a\tb\nc\td"));
}

TEST(RichText, DamagedRtfNeitherCrashesNorPrintsControlWords)
{
    const QString cases[] = {
        QStringLiteral("{\\rtf1 ") + QString(1000, QLatin1Char('{')) + QStringLiteral("\\b x") + QString(1000, QLatin1Char('}')) + QStringLiteral(" y}"),
        QStringLiteral("{\\rtf1 ") + QString(100000, QLatin1Char('{')) + QStringLiteral("x"),
        QStringLiteral("{\\rtf1 \\u-99999999999999999999? \\fs99999999999 big \\'zz \\'4"),
        QStringLiteral("{\\rtf1 \\") ,
        QStringLiteral("{\\rtf1 \\uc99999999 \\u1044") + QString(5000, QLatin1Char('a')),
        QStringLiteral("{\\rtf1 \\") + QString(5000, QLatin1Char('x')) + QStringLiteral(" tail}"),
        QStringLiteral("{\\rtf1 }}}}}}} after \\cell\\cell\\row\\row}"),
    };
    for (const QString& c : cases) {
        SCOPED_TRACE(c.left(40).toStdString());
        Report r;
        const PreparedReport p = prepareRich(r, c);
        EXPECT_EQ(p.pageCount(), 1);
        for (const TextItem& t : textItems(p))
            EXPECT_FALSE(t.lines.join(QString()).contains(QLatin1Char('\\')));
    }
}
