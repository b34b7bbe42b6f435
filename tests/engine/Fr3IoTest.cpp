// Reading and writing .fr3 templates: model, errors with line and column, lossless round trip.

#include "EngineTestSupport.h"

#include "Band.h"
#include "MemoView.h"
#include "PictureView.h"
#include "Report.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace tarvex::engine;
using enginetest::templateXml;

TEST(Fr3Reader, ReadsModelAttributes)
{
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxMasterData Name=\"MasterData1\" Height=\"18,9\" Left=\"0\" Top=\"50\" Width=\"718\" "
                       "DataSet=\"ds\" DataSetName=\"Пики\" Stretched=\"True\" Child=\"Child1\">"
                       "<TfrxMemoView Name=\"Memo1\" Left=\"10.5\" Top=\"0\" Width=\"100\" Height=\"18\" "
                       "Font.Height=\"-16\" Font.Style=\"3\" Font.Name=\"Times New Roman\" Font.Color=\"255\" ParentFont=\"False\" "
                       "HAlign=\"haRight\" VAlign=\"vaCenter\" Frame.Typ=\"15\" Frame.Width=\"2\" Color=\"15000804\" "
                       "StretchMode=\"smActualHeight\" DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.2n\" "
                       "Highlight.Condition=\"&lt;Line&gt; mod 2 = 0\" Text=\"a&#13;&#10;b\"/></TfrxMasterData>"),
        QStringLiteral("<Variables><item Name=\" Шум\"/><item Name=\"szNameChrom\" Value=\"'Кристалл'\"/></Variables>")));
    auto* band = r.findObject<Band>(QStringLiteral("MasterData1"));
    ASSERT_TRUE(band);
    EXPECT_EQ(band->bandKind(), BandKind::MasterData);
    EXPECT_EQ(band->boundDataSetName(), QStringLiteral("Пики"));
    EXPECT_DOUBLE_EQ(band->height, 18.9);
    EXPECT_TRUE(band->stretched);
    EXPECT_EQ(band->childName, QStringLiteral("Child1"));
    auto* memo = r.findObject<MemoView>(QStringLiteral("Memo1"));
    ASSERT_TRUE(memo);
    EXPECT_DOUBLE_EQ(memo->left, 10.5);
    EXPECT_EQ(memo->text, QStringLiteral("a\r\nb"));
    EXPECT_EQ(memo->font.name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(memo->font.height, -16);
    EXPECT_EQ(memo->font.style, Font::Bold | Font::Italic);
    EXPECT_EQ(memo->font.color, 255);
    EXPECT_FALSE(memo->parentFont);
    EXPECT_EQ(memo->hAlign, HAlign::Right);
    EXPECT_EQ(memo->vAlign, VAlign::Center);
    EXPECT_EQ(memo->frame.sides, Frame::All);
    EXPECT_EQ(memo->frame.width, 2);
    EXPECT_EQ(memo->fillColor, 15000804);
    EXPECT_EQ(memo->stretchMode, StretchMode::ActualHeight);
    EXPECT_EQ(memo->displayFormat.kind, DisplayFormat::Kind::Numeric);
    EXPECT_EQ(memo->highlight.condition, QStringLiteral("<Line> mod 2 = 0"));
    ASSERT_TRUE(r.variables().expression(QStringLiteral("SZNAMECHROM")));
    EXPECT_EQ(*r.variables().expression(QStringLiteral("szNameChrom")), QStringLiteral("'Кристалл'"));
    EXPECT_EQ(r.variables().namesInCategory(QStringLiteral("Шум")), QStringList{QStringLiteral("szNameChrom")});
}

TEST(Fr3Reader, MalformedInputGivesLineAndColumn)
{
    const struct {
        QByteArray xml;
        int line;
        int column;
    } cases[] = {
        {QByteArray("<?xml version=\"1.0\"?>\n<TfrxReport>\n  <TfrxReportPage Name=\"P\">\n</TfrxReport>\n"), 4, 13},
        {QByteArray("<TfrxReport>\n<TfrxReportPage Name=\"P\" Width=\"1/>\n</TfrxReport>"), 0, 0},
        {QByteArray("<Other/>"), 1, 8},
        {QByteArray(""), 0, 0},
    };
    for (const auto& c : cases) {
        Report r;
        LoadError e;
        EXPECT_FALSE(r.loadFromData(c.xml, &e)) << c.xml.constData();
        EXPECT_FALSE(e.message.isEmpty());
        if (c.line > 0) {
            EXPECT_EQ(e.line, c.line) << e.toString().toStdString();
            EXPECT_EQ(e.column, c.column) << e.toString().toStdString();
        }
        EXPECT_TRUE(r.pages().empty());
    }
    // A truncated template reports where it ended.
    Report r;
    LoadError e;
    QByteArray good = templateXml(QStringLiteral("<TfrxReportTitle Name=\"T\" Height=\"20\"/>"));
    EXPECT_FALSE(r.loadFromData(good.left(good.size() - 30), &e));
    EXPECT_GT(e.line, 1);
    EXPECT_FALSE(r.load(QStringLiteral("/nonexistent/x.fr3"), &e));
    EXPECT_TRUE(e.message.contains(QStringLiteral("/nonexistent/x.fr3")));
}

TEST(Fr3Reader, InvalidUtf8FallsBackToWindows1251)
{
    QByteArray xml = templateXml(QStringLiteral("<TfrxReportTitle Name=\"T\" Height=\"20\">"
                                                "<TfrxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"XX\"/></TfrxReportTitle>"));
    xml.replace("Text=\"XX\"", "Text=\"\xcf\xe8\xea\xe8 \xd0\x9f\"");
    Report r;
    enginetest::load(r, xml);
    auto* m = r.findObject<MemoView>(QStringLiteral("M"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text, QStringLiteral("Пики П")); // 1251 bytes, then a valid UTF-8 letter
}

TEST(Fr3Writer, RoundTripKeepsUnknownAttributesAndChanges)
{
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxPageFooter Name=\"PF\" Height=\"20\" Top=\"900\" Width=\"700\" Left=\"0\" FillGap.Top=\"0\" Unknown.Thing=\"x&amp;y\">"
                       "<TfrxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"[Page#] of [TotalPages#]&#13;&#10;'q'\" AllowVectorExport=\"True\">"
                       "<Formats><item/></Formats></TfrxMemoView>"
                       "<TfrxBarCodeView Name=\"B\" Left=\"200\" Width=\"80\" Height=\"20\" BarType=\"bcCode39\"/>"
                       "<TfrxPictureView Name=\"Pic\" Width=\"40\" Height=\"30\"/></TfrxPageFooter>"),
        QStringLiteral("<Datasets><item DataSet=\"a\" DataSetName=\"A\"/></Datasets>")));
    r.setVariable(QStringLiteral("Added"), QStringLiteral("'new'"));
    r.findObject<MemoView>(QStringLiteral("M"))->width = 123.5;
    r.findObject<PictureView>(QStringLiteral("Pic"))->picture = img;
    const QByteArray saved = r.saveToData();

    Report again;
    enginetest::load(again, saved);
    auto* pf = again.findObject(QStringLiteral("PF"));
    ASSERT_TRUE(pf);
    EXPECT_EQ(pf->extra.value(QStringLiteral("Unknown.Thing")).value_or(QString()), QStringLiteral("x&y"));
    auto* m = again.findObject<MemoView>(QStringLiteral("M"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text, QStringLiteral("[Page#] of [TotalPages#]\r\n'q'"));
    EXPECT_DOUBLE_EQ(m->width, 123.5);
    EXPECT_EQ(m->extra.value(QStringLiteral("AllowVectorExport")).value_or(QString()), QStringLiteral("True"));
    ASSERT_EQ(m->children().size(), 1u);
    EXPECT_EQ(m->children()[0]->typeName(), QStringLiteral("Formats"));
    auto* b = again.findObject(QStringLiteral("B"));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->extra.value(QStringLiteral("BarType")).value_or(QString()), QStringLiteral("bcCode39"));
    EXPECT_EQ(*again.variables().expression(QStringLiteral("Added")), QStringLiteral("'new'"));
    const QImage back = again.findObject<PictureView>(QStringLiteral("Pic"))->picture;
    ASSERT_EQ(back.size(), img.size());
    EXPECT_EQ(back.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_TRUE(saved.contains("<Datasets>"));
    // Writing the re-read template again gives the same bytes.
    EXPECT_EQ(again.saveToData(), saved);
}

TEST(Fr3Reader, PicturePropDataBitmap)
{
    // Picture.PropData: "Data" binary property holding the class name TBitmap, a size, then a BMP.
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 255));
    QByteArray bmp;
    QBuffer buf(&bmp);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    QByteArray blob;
    blob.append(char(7)).append("TBitmap");
    const quint32 n = quint32(bmp.size());
    for (int i = 0; i < 4; ++i)
        blob.append(char((n >> (8 * i)) & 0xFF));
    blob.append(bmp);
    QByteArray prop;
    prop.append(char(4)).append("Data").append(char(0x0A));
    const quint32 bn = quint32(blob.size());
    for (int i = 0; i < 4; ++i)
        prop.append(char((bn >> (8 * i)) & 0xFF));
    prop.append(blob).append(char(0));
    Report r;
    enginetest::load(r, templateXml(QStringLiteral("<TfrxReportTitle Name=\"T\" Height=\"40\"><TfrxPictureView Name=\"P\" Width=\"40\" "
                                                   "Height=\"40\" Picture.PropData=\"%1\"/></TfrxReportTitle>")
                                        .arg(QString::fromLatin1(prop.toHex()))));
    const QImage p = r.findObject<PictureView>(QStringLiteral("P"))->picture;
    ASSERT_EQ(p.size(), QSize(2, 2));
    EXPECT_EQ(p.pixelColor(0, 0), QColor(0, 0, 255));
    // A damaged stream gives no picture and no crash.
    Report d;
    enginetest::load(d, templateXml(QStringLiteral("<TfrxReportTitle Name=\"T\" Height=\"40\"><TfrxPictureView Name=\"P\" Width=\"40\" "
                                                   "Height=\"40\" Picture.PropData=\"%1\"/></TfrxReportTitle>")
                                        .arg(QString::fromLatin1(prop.left(30).toHex()))));
    EXPECT_TRUE(d.findObject<PictureView>(QStringLiteral("P"))->picture.isNull());
}
