// The column-aligned listing: the field rule, and whole files against checked copies.

#include <gtest/gtest.h>

#include "Bilingual.h"
#include "CodePage.h"
#include "ColumnTextWriter.h"
#include "OutputTestSupport.h"
#include "ResultTables.h"

#include "QtPrinters.h"

#include <QJsonArray>
#include <QTemporaryDir>

namespace {

TEST(ColumnTextField, PadField) {
    const struct {
        const char* text;
        int width;
        const char* field;
    } cases[] = {
        {"Header", 6, "Header  "},          // exactly the width: no padding, then two blanks
        {"Tip", 6, "Tip      "},            // shorter: padded to width + 1, then two blanks
        {" 12.5", 8, "12.5      "},         // the removed blank still counts as length
        {"  abcdefgh  ", 5, "  abc  "},     // longer: cut untrimmed
        {"abc", 0, "  "},
        {"abc", -3, "  "},                  // a damaged width counts as 0
        {"", 2, "     "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PadField(QLatin1String(c.text), c.width), QLatin1String(c.field)) << c.text << " in " << c.width;
}

class ColumnText : public ::testing::Test {
protected:
    void TearDown() override { tarvex::setLanguageIndex(1); }

    QByteArray fileOf(const QJsonObject& job, bool oem, int language) {
        tarvex::setLanguageIndex(language);
        TestJob decoded;
        decodeJob(job, decoded);
        const TResultTables tables(*decoded.rec, decoded.settings);
        const QString path = dir.filePath(QStringLiteral("columns.txt"));
        EXPECT_TRUE(WriteColumnText(path, oem, *decoded.rec, decoded.settings, tables, goldenContext()));
        return readFile(path);
    }

    QTemporaryDir dir;
    PromptRecorder prompts;
};

TEST_F(ColumnText, SampleJobMatchesCheckedFile) {
    const QJsonObject job = readJobFile(QStringLiteral("examples/natural-gas.json"));
    const QByteArray ansi = fileOf(job, false, 1);
    EXPECT_TRUE(matchesGolden(ansi, QStringLiteral("natural-gas-columns.txt")));
    // The OEM file is the same text in the DOS code page: ASCII bytes unchanged.
    const QByteArray oem = fileOf(job, true, 1);
    EXPECT_EQ(tarvex::decodeText(oem.constData(), static_cast<std::size_t>(oem.size()), tarvex::CodePage::Cp866),
              tarvex::fromCp1251(ansi));
    ASSERT_EQ(oem.size(), ansi.size());
    for (qsizetype i = 0; i < ansi.size(); ++i) {
        if (static_cast<unsigned char>(ansi[i]) < 0x80) {
            ASSERT_EQ(oem[i], ansi[i]) << "byte " << i;
        }
    }
    EXPECT_TRUE(prompts.errors().isEmpty());
}

TEST_F(ColumnText, EdgeJobMatchesCheckedFile) {
    EXPECT_TRUE(matchesGolden(fileOf(readJobFile(QStringLiteral("tests/outputs/edge-job.json")), true, 2),
                              QStringLiteral("edge-job-columns.txt")));
}

TEST_F(ColumnText, SwitchedOffSectionsAndColumns) {
    QJsonObject job = readJobFile(QStringLiteral("examples/natural-gas.json"));
    QJsonObject method = job[QStringLiteral("method")].toObject();
    method[QStringLiteral("bPrn_Ident")] = 0;
    method[QStringLiteral("bPrn_Groups")] = 0;
    job[QStringLiteral("method")] = method;
    QJsonObject settings = job[QStringLiteral("printSettings")].toObject();
    settings[QStringLiteral("bPeakCol_On")] = QJsonArray {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
    job[QStringLiteral("printSettings")] = settings;
    tarvex::setLanguageIndex(2);
    TestJob decoded;
    decodeJob(job, decoded);
    const TResultTables tables(*decoded.rec, decoded.settings);
    const QStringList lines = ColumnTextLines(*decoded.rec, decoded.settings, tables, goldenContext());
    // The passport has the additional calculation; then the peak section of two detectors.
    ASSERT_EQ(lines.size(), 15 + 2 + (1 + 1 + 22) + (1 + 1 + 8));
    EXPECT_EQ(lines[16], QStringLiteral("Peaks"));
    // Column 1 is five wide, column 6 ten: nothing between them.
    EXPECT_EQ(lines[18], QStringLiteral("№       Heigth,mv    "));
    EXPECT_EQ(lines[19], QStringLiteral("1       850,000      "));
}

} // namespace
