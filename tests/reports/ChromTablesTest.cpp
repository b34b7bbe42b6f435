// The chromatogram report's tables: jobs written by the host stand-in's encoder, decoded into the
// print-job record, and walked through the data module's row-source handlers as the engine would.

#include "ChromTablesFixture.h"

#include "ChartView.h"
#include "ChromTables.h"

#include <gtest/gtest.h>

// The suite is named after the test program, so that `ctest -R chromtables` selects it.
using chromtables = chromtest::ChromTables;
using chromtest::num;
using chromtest::with;

namespace {

// Two detectors: the first with three peaks, the second with two. Three components, three
// identification records (the first component twice), two groups and three group results.
QJsonObject tablesJob() {
    const auto arr = [](std::initializer_list<QJsonValue> v) { return QJsonArray(v); };
    QJsonObject chrom {
        {QStringLiteral("fChr_Rate"), 10},
        {QStringLiteral("iChr_PeakLast"), arr({2, 1, -1, -1, -1, -1, -1, -1, -1, -1})},
        {QStringLiteral("dPeakSum"), arr({40.5, 7.25, 90.75, 11.5})},
        {QStringLiteral("dUndetectablePct"), 2.5},
        {QStringLiteral("dIdentSum"), arr({100, 99.5, 12, 8.5, 44.25})},
        {QStringLiteral("szConc_Name1"), QStringLiteral("Мольная доля, %")},
        {QStringLiteral("szConc_Name2"), QStringLiteral("Массовая доля, %")},
        {QStringLiteral("szConc_Name3"), QStringLiteral("г/м3")},
    };
    QJsonObject method {
        {QStringLiteral("bType_Device"), 0},
        {QStringLiteral("bType_MultiDet"), 2},
        {QStringLiteral("bMeth_DetOn"), arr({1, 1})},
        {QStringLiteral("bMeth_DetPeakList"), arr({0, 1})},
        {QStringLiteral("bDet_PrintFlag"), arr({1, 1})},
    };
    QJsonArray peaks;
    const double times[] = {1.0, 2.5, 4.0, 1.25, 3.5};
    for (int p = 0; p < 5; ++p)
        peaks.append(QJsonObject {{QStringLiteral("iPeak_StartPoint"), 100},
                                  {QStringLiteral("fPeak_Time"), times[p]},
                                  {QStringLiteral("fPeak_Area"), 12.5 + p},
                                  {QStringLiteral("fPeak_Height"), 3.25 + p},
                                  {QStringLiteral("fPeak_RelVolume"), 0.75},
                                  {QStringLiteral("fPeak_HeightPct"), 10.5},
                                  {QStringLiteral("fPeak_AreaPct"), 20.25},
                                  {QStringLiteral("iPeak_Comp"), p == 0 ? -1 : p % 3},
                                  {QStringLiteral("fPeak_Index"), 650 + p},
                                  {QStringLiteral("wPeak_Flags"), p == 1 ? 3 : 0},
                                  {QStringLiteral("wPeak_Group"), arr({3, 0, 7})}});
    QJsonArray comps {
        QJsonObject {{QStringLiteral("szComp_Name"), QStringLiteral("Метан")}, {QStringLiteral("dComp_Time"), 1.0},
                     {QStringLiteral("dRTime_DTM"), 0.125}, {QStringLiteral("dIndex_DTM"), 5.0},
                     {QStringLiteral("bComp_MainD"), 0}},
        QJsonObject {{QStringLiteral("szComp_Name"), QStringLiteral("Этан")}, {QStringLiteral("dComp_Time"), 2.0},
                     {QStringLiteral("dRTime_DTM"), 0.25}, {QStringLiteral("bComp_MainD"), 1},
                     {QStringLiteral("iGroup_Num"), arr({0, 2})}},
        QJsonObject {{QStringLiteral("szComp_Name"), QStringLiteral("Пропан")}, {QStringLiteral("dComp_Time"), 3.0},
                     {QStringLiteral("dRTime_DTM"), 0.375}, {QStringLiteral("dIndex_DTM"), 7.0},
                     {QStringLiteral("bComp_Reper"), 1}, {QStringLiteral("bComp_MainD"), 1}},
    };
    QJsonArray ident {
        QJsonObject {{QStringLiteral("fIdent_Conc"), arr({70.5, 60, 1})}, {QStringLiteral("bIdent_PeakList"), 0},
                     {QStringLiteral("iIdent_Peak"), 1}, {QStringLiteral("iIdent_Comp"), 0}},
        QJsonObject {{QStringLiteral("fIdent_Conc"), arr({20, 30, 2})}, {QStringLiteral("bIdent_PeakList"), 1},
                     {QStringLiteral("iIdent_Peak"), 0}, {QStringLiteral("iIdent_Comp"), 2}},
        QJsonObject {{QStringLiteral("fIdent_Conc"), arr({9, 9, 9})}, {QStringLiteral("bIdent_PeakList"), 0},
                     {QStringLiteral("iIdent_Peak"), 2}, {QStringLiteral("iIdent_Comp"), 0}},
    };
    QJsonArray groups {
        QJsonObject {{QStringLiteral("szGroup_Name"), QStringLiteral("C1-C4")}, {QStringLiteral("dGroup_TimeBeg"), 0.5},
                     {QStringLiteral("dGroup_TimeEnd"), 4.5}, {QStringLiteral("dGroup_IndexBeg"), 500},
                     {QStringLiteral("dGroup_IndexEnd"), 600}},
        QJsonObject {{QStringLiteral("szGroup_Name"), QStringLiteral("C5+")}},
    };
    QJsonArray groupResults {
        QJsonObject {{QStringLiteral("fGroupRes_Conc"), arr({50, 40, 3})}, {QStringLiteral("fGroupRes_Area"), 12.25},
                     {QStringLiteral("fGroupRes_Height"), 1.5}, {QStringLiteral("bGroupRes_PeakList"), 1},
                     {QStringLiteral("iGroupRes_Group"), 0}},
        QJsonObject {{QStringLiteral("fGroupRes_Conc"), arr({1, 1, 1})}, {QStringLiteral("iGroupRes_Group"), 5}},
        QJsonObject {{QStringLiteral("fGroupRes_Conc"), arr({2, 2, 2})}, {QStringLiteral("iGroupRes_Group"), 1}},
    };
    QJsonObject settings {
        {QStringLiteral("iPrint_Version"), 8},
        {QStringLiteral("bPeakCol_Format"), arr({0, 1, 0, 0, 0, 11, 2, 6, 1, 1, 0, 0})},
        {QStringLiteral("bIdentCol_Format"), arr({0, 0, 1, 1, 2, 1, 1, 1, 1, 1})},
        {QStringLiteral("bGroupCol_Format"), arr({0, 0, 0, 1, 1, 1, 1, 1, 1, 1})},
        {QStringLiteral("bCompStatCol_Format"), arr({0, 0, 20, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})},
    };
    return {
        {QStringLiteral("chromatogram"), chrom},
        {QStringLiteral("method"), method},
        {QStringLiteral("printSettings"), settings},
        {QStringLiteral("peaks"), peaks},
        {QStringLiteral("components"), comps},
        {QStringLiteral("groups"), groups},
        {QStringLiteral("ident"), ident},
        {QStringLiteral("groupResults"), groupResults},
        {QStringLiteral("compStat"), QJsonArray {QJsonObject {{QStringLiteral("fStat_Average"), arr({70.4, 2, 3})},
                                                              {QStringLiteral("fStat_SKO"), arr({0.5})}},
                                                 QJsonObject {}, QJsonObject {}}},
        {QStringLiteral("journal"),
         QJsonArray {QJsonObject {{QStringLiteral("iJourn_Time"), 90}, {QStringLiteral("szJourn_Event"), QStringLiteral("Старт")},
                                  {QStringLiteral("bJourn_Kind"), 1}},
                     QJsonObject {{QStringLiteral("iJourn_Time"), 30}, {QStringLiteral("szJourn_Event"), QStringLiteral("Кран")},
                                  {QStringLiteral("bJourn_Kind"), 3}}}},
        {QStringLiteral("comment"), QStringLiteral("a\tb\r\n1.5\t\t2.0\r\n\t x \r\n")},
        {QStringLiteral("picture"), false},
    };
}

// Peak cells of the first detector's second peak: the value by the column's format code, the
// footer by the detector's peak list.
TEST_F(chromtables, PeakColumnsOfOnePeak) {
    load(tablesJob());
    struct Case {
        int column;
        QString header, value, sum;
    };
    const Case cases[] = {
        {1, QStringLiteral("№"), QStringLiteral("2"), QString()},
        {2, QStringLiteral("Время, мин"), num("2.50"), QString()},
        {3, QStringLiteral("Отн.объем"), num("651.0"), QString()}, // time identification prints the index field
        {4, QStringLiteral("Детектор"), chrom_->DetectorEntry(0).szDet_Name, QString()},
        {5, QStringLiteral("Компонент"), QStringLiteral("Этан"), QString()},
        {6, QStringLiteral("Высота,мв"), QString(), QString()}, // format code 11: empty cells and sum
        {7, QStringLiteral("Площадь,мв*мин"), num("13.500"), num("40.500")},
        {8, QStringLiteral("Высота,%"), num("1.05E+01"), num("9.75E+01")},
        {9, QStringLiteral("Площадь,%"), num("20.25"), num("97.50")},
        {10, QStringLiteral("Ширина,сек"), num("140.00"), QString()}, // (2.5*60*10 - 100) / 10
        {11, QStringLiteral("Тип"), QStringLiteral("Б-Б   "), QString()},
        {12, QStringLiteral("Группа"), QStringLiteral("3,7"), QString()},
    };
    moveTo(&TDataModule1::PeakDetectorDatasetNext, "PeakDetectorDataset", 0);
    EXPECT_EQ(rows("PeakDataSet"), 3);
    moveTo(&TDataModule1::PeakDataSetNext, "PeakDataSet", 1);
    for (const Case& c : cases) {
        moveTo(&TDataModule1::ChromPeakColumnsNext, "ChromPeakColumns", c.column);
        EXPECT_EQ(var("ChromPeakHeader"), c.header) << c.column;
        EXPECT_EQ(var("ChromPeakValue"), c.value) << c.column;
        EXPECT_EQ(var("ChromPeakSumma"), c.sum) << c.column;
    }
}

// The master band walks the detectors: each selects its peaks, a detector not printed has none,
// and the sums follow the detector's own peak list.
TEST_F(chromtables, PeakTableWalksDetectorByDetector) {
    load(with(tablesJob(), "method", "bDet_PrintFlag", QJsonArray {1, 0}));
    data_->rowIndex(QStringLiteral("ChromPeakColumns")) = 2;
    data_->PeakDetectorDatasetFirst();
    EXPECT_EQ(rows("PeakDataSet"), 3);
    EXPECT_EQ(var("ChromPeakValue"), num("1.00"));
    data_->PeakDataSetNext();
    data_->PeakDataSetNext();
    EXPECT_EQ(var("ChromPeakValue"), num("4.00"));

    // A step back from the first row reads no peak (not the one before the detector's first).
    data_->PeakDetectorDatasetNext();
    EXPECT_EQ(rows("PeakDataSet"), 0);
    data_->rowIndex(QStringLiteral("PeakDataSet")) = 0;
    data_->PeakDataSetPrior();
    EXPECT_EQ(data_->rowIndex(QStringLiteral("PeakDataSet")), -1);
    EXPECT_EQ(var("ChromPeakValue"), QString());

    data_->rowIndex(QStringLiteral("ChromPeakColumns")) = 6;
    data_->ChromPeakColumnsNext(); // column 7: area sum of the second peak list
    EXPECT_EQ(var("ChromPeakSumma"), num("90.750"));

    // Detector entries past the table give empty values and sums.
    data_->PeakDetectorDatasetNext();
    EXPECT_EQ(var("ChromPeakValue"), QString());
    EXPECT_EQ(var("ChromPeakSumma"), QString());
}

TEST_F(chromtables, PeakCellsOfSpecialPeaks) {
    load(with(with(tablesJob(), "method", "bMeth_IdentMode", 2), "method", "bMeth_IndexKind", 1));
    moveTo(&TDataModule1::PeakDetectorDatasetNext, "PeakDetectorDataset", 0);
    moveTo(&TDataModule1::ChromPeakColumnsNext, "ChromPeakColumns", 3);
    EXPECT_EQ(var("ChromPeakHeader"), QStringLiteral("Т.кипения"));
    EXPECT_EQ(var("ChromPeakValue"), num("650.0"));
    moveTo(&TDataModule1::ChromPeakColumnsNext, "ChromPeakColumns", 5);
    EXPECT_EQ(var("ChromPeakValue"), QString()); // component index -1

    struct TypeCase {
        unsigned flags;
        QString code;
    };
    const TypeCase types[] = {
        {0, QStringLiteral("      ")},  {2, QStringLiteral("Б-    ")},      {1, QStringLiteral(" -Б   ")},
        {3, QStringLiteral("Б-Б   ")},  {64, QStringLiteral("     Н")},     {64 | 128, QStringLiteral("     Х")},
        {256, QStringLiteral("    * ")}, {2 | 256 | 128, QStringLiteral("Б-  *Х")},
    };
    for (const TypeCase& t : types)
        EXPECT_EQ(PeakTypeCode(t.flags), t.code) << t.flags;

    // Method mode leaves the chromatogram's cells alone.
    data_->CommonReport().setVariable(QStringLiteral("ChromPeakValue"), QStringLiteral("'kept'"));
    data_->methodMode = true;
    data_->ChromPeakColumnsFirst();
    EXPECT_EQ(var("ChromPeakValue"), QStringLiteral("kept"));
}

TEST_F(chromtables, IdentificationByRecord) {
    load(tablesJob());
    data_->IdentDatasetFirst();
    data_->IdentDatasetNext(); // row 1: the third component, found on the second detector's first peak
    const QStringList expected = {QStringLiteral("2"), QStringLiteral("Пропан"), chrom_->DetectorEntry(1).szDet_Name,
                                  num("1.25"), num("0.375"), num("20.00"), num("30.00"), num("2.00"),
                                  num("6.25"), num("15.50")};
    data_->ChromIdentColumnFirst();
    for (int c = 1; c <= 10; ++c) {
        EXPECT_EQ(var("IdentValue"), expected[c - 1]) << c;
        data_->ChromIdentColumnNext();
    }
    moveTo(&TDataModule1::ChromIdentColumnNext, "ChromIdentColumn", 5);
    EXPECT_EQ(var("IdentHeader"), QStringLiteral("Окно,мин"));
    moveTo(&TDataModule1::ChromIdentColumnNext, "ChromIdentColumn", 6);
    EXPECT_EQ(var("IdentHeader"), QStringLiteral("Мольная доля, %"));
    EXPECT_EQ(var("IdentSumma"), num("100.00"));
    moveTo(&TDataModule1::ChromIdentColumnNext, "ChromIdentColumn", 2);
    EXPECT_EQ(var("IdentSumma"), QString());

    tarvex::setLanguageIndex(2);
    moveTo(&TDataModule1::ChromIdentColumnNext, "ChromIdentColumn", 5);
    EXPECT_EQ(var("IdentHeader"), QStringLiteral("Window,min"));

    // Rows outside the table show nothing.
    data_->IdentDatasetFirst();
    data_->IdentDatasetPrior();
    EXPECT_EQ(var("IdentValue"), QString());
    moveTo(&TDataModule1::IdentDatasetNext, "IdentDataset", 3);
    EXPECT_EQ(var("IdentValue"), QString());
}

TEST_F(chromtables, IdentificationByComponent) {
    load(with(tablesJob(), "printSettings", "bIdent_ByComp", 1));
    struct Case {
        int row, column;
        QString value;
    };
    const Case cases[] = {
        {0, 2, QStringLiteral("Метан")},
        {0, 6, num("70.50")}, // the first of the component's two records
        {0, 4, num("2.50")}, // the time of that record's peak
        {1, 2, QStringLiteral("Этан")},
        {1, 3, QString()},   // replaced below: the main detector's name
        {1, 4, num("2.00")}, // no record: the method's expected time
        {1, 5, num("0.250")},
        {1, 6, QStringLiteral("-")},
        {1, 9, QStringLiteral("-")},
        {1, 10, QStringLiteral("-")},
        {2, 6, num("20.00")},
    };
    for (Case c : cases) {
        if (c.row == 1 && c.column == 3)
            c.value = chrom_->DetectorEntry(1).szDet_Name;
        moveTo(&TDataModule1::IdentDatasetNext, "IdentDataset", c.row);
        moveTo(&TDataModule1::ChromIdentColumnNext, "ChromIdentColumn", c.column);
        EXPECT_EQ(var("IdentValue"), c.value) << c.row << "/" << c.column;
    }
    // Only the method's components are rows.
    moveTo(&TDataModule1::IdentDatasetNext, "IdentDataset", 3);
    EXPECT_EQ(var("IdentValue"), QString());
}

TEST_F(chromtables, IdentificationWindowInIndexMode) {
    load(with(tablesJob(), "method", "bMeth_IdentMode", 2));
    moveTo(&TDataModule1::ChromIdentColumnNext, "ChromIdentColumn", 5);
    moveTo(&TDataModule1::IdentDatasetNext, "IdentDataset", 0);
    EXPECT_EQ(var("IdentHeader"), QStringLiteral("Окно"));
    EXPECT_EQ(var("IdentValue"), num("5.000")); // index window
    moveTo(&TDataModule1::IdentDatasetNext, "IdentDataset", 1);
    EXPECT_EQ(var("IdentValue"), num("0.375")); // a reference component keeps its time window
}

TEST_F(chromtables, GroupTable) {
    struct Case {
        const char* name;
        QJsonObject job;
        int row, column;
        QString header, value;
    };
    const QJsonObject gasoline = with(with(tablesJob(), "method", "bMeth_CalcMethod", 1), "method", "bMeth_AddCalc", 3);
    const Case cases[] = {
        {"name", tablesJob(), 0, 2, QStringLiteral("Группа"), QStringLiteral("C1-C4")},
        {"start", tablesJob(), 0, 4, QStringLiteral("Время начала, мин"), num("0.50")},
        {"end", tablesJob(), 0, 5, QStringLiteral("Время конца, мин"), num("4.50")},
        {"area", tablesJob(), 0, 10, QStringLiteral("Площадь,мв*мин"), num("12.25")},
        {"index start", with(tablesJob(), "method", "bMeth_IdentMode", 2), 0, 4, QStringLiteral("Индекс начала, мин"),
         num("500.00")},
        {"unknown group: no name", tablesJob(), 1, 2, QStringLiteral("Группа"), QString()},
        {"unknown group: interval 0", tablesJob(), 1, 5, QStringLiteral("Время конца, мин"), num("0.00")},
        {"gasoline group at its member", gasoline, 2, 4, QStringLiteral("Время начала, мин"), num("2.00")},
        {"gasoline group end", gasoline, 2, 5, QStringLiteral("Время конца, мин"), num("2.00")},
        {"no interval outside gasoline", tablesJob(), 2, 4, QStringLiteral("Время начала, мин"), num("0.00")},
        {"past the last row", tablesJob(), 3, 1, QStringLiteral("№"), QString()},
    };
    for (const Case& c : cases) {
        load(c.job);
        moveTo(&TDataModule1::GroupDatasetNext, "GroupDataset", c.row);
        moveTo(&TDataModule1::ChromGroupColumnNext, "ChromGroupColumn", c.column);
        EXPECT_EQ(var("GroupHeader"), c.header) << c.name;
        EXPECT_EQ(var("GroupValue"), c.value) << c.name;
    }
    load(tablesJob());
    moveTo(&TDataModule1::GroupDatasetNext, "GroupDataset", 0);
    moveTo(&TDataModule1::ChromGroupColumnNext, "ChromGroupColumn", 3);
    EXPECT_EQ(var("GroupValue"), chrom_->DetectorEntry(1).szDet_Name);
}

TEST_F(chromtables, JournalAndStatistics) {
    load(tablesJob());
    struct Case {
        int row, column;
        QString value;
    };
    const Case journal[] = {
        {0, 1, QStringLiteral("1")}, {0, 2, num("1.5")}, {0, 3, QStringLiteral("Старт")},
        {0, 4, QStringLiteral("Вкл.")}, {1, 4, QString()}, {-1, 2, QString()}, {2, 1, QString()},
    };
    for (const Case& c : journal) {
        moveTo(&TDataModule1::JournalDatasetNext, "JournalDataset", c.row);
        moveTo(&TDataModule1::JournalColumnNext, "JournalColumn", c.column);
        EXPECT_EQ(var("JournValue"), c.value) << c.row << "/" << c.column;
        EXPECT_EQ(var("JournTitle"), QStringLiteral("Журнал событий"));
    }
    const Case stats[] = {
        {0, 2, QStringLiteral("Метан")},
        {0, 3, num("7.040000E+01")}, // code 20 counts as 10
        {0, 4, num("0.50")},
        {0, 7, num("2.00")},
        {3, 3, QString()},
    };
    for (const Case& c : stats) {
        moveTo(&TDataModule1::IdentStatDataSetNext, "IdentStatDataSet", c.row);
        moveTo(&TDataModule1::CompStatColumnNext, "CompStatColumn", c.column);
        EXPECT_EQ(var("StatValue"), c.value) << c.row << "/" << c.column;
    }
    EXPECT_EQ(var("StatHeader"), QStringLiteral("Среднее 1"));

    load(with(tablesJob(), "journal", QJsonArray {}));
    data_->JournalDatasetFirst();
    EXPECT_EQ(var("JournTitle"), QStringLiteral("Событий нет"));
}

TEST_F(chromtables, AdditionalCalculationTableAndCoefficients) {
    load(tablesJob());
    SetAddCalcTableCounts(*data_, *chrom_);
    EXPECT_EQ(rows("AddCalcExcelRowDataSet"), 3);
    EXPECT_EQ(rows("AddCalcExcelColumnDataSet"), 2);

    // The engine walks both record-number sources; the cell follows their record numbers.
    auto* columns = data_->rowSource(QStringLiteral("AddCalcExcelColumnDataSet"));
    auto* lines = data_->rowSource(QStringLiteral("AddCalcExcelRowDataSet"));
    lines->first();
    lines->next();
    columns->first();
    EXPECT_EQ(var("AddCalcTableValue"), QStringLiteral("1.5"));
    columns->next(); // the empty field between them is dropped
    EXPECT_EQ(var("AddCalcTableValue"), QStringLiteral("2.0"));
    lines->next();
    EXPECT_EQ(var("AddCalcTableValue"), QString());
    columns->first();
    EXPECT_EQ(var("AddCalcTableValue"), QStringLiteral("x"));

    load(with(tablesJob(), "comment", QString()));
    SetAddCalcTableCounts(*data_, *chrom_);
    EXPECT_EQ(rows("AddCalcExcelRowDataSet"), 0);
    EXPECT_EQ(rows("AddCalcExcelColumnDataSet"), 0);

    data_->addCalcCoefs = {{QStringLiteral("Давление, кПа"), 101.325}, {QStringLiteral("O'Brien"), 0}};
    data_->AddCalcCoefsDatasetFirst();
    EXPECT_EQ(var("AddCalcCoefName"), QStringLiteral("Давление, кПа"));
    EXPECT_EQ(var("AddCalcCoefValue"), num("101.325"));
    data_->AddCalcCoefsDatasetNext();
    EXPECT_EQ(*data_->CommonReport().variables().expression(QStringLiteral("AddCalcCoefName")),
              QStringLiteral("'O''Brien'"));
    data_->AddCalcCoefsDatasetNext();
    EXPECT_EQ(var("AddCalcCoefName"), QString());
}

TEST_F(chromtables, AddOnLine) {
    struct Case {
        const char* name;
        int language;
        QJsonObject chrom, method;
        QString line;
    };
    const auto obj = [](std::initializer_list<QPair<QString, QJsonValue>> v) {
        QJsonObject o;
        for (const auto& [k, x] : v)
            o.insert(k, x);
        return o;
    };
    const QString S = QStringLiteral("bMeth_CalcMethod"), A = QStringLiteral("bMeth_AddCalc");
    const Case cases[] = {
        {"normalisation says nothing", 1, {}, obj({{S, 0}}), QString()},
        {"unknown share", 1, obj({{QStringLiteral("dAdd_UnknownPct"), 1.234567}}), obj({{S, 1}, {A, 3}}),
         QStringLiteral("Процент неизвестных = ") + num("1.2346") + QStringLiteral(" ;")},
        {"gas contents above 0 only", 1,
         obj({{QStringLiteral("dAdd_H2S_CO2"), 0.5}, {QStringLiteral("dAdd_RatioN2O2"), 3.5}}), obj({{S, 2}, {A, 2}}),
         QStringLiteral(" Содержание H2S+CO2 : ") + num("0.5") + QStringLiteral(" ,% Соотношение K=N2/O2 : ") + num("3.5")},
        {"sample volume in grams", 2, obj({{QStringLiteral("dVolume"), 0.25}}),
         obj({{S, 2}, {A, 0}, {QStringLiteral("bSize_Volume"), 2}}),
         QStringLiteral("Sample volume: ") + num("0.25") + QStringLiteral(" г")},
        {"ethanol", 1, obj({{QStringLiteral("dVolume"), 1}, {QStringLiteral("dAdd_EthanolPct"), 5}}),
         obj({{S, 2}, {A, 1}, {QStringLiteral("bSize_Volume"), 1}}),
         QStringLiteral("Объем пробы: 1 мл     Объемная доля этилового спирта: 5%")},
        {"oil", 2, obj({{QStringLiteral("dVolume"), 2}, {QStringLiteral("dAdd_OilDensity"), 0.85}}), obj({{S, 2}, {A, 5}}),
         QStringLiteral("Sample volume: 2mcl     Плотность нефти: ") + num("0.85") + QStringLiteral(" g/sm3")},
        {"internal standard amount", 1,
         obj({{QStringLiteral("dIS_Amount2"), 1.5}, {QStringLiteral("dPure_Amount"), 10}}),
         obj({{S, 3}, {A, 0}, {QStringLiteral("bIS_QuantityKind"), 2}, {QStringLiteral("bSize_VolumeInt"), 1}}),
         QStringLiteral("Количество внутреннего стандарта: ") + num("1.5") +
             QStringLiteral(" % : Объем чистой пробы 10мл ")},
        {"extract", 2,
         obj({{QStringLiteral("bExtract_On"), 1}, {QStringLiteral("dExtract_Volume"), 5}, {QStringLiteral("dSample_Weight"), 2},
              {QStringLiteral("dVolume"), 1}}),
         obj({{S, 2}, {A, 0}}),
         QStringLiteral("Sample volume: 1 mclExtract volume: 5 ,ml Навеска образца: 2 ml(g)")},
        {"bio liquid replaces the line", 2,
         obj({{QStringLiteral("dIS_Amount"), 4}, {QStringLiteral("dPure_Amount"), 3}, {QStringLiteral("dBioCoef"), 1.25},
              {QStringLiteral("bExtract_On"), 1}}),
         obj({{S, 3}, {A, 3}}),
         QStringLiteral("Standart: 4ml*‰; Sample: 3 ml ;Коэф.биожидкости ") + num("1.25")},
    };
    for (const Case& c : cases) {
        QJsonObject job = tablesJob();
        QJsonObject chrom = job.value(QStringLiteral("chromatogram")).toObject();
        QJsonObject method = job.value(QStringLiteral("method")).toObject();
        for (auto it = c.chrom.begin(); it != c.chrom.end(); ++it)
            chrom.insert(it.key(), it.value());
        for (auto it = c.method.begin(); it != c.method.end(); ++it)
            method.insert(it.key(), it.value());
        job.insert(QStringLiteral("chromatogram"), chrom);
        job.insert(QStringLiteral("method"), method);
        load(job);
        tarvex::setLanguageIndex(c.language);
        EXPECT_EQ(IdentAddOnLine(*data_, *chrom_), c.line) << c.name;
        tarvex::setLanguageIndex(1);
    }
}

TEST_F(chromtables, GraphsConfigureTheChart) {
    QJsonObject job = tablesJob();
    job.insert(QStringLiteral("graphs"),
               QJsonArray {QJsonObject {{QStringLiteral("szGraph_Title"), QStringLiteral("Z(P)")},
                                        {QStringLiteral("bGraph_TitleOn"), 1},
                                        {QStringLiteral("szGraph_LeftTitle"), QStringLiteral("Z")},
                                        {QStringLiteral("dGraph_BottomMax"), 10},
                                        {QStringLiteral("bGraph_ValueFormat"), 1},
                                        {QStringLiteral("bGraph_Grid"), 1},
                                        {QStringLiteral("points"), QJsonArray {QJsonArray {0, 5}, QJsonArray {1, 2.5},
                                                                               QJsonArray {3, 4}}}},
                           QJsonObject {{QStringLiteral("bGraph_FromOrigin"), 1},
                                        {QStringLiteral("bGraph_Markers"), 1},
                                        {QStringLiteral("bGraph_ValueFormat"), 9},
                                        {QStringLiteral("points"), QJsonArray {QJsonArray {0, 1}}}}});
    load(job);
    ASSERT_EQ(chrom_->iAddCalcGraph_Count(), 2);
    useTemplate(QStringLiteral("<TfrxReportTitle Name=\"T\" Height=\"300\"><TfrxChartView Name=\"Chart1\" Width=\"300\" "
                               "Height=\"200\"/></TfrxReportTitle>"));
    auto* chart = data_->CommonReport().findObject<tarvex::engine::ChartView>(QStringLiteral("Chart1"));
    ASSERT_NE(chart, nullptr);
    auto* graphs = data_->rowSource(QStringLiteral("AddCalcGraphsDataSet"));
    graphs->setRangeEndCount(2);
    graphs->first();
    EXPECT_EQ(chart->title, QStringLiteral("Z(P)"));
    EXPECT_TRUE(chart->titleVisible);
    EXPECT_EQ(chart->leftAxis.title, QStringLiteral("Z"));
    EXPECT_FALSE(chart->leftAxis.titleVisible);
    EXPECT_FALSE(chart->bottomAxis.automatic);
    EXPECT_EQ(chart->bottomAxis.maximum, 10);
    EXPECT_TRUE(chart->gridVisible);
    EXPECT_FALSE(chart->labelsVisible);
    EXPECT_EQ(chart->valueFormat, QStringLiteral("0.0"));
    ASSERT_EQ(chart->series.size(), 2u);
    // The point (0, 5) is left out; the plain line shows the rest.
    for (const auto& s : chart->series) {
        EXPECT_EQ(s.source2, QStringLiteral("%1;4;").arg(num("2.5")));
        EXPECT_EQ(s.source3, QStringLiteral("1;3;"));
        EXPECT_EQ(s.active, !s.pointMarkers);
    }
    graphs->next();
    EXPECT_EQ(chart->valueFormat, QStringLiteral("0.0")); // format 9 keeps what the chart had
    EXPECT_FALSE(chart->titleVisible);
    for (const auto& s : chart->series) {
        EXPECT_EQ(s.source2, QStringLiteral("0;")); // only the origin
        EXPECT_EQ(s.source3, QStringLiteral("0;"));
        EXPECT_EQ(s.active, s.pointMarkers);
        EXPECT_EQ(s.points().size(), 1u);
    }
}

TEST_F(chromtables, DesignModeChangesNothing) {
    load(tablesJob());
    data_->addCalcCoefs = {{QStringLiteral("k"), 1}};
    data_->designMode = true;
    const std::size_t before = data_->CommonReport().variables().items().size();
    data_->PeakDetectorDatasetFirst();
    data_->IdentDatasetFirst();
    data_->GroupDatasetFirst();
    data_->JournalDatasetFirst();
    data_->IdentStatDataSetFirst();
    data_->AddCalcCoefsDatasetFirst();
    data_->CompStatChromFirst();
    EXPECT_EQ(data_->CommonReport().variables().items().size(), before);
    EXPECT_FALSE(data_->CommonReport().variables().contains(QStringLiteral("ChromPeakValue")));
    EXPECT_FALSE(data_->CommonReport().variables().contains(QStringLiteral("AddCalcCoefName")));
}

} // namespace
