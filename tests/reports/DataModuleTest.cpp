// The report data module: templates from files, translation of built-in templates, row sources
// driving a report, and the printer choice.

#include "Bilingual.h"
#include "PreparedReport.h"
#include "Prompt.h"
#include "QtPrinters.h"
#include "TDataModule1.h"
#include "TemplateSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using tarvex::RecordingPrompt;

class Recording {
public:
    Recording() {
        auto p = std::make_unique<RecordingPrompt>();
        rec = p.get();
        previous = tarvex::setPrompt(std::move(p));
    }
    ~Recording() { tarvex::setPrompt(std::move(previous)); }
    RecordingPrompt* rec;
    std::unique_ptr<tarvex::Prompt> previous;
};

// A one-page template: a title memo and a data band on `dataSet` showing `[Row]`.
QByteArray tableTemplate(const QString& title, const QString& dataSet) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<TfrxReport Version=\"4.0\"><TfrxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" "
               "LeftMargin=\"10\" RightMargin=\"10\" TopMargin=\"10\" BottomMargin=\"10\">"
               "<TfrxReportTitle Name=\"ReportTitle1\" Height=\"30\"><TfrxMemoView Name=\"Memo1\" Width=\"400\" "
               "Height=\"20\" Text=\"%1\"/></TfrxReportTitle>"
               "<TfrxMasterData Name=\"MasterData1\" Top=\"60\" Height=\"20\" DataSetName=\"%2\">"
               "<TfrxMemoView Name=\"Memo2\" Width=\"300\" Height=\"18\" Text=\"row [Row]\"/></TfrxMasterData>"
               "</TfrxReportPage></TfrxReport>")
        .arg(title, dataSet)
        .toUtf8();
}

QStringList preparedTexts(tarvex::engine::Report& report) {
    tarvex::engine::PreparedReport prepared;
    QString error;
    EXPECT_TRUE(report.prepare(prepared, &error)) << error.toStdString();
    return prepared.allTexts();
}

TEST(DataModule, ExternalTemplatesReplaceOrKeepTheBuiltInOne) {
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.fr3"));
    const QString bad = dir.filePath(QStringLiteral("bad.fr3"));
    const QString missing = dir.filePath(QStringLiteral("missing.fr3"));
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tableTemplate(QStringLiteral("External"), QStringLiteral("Пики")));
        QFile b(bad);
        ASSERT_TRUE(b.open(QIODevice::WriteOnly));
        b.write("<TfrxReport><TfrxReportPage Name=\"P\">\n<oops</TfrxReport>");
    }
    tarvex::setLanguageIndex(1);
    struct Case {
        bool check;
        QString file;
        QString expectedTitle;
        QStringList messages;
    };
    const QString loadError = QStringLiteral(
        "Ошибка при загрузке шаблона отчета из файла \r\nError at loading a pattern of the report from a file");
    const Case cases[] = {
        {false, good, QStringLiteral("Built-in"), {}},
        {true, QString(), QStringLiteral("Built-in"), {}},
        {true, good, QStringLiteral("External"), {}},
        {true, missing, QStringLiteral("Built-in"),
         {QStringLiteral("Невозможно найти файл шаблона отчета \r\n") + missing +
          QStringLiteral("\r\nБудет использоваться стандартный шаблон")}},
        {true, bad, QStringLiteral("Built-in"), {loadError + bad}},
    };
    for (const Case& c : cases) {
        Recording recording;
        TDataModule1 data;
        ASSERT_TRUE(data.SetBuiltInTemplate(data.NoiseReport(), tableTemplate(QStringLiteral("Built-in"), QStringLiteral("Пики"))));
        TTemplateSettings settings;
        settings.check[2] = c.check;
        settings.file[2] = c.file;
        TJobFlags job;
        job.noise = true;
        data.LoadExternalTemplates(job, settings);
        const QStringList said = recording.rec->texts();
        ASSERT_EQ(said.size(), c.messages.size()) << c.file.toStdString();
        for (qsizetype i = 0; i < said.size(); ++i) // the load error goes on with the place of the fault
            EXPECT_TRUE(said[i].startsWith(c.messages[i])) << said[i].toStdString();
        EXPECT_TRUE(preparedTexts(data.NoiseReport()).contains(c.expectedTitle)) << c.file.toStdString();
    }
}

TEST(DataModule, BuiltInTemplatesAreTranslatedExternalOnesNever) {
    TDataModule1 data;
    data.LoadDictionary(QStringLiteral("Пики\r\nГруппы\r\n"), QStringLiteral("peaks\r\ngroups\r\n"));
    tarvex::setLanguageIndex(2);
    data.SetBuiltInTemplate(data.CommonReport(), tableTemplate(QStringLiteral("  пики  "), QStringLiteral("none")));
    EXPECT_TRUE(preparedTexts(data.CommonReport()).contains(QStringLiteral("peaks")));
    data.SetBuiltInTemplate(data.StaticReport(), tableTemplate(QStringLiteral("Неизвестно"), QStringLiteral("none")));
    EXPECT_TRUE(preparedTexts(data.StaticReport()).contains(QStringLiteral("Неизвестно")));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ext.fr3"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(tableTemplate(QStringLiteral("Пики"), QStringLiteral("none")));
    f.close();
    TTemplateSettings settings;
    settings.check[1] = true;
    settings.file[1] = file;
    TJobFlags job;
    job.chromatogram = true;
    data.LoadExternalTemplates(job, settings);
    EXPECT_TRUE(preparedTexts(data.CommonReport()).contains(QStringLiteral("Пики")));
    tarvex::setLanguageIndex(1);
}

TEST(DataModule, RowSourcesDriveTheTableAndKeepTheirIndices) {
    TDataModule1 data;
    data.SetBuiltInTemplate(data.CommonReport(), tableTemplate(QStringLiteral("T"), QStringLiteral("Пики")));
    int refills = 0;
    data.setRefill(QStringLiteral("PeakDataSet"), [&] {
        ++refills;
        data.CommonReport().setVariable(QStringLiteral("Row"), QString::number(data.rowIndex(QStringLiteral("PeakDataSet"))));
    });
    data.rowSource(QStringLiteral("PeakDataSet"))->setRangeEndCount(3);
    QStringList texts = preparedTexts(data.CommonReport());
    EXPECT_TRUE(texts.contains(QStringLiteral("row 0")));
    EXPECT_TRUE(texts.contains(QStringLiteral("row 2")));
    EXPECT_FALSE(texts.contains(QStringLiteral("row 3")));

    data.rowSource(QStringLiteral("PeakDataSet"))->setRangeEndCount(0);
    refills = 0;
    texts = preparedTexts(data.CommonReport());
    EXPECT_EQ(texts.filter(QStringLiteral("row ")).size(), 0);
    EXPECT_EQ(refills, 0);

    // Prior at the first row steps to -1; the refill sees it and must read nothing there.
    data.PeakDataSetFirst();
    data.PeakDataSetPrior();
    EXPECT_EQ(data.rowIndex(QStringLiteral("PeakDataSet")), -1);
    data.ChromPeakColumnsFirst();
    EXPECT_EQ(data.rowIndex(QStringLiteral("ChromPeakColumns")), 1); // column sources count from 1

    // Two sources on one index: each starts again at 0 on its own First.
    data.TempProgrDataSetFirst();
    data.TempProgrDataSetNext();
    data.TempProgrDataSetNext();
    EXPECT_EQ(data.rowIndex(QStringLiteral("PressProgrDataSet")), 2);
    data.PressProgrDataSetFirst();
    EXPECT_EQ(data.rowIndex(QStringLiteral("PressProgrDataSet")), 0);
    EXPECT_EQ(data.rowIndex(QStringLiteral("TempProgrDataSet")), 0);

    // In design mode the index moves but the template's own values stay.
    data.designMode = true;
    refills = 0;
    data.PeakDataSetNext();
    EXPECT_EQ(refills, 0);
}

TEST(DataModule, MasterRowsRewindTheirDetail) {
    TDataModule1 data;
    std::vector<int> counts = {2, 0, 5};
    data.setDetail(QStringLiteral("MethCompDataSet"), QStringLiteral("GradCompPointDataset"),
                   [&] { return counts[static_cast<std::size_t>(data.rowIndex(QStringLiteral("MethCompDataSet")))]; });
    data.rowIndex(QStringLiteral("GradCompPointDataset")) = 7;
    data.MethCompDataSetFirst();
    EXPECT_EQ(data.rowSource(QStringLiteral("GradCompPointDataset"))->rangeEndCount(), 2);
    EXPECT_EQ(data.rowIndex(QStringLiteral("GradCompPointDataset")), 0);
    data.MethCompDataSetNext();
    EXPECT_EQ(data.rowSource(QStringLiteral("GradCompPointDataset"))->rangeEndCount(), 0);
}

TEST(DataModule, PrinterChoiceAndPageWidth) {
    TDataModule1 data;
    data.noiseRecord.assign(TDataModule1::kNoiseRecordSize, 0);
    data.statisticsRecord.assign(TDataModule1::kStatisticsRecordSize, 0);
    data.noiseRecord[290] = 3;
    data.noiseRecord[294] = 1; // landscape
    data.noiseRecord[295] = 1; // monochrome
    data.statisticsRecord[2277] = 2;
    data.flags.noise = data.flags.statistics = true;
    TPageSetup s = data.ChoosePrinterSettings();
    EXPECT_EQ(s.printerIndex, 3);
    EXPECT_EQ(data.pageWidth, 880);
    data.ChooseMonochrome();
    EXPECT_TRUE(data.monochrome);

    TDataModule1 exporting;
    QByteArray block(1267, '\0');
    block[270] = 7; // column-aligned text
    exporting.printSettings.assign(reinterpret_cast<const std::uint8_t*>(block.constData()), 1267);
    exporting.flags.chromatogram = true;
    exporting.exportFlag = true;
    exporting.ChoosePrinterSettings();
    EXPECT_EQ(exporting.pageWidth, 10000);
}

} // namespace
