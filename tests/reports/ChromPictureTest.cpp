// The chromatogram picture and CommonReport's before-print hook: rotation and framing, strips,
// the rich texts, the column widths of the cross tables, the band rules of export mode, and a
// small template prepared by the engine with the hook and the peak table's sources.

#include "ChromTablesFixture.h"

#include "Band.h"
#include "MemoView.h"
#include "PictureView.h"
#include "PreparedReport.h"
#include "RichView.h"

#include <QColor>
#include <QImage>

// The suite is named after the test program, so that `ctest -R chromtables` selects it.
using chromtables = chromtest::ChromTables;
using chromtest::num;
using chromtest::with;
using namespace tarvex::engine;

namespace {

QJsonObject pictureJob() {
    return {
        {QStringLiteral("chromatogram"), QJsonObject {{QStringLiteral("fChr_Rate"), 10},
                                                      {QStringLiteral("iChr_PeakLast"), QJsonArray {0}}}},
        {QStringLiteral("method"), QJsonObject {{QStringLiteral("bMeth_DetOn"), QJsonArray {1}},
                                                {QStringLiteral("bDet_PrintFlag"), QJsonArray {1}},
                                                {QStringLiteral("bPrn_AddCalc"), 1}}},
        {QStringLiteral("printSettings"), QJsonObject {{QStringLiteral("iPrint_Version"), 8}}},
        {QStringLiteral("peaks"), QJsonArray {QJsonObject {{QStringLiteral("fPeak_Time"), 1.5}}}},
        {QStringLiteral("comment"), QStringLiteral("Z\t0.998\r\nM\t16.04\tг/моль\r\n")},
        {QStringLiteral("picture"), false},
    };
}

// A picture whose every pixel tells its place: red = column, green = row.
QImage numbered(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 7));
    return image;
}

TEST_F(chromtables, PictureIsTurnedOnlyWhenWiderThanThePageAllows) {
    load(pictureJob());
    struct Case {
        int pageWidth, width;
        bool turned;
    };
    const Case cases[] = {{630, 650, false}, {630, 651, true}, {880, 900, false}, {880, 901, true}};
    for (const Case& c : cases) {
        data_->pageWidth = c.pageWidth;
        data_->chromPicture = numbered(c.width, 40);
        FitChromPicture(*data_);
        const QImage& p = data_->chromPicture;
        SCOPED_TRACE(c.width);
        if (c.turned) {
            ASSERT_EQ(p.size(), QSize(40, c.width));
            EXPECT_EQ(p.format(), QImage::Format_RGB888);
            // A quarter turn clockwise: new (x, y) is old (y, height - 1 - x).
            EXPECT_EQ(p.pixel(36, 5), qRgb(5, 3, 7));
            EXPECT_EQ(p.pixel(1, 200), qRgb(200, 38, 7));
        } else {
            ASSERT_EQ(p.size(), QSize(c.width, 40));
            EXPECT_EQ(p.pixel(5, 3), qRgb(5, 3, 7));
        }
        // A black frame on the outer pixels; the pixels inside it stay.
        for (const QPoint corner : {QPoint(0, 0), QPoint(p.width() - 1, 0), QPoint(0, p.height() - 1),
                                    QPoint(p.width() - 1, p.height() - 1), QPoint(p.width() / 2, 0)})
            EXPECT_EQ(p.pixel(corner), qRgb(0, 0, 0));
        EXPECT_NE(p.pixel(1, 1), qRgb(0, 0, 0));
    }
    data_->chromPicture = QImage();
    FitChromPicture(*data_); // no picture: nothing to fit
    EXPECT_TRUE(data_->chromPicture.isNull());
}

// A picture 95 rows high prints as four strips; the last holds five rows and 25 white ones.
TEST_F(chromtables, StripsCutThePictureIntoThirtyRowPieces) {
    load(pictureJob());
    useTemplate(QStringLiteral("<TfrxMasterData Name=\"MasterData1\" Height=\"30\" DataSetName=\"Части картинки\">"
                               "<TfrxPictureView Name=\"Picture1\" Width=\"600\" Height=\"30\"/></TfrxMasterData>"));
    data_->chromPicture = numbered(20, 95);
    auto* picture = data_->CommonReport().findObject<PictureView>(QStringLiteral("Picture1"));
    ASSERT_NE(picture, nullptr);
    for (int k = 0; k < 4; ++k) {
        data_->rowIndex(QStringLiteral("BitmapPartDataSet")) = k;
        CommonReportBeforePrint(*data_, *chrom_, *picture);
        const QImage& strip = picture->picture;
        ASSERT_EQ(strip.size(), QSize(20, 30)) << k;
        EXPECT_EQ(picture->width, 20);
        int white = 0;
        for (int y = 0; y < 30; ++y) {
            const int row = k * 30 + y;
            if (row < 95)
                EXPECT_EQ(strip.pixel(3, y), qRgb(3, row, 7)) << k << "/" << y;
            else if (strip.pixel(3, y) == qRgb(255, 255, 255) && strip.pixel(19, y) == qRgb(255, 255, 255))
                ++white;
        }
        EXPECT_EQ(white, k == 3 ? 25 : 0);
    }

    // The whole picture goes into Picture2 when the template has one.
    PutWholePicture(*data_); // none here: nothing happens
    useTemplate(QStringLiteral("<TfrxReportTitle Name=\"T\" Height=\"40\"><TfrxPictureView Name=\"Picture2\" "
                               "Width=\"40\" Height=\"30\"/></TfrxReportTitle>"));
    PutWholePicture(*data_);
    EXPECT_EQ(data_->CommonReport().findObject<PictureView>(QStringLiteral("Picture2"))->picture, data_->chromPicture);
}

TEST_F(chromtables, RichTextsOfHeaderFooterAndAdditionalCalculation) {
    struct Case {
        const char* name;
        const char* object;
        QJsonObject job;
        QString text;
        bool cleared;
    };
    const QJsonObject noAddCalc = with(pictureJob(), "method", "bPrn_AddCalc", 0);
    const QJsonObject headerOn = with(pictureJob(), "printSettings", "bPrint_HeaderFile", 1);
    const Case cases[] = {
        {"additional calculation off: template content stays", "Rich3", noAddCalc, QStringLiteral("template"), false},
        {"additional calculation text", "Rich3", pictureJob(), QStringLiteral("Z\t0.998\r\nM\t16.04\tг/моль\r\n"), false},
        {"additional calculation without text", "Rich3", with(pictureJob(), "comment", QString()), QString(), true},
        {"header file on", "Rich1", headerOn, QStringLiteral("Лаборатория №2"), false},
        {"header file off", "Rich1", pictureJob(), QString(), true},
        {"footer file on", "Rich2", with(pictureJob(), "printSettings", "bPrint_FooterFile", 1), QStringLiteral("Подпись"), false},
        {"footer file off", "Rich2", headerOn, QString(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load(c.job);
        useTemplate(QStringLiteral("<TfrxReportTitle Name=\"T\" Height=\"200\"><TfrxRichView Name=\"Rich1\" Width=\"300\" "
                                   "Height=\"40\"/><TfrxRichView Name=\"Rich2\" Top=\"50\" Width=\"300\" Height=\"40\"/>"
                                   "<TfrxRichView Name=\"Rich3\" Top=\"100\" Width=\"300\" Height=\"40\"/></TfrxReportTitle>"));
        data_->headerText = QStringLiteral("Лаборатория №2");
        data_->footerText = QStringLiteral("Подпись");
        auto* rich = data_->CommonReport().findObject<RichView>(QLatin1String(c.object));
        ASSERT_NE(rich, nullptr);
        rich->richText = QStringLiteral("template");
        rich->stretchMode = StretchMode::MaxHeight;
        CommonReportBeforePrint(*data_, *chrom_, *rich);
        EXPECT_EQ(rich->richText, c.text);
        if (c.cleared) {
            EXPECT_EQ(rich->stretchMode, StretchMode::DontStretch);
        }
        if (QLatin1String(c.object) == QLatin1String("Rich3") && !c.text.isEmpty() && c.text != QLatin1String("template")) {
            EXPECT_EQ(rich->font.charset, 204);
        }
    }
}

TEST_F(chromtables, ExportModeBandRules) {
    struct Case {
        bool exportFlag;
        int format;
        bool footerShown, headerReprinted;
    };
    const Case cases[] = {
        {false, 3, true, true}, // printing: bands as the template has them
        {true, 6, true, true},  // PDF keeps the page footer
        {true, 4, true, true},  // so do the picture formats
        {true, 3, false, true}, // HTML does not
        {true, 0, false, true},
        {true, 1, false, false}, // the spreadsheet formats print the table header once
        {true, 2, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        load(with(pictureJob(), "printSettings", "bExport_Format", c.format));
        useTemplate(QStringLiteral("<TfrxHeader Name=\"Header1\" Height=\"20\" ReprintOnNewPage=\"True\"/>"
                                   "<TfrxPageFooter Name=\"PageFooter1\" Top=\"900\" Height=\"20\"/>"
                                   "<TfrxHeader Name=\"Header11\" Height=\"20\" ReprintOnNewPage=\"True\"/>"));
        data_->exportFlag = c.exportFlag;
        for (const char* name : {"Header1", "PageFooter1", "Header11"})
            CommonReportBeforePrint(*data_, *chrom_, *data_->CommonReport().findObject(QLatin1String(name)));
        EXPECT_EQ(data_->CommonReport().findObject<Band>(QStringLiteral("PageFooter1"))->visible, c.footerShown);
        EXPECT_EQ(data_->CommonReport().findObject<Band>(QStringLiteral("Header1"))->reprintOnNewPage, c.headerReprinted);
        // The method report's detector header is not one of these bands.
        EXPECT_TRUE(data_->CommonReport().findObject<Band>(QStringLiteral("Header11"))->reprintOnNewPage);
    }
}

TEST_F(chromtables, ColumnObjectsTakeTheWidthOfTheCurrentColumn) {
    load(pictureJob());
    useTemplate(QStringLiteral(
        "<TfrxMasterData Name=\"MasterData56\" Height=\"20\" Width=\"60\" Vertical=\"True\"/>"
        "<TfrxMasterData Name=\"MasterData2\" Top=\"40\" Height=\"20\" Width=\"600\">"
        "<TfrxMemoView Name=\"Memo273\" Width=\"60\" Height=\"18\"/><TfrxMemoView Name=\"Memo282\" Width=\"60\" Height=\"18\"/>"
        "<TfrxMemoView Name=\"Memo285\" Width=\"60\" Height=\"18\"/><TfrxMemoView Name=\"Memo288\" Width=\"60\" Height=\"18\"/>"
        "<TfrxMemoView Name=\"Memo671\" Width=\"60\" Height=\"18\"/><TfrxMemoView Name=\"Memo5\" Width=\"60\" Height=\"18\"/>"
        "</TfrxMasterData>"));
    for (std::size_t i = 0; i < data_->columnWidths.size(); ++i)
        data_->columnWidths[i] = 100 + static_cast<int>(i);
    data_->columnWidths[3] = 0;
    struct Case {
        const char* object;
        const char* source;
        int column;
        int width;
    };
    const Case cases[] = {
        {"Memo273", "ChromPeakColumns", 2, 102},
        {"Memo273", "ChromPeakColumns", 3, 0}, // a column switched off is not printed
        {"Memo273", "ChromPeakColumns", 13, 0}, // nor one past the table
        {"MasterData56", "ChromIdentColumn", 2, 114},
        {"Memo282", "ChromGroupColumn", 10, 132},
        {"Memo282", "ChromGroupColumn", 0, 0},
        {"Memo285", "JournalColumn", 4, 136},
        {"Memo288", "CompStatColumn", 14, 150},
        {"Memo671", "AddCalcExcelColumnDataSet", 0, 210}, // 630 shared by the text's three columns
        {"Memo5", "ChromPeakColumns", 3, 60},             // other objects keep their width
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object);
        data_->rowIndex(QLatin1String(c.source)) = c.column;
        Object* object = data_->CommonReport().findObject(QLatin1String(c.object));
        ASSERT_NE(object, nullptr);
        object->width = 60;
        object->visible = true;
        object->printable = true;
        CommonReportBeforePrint(*data_, *chrom_, *object);
        EXPECT_EQ(object->width, c.width);
        EXPECT_EQ(object->visible, c.width > 0);
        if (dynamic_cast<MemoView*>(object)) {
            EXPECT_EQ(object->printable, c.width > 0);
        }
    }
    data_->pageWidth = 880;
    Object* memo671 = data_->CommonReport().findObject(QStringLiteral("Memo671"));
    CommonReportBeforePrint(*data_, *chrom_, *memo671);
    EXPECT_EQ(memo671->width, 294); // 880 / 3 rounded up

    // The common adjustment runs first; in design mode nothing at all happens.
    auto* memo = data_->CommonReport().findObject<MemoView>(QStringLiteral("Memo5"));
    data_->monochrome = true;
    memo->fillColor = 0x00FF00;
    data_->designMode = true;
    CommonReportBeforePrint(*data_, *chrom_, *memo);
    EXPECT_EQ(memo->fillColor, 0x00FF00u);
    data_->designMode = false;
    CommonReportBeforePrint(*data_, *chrom_, *memo);
    EXPECT_EQ(memo->fillColor, kColorWhite);
}

// The peak table as a template binds it: detectors as master rows, their peaks as detail rows,
// and the columns as a vertical band whose width the hook sets.
TEST_F(chromtables, PeakTableThroughTheEngine) {
    QJsonObject job = pictureJob();
    job.insert(QStringLiteral("chromatogram"),
               QJsonObject {{QStringLiteral("fChr_Rate"), 10},
                            {QStringLiteral("iChr_PeakLast"), QJsonArray {1, 0}},
                            {QStringLiteral("dPeakSum"), QJsonArray {33.5, 4, 8.25, 1}}});
    job.insert(QStringLiteral("method"), QJsonObject {{QStringLiteral("bMeth_DetOn"), QJsonArray {1, 1}},
                                                      {QStringLiteral("bMeth_DetPeakList"), QJsonArray {0, 1}},
                                                      {QStringLiteral("bDet_PrintFlag"), QJsonArray {1, 1}}});
    QJsonArray peaks;
    for (double t : {1.5, 2.75, 3.25})
        peaks.append(QJsonObject {{QStringLiteral("fPeak_Time"), t}, {QStringLiteral("fPeak_Area"), t * 10}});
    job.insert(QStringLiteral("peaks"), peaks);
    job = with(job, "printSettings", "bPeakCol_Format", QJsonArray {0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0});
    load(job);
    useTemplate(QStringLiteral(
        "<TfrxMasterData Name=\"MasterData50\" Top=\"20\" Height=\"20\" Width=\"700\" DataSetName=\"Пики по детекторам хроматограммы\">"
        "<TfrxMemoView Name=\"Memo272\" Width=\"60\" Height=\"18\" Text=\"[ChromPeakHeader]\"/></TfrxMasterData>"
        "<TfrxDetailData Name=\"DetailData50\" Top=\"60\" Height=\"18\" Width=\"700\" DataSetName=\"Пики\">"
        "<TfrxMemoView Name=\"Memo273\" Width=\"60\" Height=\"18\" Text=\"[ChromPeakValue]\"/></TfrxDetailData>"
        "<TfrxFooter Name=\"Footer50\" Top=\"100\" Height=\"18\" Width=\"700\">"
        "<TfrxMemoView Name=\"Memo274\" Width=\"60\" Height=\"18\" Text=\"[ChromPeakSumma]\"/></TfrxFooter>"
        "<TfrxMasterData Name=\"MasterData49\" Width=\"60\" Height=\"200\" Vertical=\"True\" DataSetName=\"Колонки таблицы пиков\"/>"));
    // Only the time and area columns are printed.
    data_->columnWidths = {};
    data_->columnWidths[2] = 80;
    data_->columnWidths[7] = 150;
    data_->rowSource(QStringLiteral("PeakDetectorDataset"))->setRangeEndCount(chrom_->iDet_Count());
    data_->CommonReport().onBeforePrint = [this](Object& o) { CommonReportBeforePrint(*data_, *chrom_, o); };
    PreparedReport prepared;
    QString error;
    ASSERT_TRUE(data_->CommonReport().prepare(prepared, &error)) << error.toStdString();
    const QStringList texts = prepared.allTexts();
    const QStringList expected = {
        QStringLiteral("Время, мин"), QStringLiteral("Площадь,мв*мин"),
        num("1.50"), num("15.00"), num("2.75"), num("27.50"), num("33.50"), // no sum under the time
        QStringLiteral("Время, мин"), QStringLiteral("Площадь,мв*мин"),
        num("3.25"), num("32.50"), num("8.25"),
    };
    EXPECT_EQ(texts, expected);
    EXPECT_FALSE(texts.contains(QStringLiteral("Детектор")));
}

} // namespace
