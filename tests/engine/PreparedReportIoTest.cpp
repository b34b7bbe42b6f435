// The prepared-report file: what is saved loads back the same, and damaged files are refused.

#include "EngineTestSupport.h"
#include "PreparedReportIo.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex::engine;

namespace {

PreparedReport richReport()
{
    PreparedReport r;
    PreparedPage p;
    p.size = QSizeF(793.7, 1122.5);
    TextItem t;
    t.rect = QRectF(37.8, 51.8, 718, 32);
    t.lines = {QStringLiteral("Хроматограмма"), QStringLiteral("вторая строка\tс табуляцией"),
               QStringLiteral("управляющий\x01знак и \r возврат"), QString()};
    t.font = {QStringLiteral("Liberation Sans"), 24, Font::Bold | Font::Italic};
    t.color = QColor(10, 20, 30);
    t.hAlign = HAlign::Block;
    t.vAlign = VAlign::Bottom;
    t.gapX = 4;
    t.gapY = 0.5;
    t.lineHeight = 28.828125;
    t.rotation = 90;
    t.clip = false;
    p.elements.push_back({t, true});
    p.elements.push_back({RectItem {QRectF(1, 2, 3, 4), QColor(0xf3, 0xf3, 0xf3), Frame::Left | Frame::Bottom, 1.5,
                                    QColor(0x8c, 0x8c, 0x8c), Qt::DashDotLine},
                          false});
    p.elements.push_back({LineItem {QPointF(1.25, 2.5), QPointF(300.125, 2.5), 0.5, Qt::blue, Qt::DotLine}, true});
    QImage picture(30, 20, QImage::Format_ARGB32);
    picture.fill(qRgba(200, 100, 50, 255));
    picture.setPixel(3, 4, qRgba(0, 0, 0, 128));
    p.elements.push_back({ImageItem {QRectF(10, 10, 60, 40), picture, QRectF(0, 5, 30, 15)}, true});
    // The same picture again is stored once and shared.
    p.elements.push_back({ImageItem {QRectF(10, 60, 60, 40), picture, QRectF()}, true});
    ShapeItem s;
    s.kind = ShapeItem::Kind::Polyline;
    s.rect = QRectF(0, 0, 100, 100);
    s.points << QPointF(0, 0) << QPointF(1e-3, 99.999999) << QPointF(100, 50);
    s.pen = Qt::red;
    s.penWidth = 2;
    p.elements.push_back({s, true});
    r.pages.push_back(p);
    PreparedPage landscape;
    landscape.size = QSizeF(1122.5, 793.7);
    landscape.landscape = true;
    r.pages.push_back(landscape);
    r.outline = {{QStringLiteral("Пики"), 0, 120.5, {{QStringLiteral("Метан"), 0, 140, {}}, {QStringLiteral("Этан"), 1, 20, {}}}},
                 {QStringLiteral("Итоги"), 1, 0, {}}};
    return r;
}

void expectSameOutline(const std::vector<OutlineEntry>& a, const std::vector<OutlineEntry>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].text, b[i].text);
        EXPECT_EQ(a[i].page, b[i].page);
        EXPECT_DOUBLE_EQ(a[i].y, b[i].y);
        expectSameOutline(a[i].children, b[i].children);
    }
}

void expectSame(const PreparedReport& a, const PreparedReport& b)
{
    ASSERT_EQ(a.pageCount(), b.pageCount());
    expectSameOutline(a.outline, b.outline);
    for (int i = 0; i < a.pageCount(); ++i) {
        const PreparedPage& pa = a.pages[size_t(i)];
        const PreparedPage& pb = b.pages[size_t(i)];
        EXPECT_EQ(pa.size, pb.size);
        EXPECT_EQ(pa.landscape, pb.landscape);
        ASSERT_EQ(pa.elements.size(), pb.elements.size());
        for (size_t e = 0; e < pa.elements.size(); ++e) {
            SCOPED_TRACE(testing::Message() << "page " << i << " element " << e);
            EXPECT_EQ(pa.elements[e].printable, pb.elements[e].printable);
            ASSERT_EQ(pa.elements[e].item.index(), pb.elements[e].item.index());
            std::visit([&](const auto& x) {
                using T = std::decay_t<decltype(x)>;
                const T& y = std::get<T>(pb.elements[e].item);
                if constexpr (std::is_same_v<T, TextItem>) {
                    EXPECT_EQ(x.rect, y.rect);
                    EXPECT_EQ(x.lines, y.lines);
                    EXPECT_EQ(x.font, y.font);
                    EXPECT_EQ(x.color, y.color);
                    EXPECT_EQ(x.hAlign, y.hAlign);
                    EXPECT_EQ(x.vAlign, y.vAlign);
                    EXPECT_EQ(x.gapX, y.gapX);
                    EXPECT_EQ(x.gapY, y.gapY);
                    EXPECT_EQ(x.lineHeight, y.lineHeight);
                    EXPECT_EQ(x.rotation, y.rotation);
                    EXPECT_EQ(x.clip, y.clip);
                } else if constexpr (std::is_same_v<T, RectItem>) {
                    EXPECT_EQ(x.rect, y.rect);
                    EXPECT_EQ(x.fill, y.fill);
                    EXPECT_EQ(x.frameSides, y.frameSides);
                    EXPECT_EQ(x.frameWidth, y.frameWidth);
                    EXPECT_EQ(x.frameColor, y.frameColor);
                    EXPECT_EQ(x.frameStyle, y.frameStyle);
                } else if constexpr (std::is_same_v<T, LineItem>) {
                    EXPECT_EQ(x.from, y.from);
                    EXPECT_EQ(x.to, y.to);
                    EXPECT_EQ(x.width, y.width);
                    EXPECT_EQ(x.color, y.color);
                    EXPECT_EQ(x.style, y.style);
                } else if constexpr (std::is_same_v<T, ImageItem>) {
                    EXPECT_EQ(x.rect, y.rect);
                    EXPECT_EQ(x.source, y.source);
                    EXPECT_EQ(x.image.size(), y.image.size());
                    EXPECT_EQ(x.image.convertToFormat(QImage::Format_ARGB32), y.image.convertToFormat(QImage::Format_ARGB32));
                } else {
                    EXPECT_EQ(x.kind, y.kind);
                    EXPECT_EQ(x.rect, y.rect);
                    EXPECT_EQ(x.points, y.points);
                    EXPECT_EQ(x.fill, y.fill);
                    EXPECT_EQ(x.pen, y.pen);
                    EXPECT_EQ(x.penWidth, y.penWidth);
                }
            }, pa.elements[e].item);
        }
    }
}

TEST(PreparedReportFile, LoadsBackWhatWasSaved)
{
    const PreparedReport original = richReport();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.fp3"));
    QString error;
    ASSERT_TRUE(savePreparedReport(original, path, &error)) << error.toStdString();
    PreparedReport loaded;
    ASSERT_TRUE(loadPreparedReport(path, loaded, &error)) << error.toStdString();
    expectSame(original, loaded);
    // One picture stored for the two places it prints.
    const QByteArray bytes = preparedReportToData(original);
    EXPECT_EQ(bytes.count("<picture "), 1);
    // Saving what was loaded gives the same file.
    EXPECT_EQ(preparedReportToData(loaded), bytes);
}

TEST(PreparedReportFile, DamagedFilesAreRefusedWithTheirPlace)
{
    const QByteArray good = preparedReportToData(richReport());
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* message; ///< part of the error
    };
    auto replaced = [&](const char* from, const char* to) {
        QByteArray b = good;
        const qsizetype at = b.indexOf(from);
        EXPECT_GE(at, 0) << from;
        return b.replace(at, qsizetype(qstrlen(from)), to);
    };
    const Case cases[] = {
        {"empty", QByteArray(), "not a prepared-report file"},
        {"another XML", "<?xml version=\"1.0\"?><TfrxReport/>", "not a prepared-report file"},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11), "not a prepared-report file"},
        {"newer version", replaced("version=\"1\"", "version=\"2\""), "another version"},
        {"no pages", "<TarvexPreparedReport version=\"1\"></TarvexPreparedReport>", "holds no pages"},
        {"not a number", replaced("width=\"793.70000000000005\"", "width=\"abc\""), "Damaged value: width"},
        {"infinite", replaced("width=\"793.70000000000005\"", "width=\"inf\""), "Damaged value: width"},
        {"huge coordinate", replaced("x=\"37.799999999999997\"", "x=\"1e300\""), "Damaged value: x"},
        {"negative size", replaced("w=\"718\"", "w=\"-5\""), "Damaged value: w"},
        {"alignment out of range", replaced("halign=\"3\"", "halign=\"9\""), "Damaged value: halign"},
        {"unknown picture", replaced("picture=\"0\"", "picture=\"7\""), "Damaged value: picture"},
        {"broken picture data", replaced("<picture id=\"0\">", "<picture id=\"0\">!!"), "Damaged value: picture"},
        {"bad base64 line", replaced("b64=\"1\">", "b64=\"1\">*"), "Damaged value: b64"},
        {"bad points", replaced("points=\"0,0", "points=\"0;0"), "Damaged value: points"},
        {"outline past the pages", replaced("page=\"1\" y=\"20\"", "page=\"5\" y=\"20\""), "outline"},
        {"unclosed element", good.left(good.indexOf("</page>")), "Line "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PreparedReport out = richReport();
        QString error;
        EXPECT_FALSE(preparedReportFromData(c.bytes, out, &error));
        EXPECT_EQ(out.pageCount(), 0) << "nothing half-read is handed out";
        EXPECT_TRUE(out.outline.empty());
        EXPECT_TRUE(error.startsWith(QStringLiteral("Line "))) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.message), Qt::CaseInsensitive)) << error.toStdString();
    }
}

TEST(PreparedReportFile, EveryTruncationAndRandomDamageIsSafe)
{
    const QByteArray good = preparedReportToData(richReport());
    for (qsizetype n = 0; n < good.size() - 1; n += 7) {
        PreparedReport out;
        QString error;
        ASSERT_FALSE(preparedReportFromData(good.left(n), out, &error)) << "prefix of " << n << " bytes";
        EXPECT_EQ(out.pageCount(), 0);
    }
    QRandomGenerator random(20251211);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = good;
        for (int k = 0; k < 1 + round % 5; ++k)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        PreparedReport out;
        QString error;
        if (preparedReportFromData(bytes, out, &error)) {
            EXPECT_GT(out.pageCount(), 0);
            for (const PreparedPage& p : out.pages)
                EXPECT_TRUE(p.size.width() > 0 && p.size.height() > 0);
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
}

TEST(PreparedReportFile, MissingFileSaysSo)
{
    PreparedReport out;
    QString error;
    EXPECT_FALSE(loadPreparedReport(QStringLiteral("/nonexistent/report.fp3"), out, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot open the file /nonexistent/report.fp3"))) << error.toStdString();
}

} // namespace
