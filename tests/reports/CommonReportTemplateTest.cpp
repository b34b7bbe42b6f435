// The built-in CommonReport template: its names and bindings, and a chromatogram prepared from it with
// every section switched on, row sources that refill their variables as the program's do, and an
// object hook that gives the cross-table columns their widths and the picture objects their images.
//
// With TARVEX_TEMPLATE_RENDER_DIR set, the prepared chromatogram is also written there as a PDF and as
// page pictures, for looking at.

#include "QtPrinters.h"

#include "Band.h"
#include "ChartView.h"
#include "Expression.h"
#include "MemoView.h"
#include "Page.h"
#include "PictureView.h"
#include "PreparedReport.h"
#include "Render.h"
#include "Report.h"
#include "RichView.h"
#include "RowSources.h"
#include "SubreportView.h"
#include "UserDataSet.h"
#include "VisibilitySources.h"
#include "templates.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <set>

using namespace tarvex::engine;

namespace {

QString userNameOfSwitch(const char* name)
{
    for (auto list : {ReportVisiblesSources(), MethodReportVisiblesSources()})
        for (const TVisibilitySourceInfo& s : list)
            if (qstrcmp(s.name, name) == 0)
                return QString::fromUtf8(s.userName);
    ADD_FAILURE() << "no section switch " << name;
    return {};
}

QString userNameOfRows(const char* name)
{
    const TRowSourceInfo* s = FindRowSource(name);
    if (!s) {
        ADD_FAILURE() << "no row source " << name;
        return {};
    }
    return QString::fromUtf8(s->userName);
}

bool loadBuiltIn(Report& r)
{
    const QByteArray bytes = tarvex::templates::bytes(QStringLiteral("CommonReport.fr3"));
    EXPECT_FALSE(bytes.isEmpty()) << "CommonReport.fr3 is not compiled in";
    LoadError error;
    const bool ok = r.loadFromData(bytes, &error);
    EXPECT_TRUE(ok) << error.toString().toStdString();
    return ok;
}

/// The data band an object prints with (the object itself when it is a band).
const Band* bandOf(const Object* o)
{
    while (o && o->kind() != ObjectKind::Band)
        o = o->parent();
    return static_cast<const Band*>(o);
}

const Page* pageOf(const Object* o)
{
    while (o && o->kind() != ObjectKind::Page)
        o = o->parent();
    return static_cast<const Page*>(o);
}

/// The user names of the bands an object prints inside, innermost first: its own band, the master bands
/// of a detail band, the bands holding the sub-report of its page, and so on up to the main page.
QStringList enclosingBindings(const Report& r, const Object* o)
{
    QStringList out;
    for (int guard = 0; o && guard < 20; ++guard) {
        const Band* b = bandOf(o);
        if (!b)
            break;
        if (!b->boundDataSetName().isEmpty())
            out << b->boundDataSetName();
        const Page* page = pageOf(b);
        // Masters: the nearest data band above with a lower nesting level, and so on.
        const Band* below = b;
        for (int level = b->dataLevel() - 1; level >= 1; --level) {
            const Band* nearest = nullptr;
            for (const Band* x : page->bands())
                if (!x->vertical && x->dataLevel() == level && x->top < below->top && (!nearest || x->top > nearest->top))
                    nearest = x;
            if (!nearest)
                break;
            if (!nearest->boundDataSetName().isEmpty())
                out << nearest->boundDataSetName();
            below = nearest;
        }
        const Object* holder = nullptr;
        std::function<void(const Object&)> find = [&](const Object& x) {
            if (x.kind() == ObjectKind::Subreport && static_cast<const SubreportView&>(x).pageName == page->name)
                holder = &x;
            for (const auto& c : x.children())
                find(*c);
        };
        find(const_cast<Report&>(r).root());
        o = holder;
    }
    return out;
}

/// The template dictionary: Russian line (lower case) -> English line.
QHash<QString, QString> dictionary()
{
    QHash<QString, QString> d;
    const QString text = tarvex::templates::text(QStringLiteral("translation-list.tsv"));
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0 && !d.contains(line.left(tab).trimmed().toLower()))
            d.insert(line.left(tab).trimmed().toLower(), line.mid(tab + 1));
    }
    return d;
}

void forEachObject(const Object& o, const std::function<void(const Object&)>& f)
{
    f(o);
    for (const auto& c : o.children())
        forEachObject(*c, f);
}

/// Text without blanks: a text broken into lines compares equal whether it broke at a blank or inside a word.
QString sq(const QString& s)
{
    QString out;
    for (QChar c : s)
        if (!c.isSpace())
            out += c;
    return out;
}

/// The texts of one page (or of all pages with page -1), one entry per text object, without blanks.
QStringList itemTexts(const PreparedReport& p, int page = -1)
{
    QStringList out;
    for (int i = 0; i < p.pageCount(); ++i) {
        if (page >= 0 && i != page)
            continue;
        for (const PreparedElement& e : p.pages[size_t(i)].elements)
            if (const auto* t = std::get_if<TextItem>(&e.item))
                out << sq(t->lines.join(QString()));
    }
    return out;
}

// ---------------------------------------------------------------------------------------------------
// A chromatogram for the template: passport variables, row sources and the object hook.

struct ColumnTable {
    std::vector<int> widths; // index 0 unused: columns count from 1
    int column = 1;
};

class ChromatogramRun {
public:
    Report report;
    PreparedReport prepared;
    std::map<QString, std::unique_ptr<UserDataSet>> sources;
    bool english = false;

    // Row counts.
    std::vector<int> peaksPerDetector{6, 3};
    int identRows = 7;
    int groupRows = 3;
    int journalRows = 4;
    int statRows = 3;
    int statChromRows = 3;
    int coefRows = 2;
    int addCalcRows = 3;
    int addCalcColumns = 3;
    int graphs = 1;
    int pictureStrips = 0; // 0: the whole picture

    ColumnTable peakCols{{0, 33, 55, 0, 70, 165, 60, 75, 50, 50, 45, 30, 30}};
    ColumnTable identCols{{0, 33, 150, 70, 60, 50, 60, 60, 60, 60, 60}};
    ColumnTable groupCols{{0, 33, 150, 70, 60, 60, 60, 60, 50, 60, 60}};
    ColumnTable journalCols{{0, 33, 80, 470, 80}};
    ColumnTable statCols{{0, 33, 120, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 0, 0}};
    ColumnTable addCalcCols{{0, 210, 210, 210}};

    int programmeRow = 0;
    int detector = 0, peak = 0, ident = 0, group = 0, journal = 0, stat = 0, statChrom = 0, coef = 0, strip = 0;
    QImage picture;

    bool load()
    {
        if (!loadBuiltIn(report))
            return false;
        if (english) {
            const QHash<QString, QString> d = dictionary();
            report.translateMemoLines([&](const QString& line) -> std::optional<QString> {
                auto it = d.constFind(line.toLower());
                return it == d.constEnd() ? std::nullopt : std::optional<QString>(*it);
            });
        }
        return true;
    }

    void text(const char* name, const QString& value) { report.setVariable(QString::fromLatin1(name), quoteText(value)); }

    UserDataSet& source(const QString& userName, int count)
    {
        auto& ds = sources[userName];
        if (!ds) {
            ds = std::make_unique<UserDataSet>(userName);
            report.addDataSet(ds.get());
        }
        ds->setRangeEndCount(count);
        return *ds;
    }
    UserDataSet& rows(const char* name, int count) { return source(userNameOfRows(name), count); }
    void section(const char* name, bool on) { source(userNameOfSwitch(name), on ? 1 : 0); }

    void setUp()
    {
        const bool en = english;
        auto pick = [en](const char* ru, const char* enText) { return QString::fromUtf8(en ? enText : ru); };
        // Passport
        text("szNameChrom", pick("Природный газ, проба 3", "Natural gas, sample 3"));
        text("szNameFile", QStringLiteral("NG-2025-0412-03.chr"));
        text("szFileMethod", QStringLiteral("/home/lab/methods/natural-gas/GOST-31371.7-2020-hydrocarbons-C1-C6-plus-"
                                            "permanent-gases-on-two-detectors.mtd"));
        text("szTime", QStringLiteral("12.04.2025 10:41:07"));
        text("FooterString", QStringLiteral("NG-2025-0412-03.chr"));
        text("szNameMan", pick("Петрова А. В.", "A. Petrova"));
        text("bType_Device", QStringLiteral("Tarvex 2000"));
        report.setVariable(QStringLiteral("bChrom_Num"), QStringLiteral("2"));
        text("bType_MultiDet", pick("ПИД + ДТП", "FID + TCD"));
        text("bWork_Dets", pick("ПИД-1, ДТП-1", "FID-1, TCD-1"));
        report.setVariable(QStringLiteral("iMax_Comp"), QStringLiteral("12"));
        report.setVariable(QStringLiteral("iMax_Group"), QStringLiteral("3"));
        for (const char* v : {"dContr_Times", "dContr_TempC0", "dContr_TempI", "dContr_TempD", "dContr_PressC01",
                              "dContr_PressC02", "bSpr_IDTP1", "bSpr_IDTP2", "iEZD_Diapazon", "bNum_Col", "iFlameTime",
                              "dFlameHyd", "dFlameAir", "ChrgGas1", "ChrgGas2", "ChrgGas3", "ChrgGas4", "ChrgAir",
                              "ChrgH2", "SplitChrgGas1", "SplitChrgGas2", "SplitChrgGas3", "SplitChrgGas4",
                              "SplitDelay", "EconomiaChrgGas1", "EconomiaChrgGas2", "EconomiaChrgGas3",
                              "EconomiaChrgGas4", "EconomiaTimeVcl", "ProduvkaChrgGas1", "ProduvkaChrgGas2",
                              "ProduvkaChrgGas3", "ProduvkaChrgGas4", "ProduvkaTime", "ProduvkaColumnTemp",
                              "ProduvkadBlow_Press", "iNumProba", "dVolume", "dCol_Leng1", "dCol_Diam1", "dCol_Leng2",
                              "dCol_Diam2", "dProc_TimeNoSorb", "dContrQsl_TempD1", "dContrQsl_TempD2",
                              "dContrQsl_TempD3", "dContrQsl_TempI1", "dContrQsl_TempI2", "dContrDx8_TempPK"})
            text(v, QString::number(qHash(QString::fromLatin1(v)) % 400 + 0.25 * (qHash(QString::fromLatin1(v)) % 4)));
        text("bFlag_Flame", pick("Да", "Yes"));
        for (const char* v : {"ChrgGasType1", "ChrgGasType2", "ChrgGasType3", "ChrgGasType4"})
            text(v, pick("Азот", "Nitrogen"));
        text("bSize_Volume", pick("мкл", "mcl"));
        text("bSize_Conc", pick(" %мас.", " %mass"));
        text("szCol_Name1", pick("HP-PLOT Al2O3 \"S\", капиллярная для лёгких углеводородов",
                                 "HP-PLOT Al2O3 \"S\", capillary for light hydrocarbons"));
        text("bType_Column1", pick("Капиллярная", "Capillary"));
        text("szCol_Factory1", QStringLiteral("Agilent"));
        text("szCol_AddName1", QStringLiteral("50 m x 0.53 mm x 15 um"));
        text("szCol_Name2", pick("Молекулярное сито 5А", "Molecular sieve 5A"));
        text("bType_Column2", pick("Насадочная", "Packed"));
        text("szCol_Factory2", QStringLiteral("Restek"));
        text("szCol_AddName2", QString());
        text("bIdent_Type", pick("Время", "Time"));
        text("bIdent_Peak", pick("Ближайший по времени", "Nearest on time"));
        text("bIdent_ReperPeak", pick("Максимальная площадь", "Maximal area"));
        text("bProc_All", pick("Да", "Yes"));
        text("bType_Index", pick("Логарифмический", "Logarithmic"));
        text("bType_ProcIndex", pick("с идентификацией", "With identification"));
        text("bBase_Index", pick("Время", "Time"));
        text("IntStandart", pick("Абсолютная градуировка", "Absolute calibration"));
        text("ChromPeakAddOn", pick("Недетектируемый компонент 0.42%", "Undetectable component 0.42%"));
        text("IdentAddOn", pick("Объем пробы: 1000 мкл", "Sample volume: 1000 mcl"));

        // Section switches: every chromatogram section on, the method ones off.
        for (const TVisibilitySourceInfo& s : ReportVisiblesSources())
            section(s.name, true);
        for (const TVisibilitySourceInfo& s : MethodReportVisiblesSources())
            section(s.name, false);
        for (const char* m : {"MethodPrint", "MethodPasport", "MethodComment", "DTP1Print", "DTP2Print", "EZDPrint",
                              "DAJPrint", "DAGPrint", "CranBlowPrint", "CranChangePrint", "DRPPrint", "HT300APrint",
                              "DevicePrint", "Column2ProgPress"})
            section(m, false);
        section("TempRx4", true);
        section("ChromPicturePrintSolid", pictureStrips == 0);

        // Peak table: detectors, their peaks, the columns.
        UserDataSet& dets = rows("PeakDetectorDataset", int(peaksPerDetector.size()));
        UserDataSet& peaks = rows("PeakDataSet", 0);
        auto selectDetector = [this, &peaks] {
            peaks.setRangeEndCount(peaksPerDetector[size_t(detector)]);
            peaks.first();
        };
        dets.onFirst = [this, selectDetector] { detector = 0; selectDetector(); };
        dets.onNext = [this, selectDetector] { ++detector; selectDetector(); };
        peaks.onFirst = [this] { peak = 0; refillPeak(); };
        peaks.onNext = [this] { ++peak; refillPeak(); };
        columns("ChromPeakColumns", peakCols, [this] { refillPeak(); });

        UserDataSet& identDs = rows("IdentDataset", identRows);
        identDs.onFirst = [this] { ident = 0; refillIdent(); };
        identDs.onNext = [this] { ++ident; refillIdent(); };
        columns("ChromIdentColumn", identCols, [this] { refillIdent(); });

        UserDataSet& groupDs = rows("GroupDataset", groupRows);
        groupDs.onFirst = [this] { group = 0; refillGroup(); };
        groupDs.onNext = [this] { ++group; refillGroup(); };
        columns("ChromGroupColumn", groupCols, [this] { refillGroup(); });

        text("JournTitle", pick("Журнал событий", "Event journal"));
        UserDataSet& journalDs = rows("JournalDataset", journalRows);
        journalDs.onFirst = [this] { journal = 0; refillJournal(); };
        journalDs.onNext = [this] { ++journal; refillJournal(); };
        columns("JournalColumn", journalCols, [this] { refillJournal(); });

        UserDataSet& statDs = rows("IdentStatDataSet", statRows);
        statDs.onFirst = [this] { stat = 0; refillStat(); };
        statDs.onNext = [this] { ++stat; refillStat(); };
        columns("CompStatColumn", statCols, [this] { refillStat(); });
        UserDataSet& statChromDs = rows("CompStatChrom", statChromRows);
        statChromDs.onFirst = [this] { statChrom = 0; text("StatChromName", QStringLiteral("NG-2025-0411-0%1.chr").arg(statChrom + 1)); };
        statChromDs.onNext = [this] { ++statChrom; text("StatChromName", QStringLiteral("NG-2025-0411-0%1.chr").arg(statChrom + 1)); };

        UserDataSet& coefDs = rows("AddCalcCoefsDataset", coefRows);
        auto refillCoef = [this, pick] {
            text("AddCalcCoefName", pick("Коэффициент сжимаемости %1", "Compressibility factor %1").arg(coef + 1));
            text("AddCalcCoefValue", QStringLiteral("0.99%1").arg(coef + 7));
        };
        coefDs.onFirst = [this, refillCoef] { coef = 0; refillCoef(); };
        coefDs.onNext = [this, refillCoef] { ++coef; refillCoef(); };

        UserDataSet& addRows = rows("AddCalcExcelRowDataSet", addCalcRows);
        UserDataSet& addCols = rows("AddCalcExcelColumnDataSet", addCalcColumns);
        auto refillCell = [this, &addRows, &addCols] {
            addCalcCols.column = addCols.recNo() + 1;
            text("AddCalcTableValue", QStringLiteral("R%1C%2").arg(addRows.recNo() + 1).arg(addCols.recNo() + 1));
        };
        for (UserDataSet* d : {&addRows, &addCols})
            d->onFirst = d->onNext = d->onPrior = refillCell;

        UserDataSet& graphDs = rows("AddCalcGraphsDataSet", graphs);
        graphDs.onFirst = graphDs.onNext = [this] {
            auto* chart = report.findObject<ChartView>(QStringLiteral("Chart1"));
            if (!chart || chart->series.empty())
                return;
            chart->title = english ? QStringLiteral("Heat of combustion") : QStringLiteral("Теплота сгорания");
            chart->leftAxis.title = QStringLiteral("F(X)");
            chart->series[0].source2 = QStringLiteral("0;1.5;2.5;3.1;3.6;");
            chart->series[0].source3 = QStringLiteral("0;1;2;3;4;");
        };

        // Temperature and pressure programmes: five oven steps, two steps of the others.
        UserDataSet& oven = rows("TempProgrDataSet", 5);
        UserDataSet& press = rows("PressProgrDataSet", 2);
        auto refillProgramme = [this](int r) {
            text("PrgrColumnTemp", QString::number(40 + 40 * r));
            text("PrgrColumnTime", r < 4 ? QString::number(r + 2) : QString());
            text("PrgrColumnSpeed", r < 4 ? QString::number(10 + r) : QString());
            if (r < 2) {
                text("PrgrIspTemp", QString::number(150 + 100 * r));
                text("PrgrIspTime", r == 0 ? QStringLiteral("0.5") : QStringLiteral("-"));
                text("PrgrIspSpeed", r == 0 ? QStringLiteral("200") : QStringLiteral("0"));
                text("PrgrPressPressure1", r == 0 ? QStringLiteral("1.2") : QStringLiteral("2.4"));
                text("PrgrPressTime1", r == 0 ? QStringLiteral("3") : QStringLiteral("-"));
                text("PrgrPressSpeed1", r == 0 ? QStringLiteral("0.1") : QStringLiteral("0"));
            }
        };
        oven.onFirst = [this, refillProgramme] { programmeRow = 0; refillProgramme(programmeRow); };
        oven.onNext = [this, refillProgramme] { refillProgramme(++programmeRow); };
        press.onFirst = [this, refillProgramme] { programmeRow = 0; refillProgramme(programmeRow); };
        press.onNext = [this, refillProgramme] { refillProgramme(++programmeRow); };

        UserDataSet& strips = rows("BitmapPartDataSet", pictureStrips);
        strips.onFirst = [this] { strip = 0; };
        strips.onNext = [this] { ++strip; };

        // The chromatogram picture as the host draws it.
        picture = QImage(620, 320, QImage::Format_RGB32);
        picture.fill(Qt::white);
        {
            QPainter p(&picture);
            p.setPen(Qt::black);
            p.drawRect(0, 0, 619, 319);
            QPolygonF line;
            for (int x = 10; x < 610; ++x) {
                double y = 300;
                for (int k = 0; k < 9; ++k)
                    y -= (250.0 / (k + 1)) * std::exp(-std::pow((x - 40 - 62.0 * k) / (3.0 + k), 2));
                line << QPointF(x, y);
            }
            p.drawPolyline(line);
        }
        if (auto* whole = report.findObject<PictureView>(QStringLiteral("Picture2")))
            whole->picture = picture;
        // Texts the program writes into the template's memos.
        if (auto* m = report.findObject<MemoView>(QStringLiteral("Memo251")))
            m->text = pick("Метан, этан и пропан по ГОСТ 31371.7; проба отобрана в баллон 12.04.2025",
                           "Methane, ethane and propane to GOST 31371.7; sampled into a cylinder 12.04.2025");
        if (auto* m = report.findObject<MemoView>(QStringLiteral("Memo8")))
            m->text = pick("Точка отбора: узел учёта газа № 2", "Sampling point: gas metering station 2");

        report.onBeforePrint = [this](Object& o) { hook(o); };
    }

    void columns(const char* name, ColumnTable& table, std::function<void()> refill)
    {
        UserDataSet& ds = rows(name, int(table.widths.size()) - 1);
        ds.onFirst = [&table, refill] { table.column = 1; refill(); };
        ds.onNext = [&table, refill] { ++table.column; refill(); };
    }

    void refillPeak()
    {
        static const char* const ru[] = {"", "№", "Время, мин", "Индекс", "Детектор", "Компонент", "Высота,мв",
                                         "Площадь,мв*мин", "Высота,%", "Площадь,%", "Ширина,сек", "Тип", "Группа"};
        static const char* const en[] = {"", "№", "Time,min", "Index", "Detector", "Component", "Heigth,mv",
                                         "Area,mv*min", "Heigth,%", "Area,%", "Width,sec", "Type", "Group"};
        const int c = peakCols.column;
        text("ChromPeakHeader", QString::fromUtf8((english ? en : ru)[c]));
        text("ChromPeakValue", peakValue(detector, peak, c));
        text("ChromPeakSumma", c == 6 ? QStringLiteral("%1.000").arg(1000 + detector) : c == 8 || c == 9 ? QStringLiteral("99.58") : QString());
    }
    QString peakValue(int d, int p, int c) const
    {
        switch (c) {
        case 1: return QString::number(p + 1);
        case 2: return QStringLiteral("%1.%2").arg(d * 10 + p + 1).arg(100 + p * 7);
        case 4: return d == 0 ? QStringLiteral("FID-1") : QStringLiteral("TCD-1");
        case 5: return componentName(d * 10 + p);
        case 11: return QStringLiteral("Б-Б   ");
        case 12: return p % 2 ? QStringLiteral("1,3") : QString();
        default: return QStringLiteral("%1.%2%3").arg(c).arg(d).arg(p);
        }
    }
    QString componentName(int i) const
    {
        static const char* const ru[] = {"Метан", "Этан", "Пропан", "изо-Бутан", "н-Бутан", "нео-Пентан",
                                         "изо-Пентан", "н-Пентан", "Гексаны + высшие"};
        static const char* const en[] = {"Methane", "Ethane", "Propane", "iso-Butane", "n-Butane", "neo-Pentane",
                                         "iso-Pentane", "n-Pentane", "Hexanes plus"};
        // Column events also come before the first row (index -1): no name there.
        if (i < 0)
            return QString();
        return QString::fromUtf8((english ? en : ru)[i % 9]);
    }
    void refillIdent()
    {
        const int c = identCols.column;
        static const char* const ru[] = {"", "№", "Компонент", "Детектор", "Время,мин", "Окно,мин", "Конц. 1, %мас.",
                                         "Конц. 2, %об.", "Конц. 3, мг/м3", "Высота,мв", "Площадь,мв*мин"};
        static const char* const en[] = {"", "№", "Component", "Detector", "Time,min", "Window,min", "Conc. 1, %mass",
                                         "Conc. 2, %vol.", "Conc. 3, mg/m3", "Heigth,mv", "Area,mv*min"};
        text("IdentHeader", QString::fromUtf8((english ? en : ru)[c]));
        text("IdentValue", c == 1 ? QString::number(ident + 1) : c == 2 ? componentName(ident)
                           : c == 3 ? QStringLiteral("FID-1") : QStringLiteral("%1.%2").arg(c).arg(ident));
        text("IdentSumma", c >= 6 ? QStringLiteral("Σ%1").arg(c) : QString());
    }
    void refillGroup()
    {
        const int c = groupCols.column;
        static const char* const ru[] = {"", "№", "Группа", "Детектор", "Время начала, мин", "Время конца, мин",
                                         "Конц. 1", "Конц. 2", "Конц. 3", "Высота,мв", "Площадь,мв*мин"};
        static const char* const en[] = {"", "№", "Group", "Detector", "Time start,min", "Time end,min",
                                         "Conc. 1", "Conc. 2", "Conc. 3", "Heigth,mv", "Area,mv*min"};
        text("GroupHeader", QString::fromUtf8((english ? en : ru)[c]));
        text("GroupValue", c == 1 ? QString::number(group + 1) : c == 2 ? (english ? QStringLiteral("C%1 hydrocarbons") : QStringLiteral("Углеводороды C%1")).arg(group + 3)
                           : QStringLiteral("g%1.%2").arg(c).arg(group));
    }
    void refillJournal()
    {
        const int c = journalCols.column;
        static const char* const ru[] = {"", "№", "Время,мин", "Событие", "Тип"};
        static const char* const en[] = {"", "№", "Time,min", "Event", "Type"};
        text("JournHeader", QString::fromUtf8((english ? en : ru)[c]));
        text("JournValue", c == 1 ? QString::number(journal + 1) : c == 2 ? QStringLiteral("%1.5").arg(journal)
                           : c == 3 ? (english ? QStringLiteral("Valve %1") : QStringLiteral("Кран %1")).arg(journal + 1)
                                    : (english ? QStringLiteral("Enab.") : QStringLiteral("Вкл.")));
    }
    void refillStat()
    {
        const int c = statCols.column;
        text("StatHeader", c == 1 ? QStringLiteral("№") : c == 2 ? (english ? QStringLiteral("Component") : QStringLiteral("Компонент"))
                                    : QStringLiteral("S%1").arg(c));
        text("StatValue", c == 1 ? QString::number(stat + 1) : c == 2 ? componentName(stat) : QStringLiteral("%1.%2").arg(c).arg(stat));
    }

    void hook(Object& o)
    {
        static const QHash<QString, int> tableOf{
            {QStringLiteral("MasterData49"), 0}, {QStringLiteral("Memo272"), 0}, {QStringLiteral("Memo273"), 0},
            {QStringLiteral("Memo274"), 0}, {QStringLiteral("MasterData56"), 1}, {QStringLiteral("Memo277"), 1},
            {QStringLiteral("Memo278"), 1}, {QStringLiteral("Memo1"), 1}, {QStringLiteral("MasterData60"), 2},
            {QStringLiteral("Memo281"), 2}, {QStringLiteral("Memo282"), 2}, {QStringLiteral("MasterData64"), 3},
            {QStringLiteral("Memo284"), 3}, {QStringLiteral("Memo285"), 3}, {QStringLiteral("MasterData68"), 4},
            {QStringLiteral("Memo287"), 4}, {QStringLiteral("Memo288"), 4}, {QStringLiteral("MasterData106"), 5},
            {QStringLiteral("Memo671"), 5}};
        auto it = tableOf.constFind(o.name);
        if (it != tableOf.constEnd()) {
            ColumnTable* t[] = {&peakCols, &identCols, &groupCols, &journalCols, &statCols, &addCalcCols};
            const ColumnTable& table = *t[*it];
            const int w = table.widths[size_t(table.column)];
            o.visible = w > 0;
            o.printable = o.visible;
            o.width = w;
            return;
        }
        if (o.name == QLatin1String("Picture1")) {
            QImage part(picture.width(), 30, QImage::Format_RGB32);
            part.fill(Qt::white);
            for (int y = 0; y < 30; ++y)
                if (strip * 30 + y < picture.height())
                    std::memcpy(part.scanLine(y), picture.constScanLine(strip * 30 + y), size_t(picture.bytesPerLine()));
            auto& pic = static_cast<PictureView&>(o);
            pic.width = part.width();
            pic.picture = part;
        } else if (o.name == QLatin1String("Rich1")) {
            static_cast<RichView&>(o).richText = english ? QStringLiteral("Gas analysis laboratory, Tarvex Ltd.")
                                                         : QStringLiteral("Лаборатория газового анализа ООО «Тарвекс»");
        } else if (o.name == QLatin1String("Rich2")) {
            static_cast<RichView&>(o).richText = english ? QStringLiteral("Analyst: ____________   Approved: ____________")
                                                         : QStringLiteral("Аналитик: ____________   Утвердил: ____________");
        } else if (o.name == QLatin1String("Rich3")) {
            static_cast<RichView&>(o).richText = english ? QStringLiteral("Heat of combustion, higher: 39.84 MJ/m3\nDensity: 0.7231 kg/m3")
                                                         : QStringLiteral("Теплота сгорания высшая: 39.84 МДж/м3\nПлотность: 0.7231 кг/м3");
        }
    }

    bool run()
    {
        if (!load())
            return false;
        setUp();
        QString error;
        const bool ok = report.prepare(prepared, &error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }

    QStringList allTexts() const { return itemTexts(prepared); }
};

// The font as the engine measures it (report units as pixels, no hinting).
QFont fontOf(const TextFont& f)
{
    QFont font(f.family);
    font.setPixelSize(std::max(1, qRound(f.pixelSize)));
    font.setBold(f.style & Font::Bold);
    font.setItalic(f.style & Font::Italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

/// Every text inside the printable area, inside its box (nothing clipped) and not overlapping another.
void expectCleanPages(const PreparedReport& prepared)
{
    const double margin = 10 * kUnitsPerMm;
    for (int pageNo = 0; pageNo < prepared.pageCount(); ++pageNo) {
        const PreparedPage& page = prepared.pages[size_t(pageNo)];
        const QRectF area(margin, margin, page.size.width() - 2 * margin, page.size.height() - 2 * margin);
        std::vector<const TextItem*> texts;
        for (const PreparedElement& e : page.elements) {
            std::visit([&](const auto& item) {
                using T = std::decay_t<decltype(item)>;
                if constexpr (std::is_same_v<T, LineItem>) {
                    EXPECT_TRUE(area.adjusted(-1, -1, 1, 1).contains(item.from) && area.adjusted(-1, -1, 1, 1).contains(item.to))
                        << "page " << pageNo + 1 << ": line outside the margins from " << item.from.x() << ","
                        << item.from.y() << " to " << item.to.x() << "," << item.to.y();
                } else if constexpr (std::is_same_v<T, ShapeItem>) {
                    const bool byPoints = item.kind == ShapeItem::Kind::Polyline || item.kind == ShapeItem::Kind::Polygon;
                    const QRectF box = byPoints ? item.points.boundingRect() : item.rect;
                    EXPECT_TRUE(area.adjusted(-1, -1, 1, 1).contains(box))
                        << "page " << pageNo + 1 << ": shape outside the margins at " << box.x() << "," << box.y();
                } else {
                    EXPECT_TRUE(area.adjusted(-1, -1, 1, 1).contains(item.rect))
                        << "page " << pageNo + 1 << ": element outside the margins at " << item.rect.x() << ","
                        << item.rect.y() << " " << item.rect.width() << "x" << item.rect.height();
                }
                if constexpr (std::is_same_v<T, TextItem>)
                    texts.push_back(&item);
            }, e.item);
        }
        // Texts of the template's memos; the chart draws its own labels in the engine's default font.
        std::erase_if(texts, [](const TextItem* t) { return t->font.family != QLatin1String("Liberation Sans"); });
        for (const TextItem* t : texts) {
            const QFontMetricsF fm(fontOf(t->font));
            for (const QString& line : t->lines)
                EXPECT_LE(fm.horizontalAdvance(line.trimmed()), t->rect.width() - 2 * t->gapX + 1.0)
                    << "page " << pageNo + 1 << ": \"" << line.toStdString() << "\" does not fit its box";
            EXPECT_LE(t->lines.size() * (t->lineHeight - 2) + 2 * t->gapY, t->rect.height() + 1.0)
                << "page " << pageNo + 1 << ": \"" << t->lines.join(QLatin1Char('|')).toStdString() << "\" is cut off below";
        }
        // A heading (bold, larger than the tables' text) is followed on its page by what it heads.
        const double footerTop = page.size.height() - margin - 26;
        for (const TextItem* t : texts) {
            if (!(t->font.style & Font::Bold) || t->font.pixelSize < 12.5 || t->rect.top() >= footerTop)
                continue;
            const bool followed = std::any_of(texts.begin(), texts.end(), [&](const TextItem* u) {
                return u->rect.top() >= t->rect.bottom() - 0.5 && u->rect.top() < footerTop;
            });
            EXPECT_TRUE(followed) << "page " << pageNo + 1 << ": heading \"" << t->lines.join(QLatin1Char(' ')).toStdString()
                                  << "\" ends the page";
        }
        for (size_t i = 0; i < texts.size(); ++i)
            for (size_t j = i + 1; j < texts.size(); ++j) {
                const QRectF overlap = texts[i]->rect.intersected(texts[j]->rect);
                EXPECT_FALSE(overlap.width() > 1 && overlap.height() > 1)
                    << "page " << pageNo + 1 << ": \"" << texts[i]->lines.join(QLatin1Char(' ')).toStdString()
                    << "\" overlaps \"" << texts[j]->lines.join(QLatin1Char(' ')).toStdString() << "\"";
            }
    }
}

void writeForLooking(const PreparedReport& prepared, const QString& name)
{
    const QString dir = qEnvironmentVariable("TARVEX_TEMPLATE_RENDER_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    QString error;
    EXPECT_TRUE(exportPdf(prepared, dir + QLatin1Char('/') + name + QStringLiteral(".pdf"), &error)) << error.toStdString();
    EXPECT_FALSE(exportImages(prepared, dir + QLatin1Char('/') + name + QStringLiteral("-%1.png"), QStringLiteral("PNG"), 70, &error).isEmpty())
        << error.toStdString();
}

qsizetype indexOfText(const QStringList& texts, const QString& t, qsizetype from = 0)
{
    for (qsizetype i = from; i < texts.size(); ++i)
        if (texts[i] == t)
            return i;
    return -1;
}

} // namespace

// ---------------------------------------------------------------------------------------------------

TEST(CommonReportTemplate, PageObjectsAndBindings)
{
    Report r;
    ASSERT_TRUE(loadBuiltIn(r));
    const std::vector<Page*> pages = r.pages();
    ASSERT_FALSE(pages.empty());
    const Page& main = *pages.front();
    EXPECT_EQ(main.paperSize, 9);
    EXPECT_FALSE(main.landscape);
    EXPECT_DOUBLE_EQ(main.paperWidth, 210);
    EXPECT_DOUBLE_EQ(main.paperHeight, 297);
    for (double m : {main.leftMargin, main.rightMargin, main.topMargin, main.bottomMargin})
        EXPECT_DOUBLE_EQ(m, 10);
    EXPECT_TRUE(r.options.doublePass);
    EXPECT_FALSE(r.options.printIfEmpty);

    // Every sub-report names a page of the template, and every other page is printed through one.
    std::set<QString> subPages;
    forEachObject(r.root(), [&](const Object& o) {
        if (o.kind() == ObjectKind::Subreport) {
            const QString page = static_cast<const SubreportView&>(o).pageName;
            EXPECT_NE(r.findObject<Page>(page), nullptr) << o.name.toStdString() << " -> " << page.toStdString();
            EXPECT_TRUE(subPages.insert(page).second) << page.toStdString() << " is used twice";
        }
    });
    for (size_t i = 1; i < pages.size(); ++i)
        EXPECT_TRUE(subPages.count(pages[i]->name)) << pages[i]->name.toStdString() << " is never printed";

    // Objects the program reaches by name, with the section (innermost binding first) they print in.
    struct Expect {
        const char* object;
        ObjectKind kind;
        QStringList bindings; // user names of the bands it prints inside, innermost first
        const char* text = nullptr;
    };
    const QString peaks = userNameOfSwitch("PeakPrint");
    const QString ident = userNameOfSwitch("IdentPrint");
    const QString groups = userNameOfSwitch("ChromGroupPrint");
    const QString journal = userNameOfSwitch("JournalPrint");
    const QString stat = userNameOfSwitch("CompStatPrint");
    const QString addCalc = userNameOfSwitch("AddCalcPrint");
    const QString picture = userNameOfSwitch("ChromPicturePrint");
    const Expect expects[] = {
        {"Rich1", ObjectKind::Rich, {userNameOfSwitch("TitleRTFPrint")}},
        {"Rich2", ObjectKind::Rich, {userNameOfSwitch("EndRTFPrint")}},
        {"Rich3", ObjectKind::Rich, {userNameOfSwitch("AddCalcRTFPrint"), addCalc}},
        {"Picture2", ObjectKind::Picture, {userNameOfSwitch("ChromPicturePrintSolid"), picture}},
        {"Picture1", ObjectKind::Picture, {userNameOfRows("BitmapPartDataSet"), picture}},
        {"Chart1", ObjectKind::Chart, {userNameOfRows("AddCalcGraphsDataSet"), addCalc}},
        {"Memo251", ObjectKind::Memo, {userNameOfSwitch("ChromPrintComment"), userNameOfSwitch("ChromTitlePrint")}},
        {"Memo270", ObjectKind::Memo, {userNameOfSwitch("MethodComment")}},
        {"Memo8", ObjectKind::Memo, {userNameOfSwitch("ProbaPrint")}},
        {"MasterData49", ObjectKind::Band, {userNameOfRows("ChromPeakColumns"), peaks}},
        {"Memo272", ObjectKind::Memo, {peaks}, "[ChromPeakHeader]"},
        {"Memo273", ObjectKind::Memo, {userNameOfRows("PeakDataSet"), userNameOfRows("PeakDetectorDataset"), peaks}, "[ChromPeakValue]"},
        {"Memo274", ObjectKind::Memo, {peaks}, "[ChromPeakSumma]"},
        {"MasterData56", ObjectKind::Band, {userNameOfRows("ChromIdentColumn"), ident}},
        {"Memo277", ObjectKind::Memo, {ident}, "[IdentHeader]"},
        {"Memo278", ObjectKind::Memo, {userNameOfRows("IdentDataset"), ident}, "[IdentValue]"},
        {"Memo1", ObjectKind::Memo, {ident}, "[IdentSumma]"},
        {"MasterData60", ObjectKind::Band, {userNameOfRows("ChromGroupColumn"), groups}},
        {"Memo281", ObjectKind::Memo, {groups}, "[GroupHeader]"},
        {"Memo282", ObjectKind::Memo, {userNameOfRows("GroupDataset"), groups}, "[GroupValue]"},
        {"MasterData64", ObjectKind::Band, {userNameOfRows("JournalColumn"), journal}},
        {"Memo284", ObjectKind::Memo, {journal}, "[JournHeader]"},
        {"Memo285", ObjectKind::Memo, {userNameOfRows("JournalDataset"), journal}, "[JournValue]"},
        {"MasterData68", ObjectKind::Band, {userNameOfRows("CompStatColumn"), stat}},
        {"Memo287", ObjectKind::Memo, {stat}, "[StatHeader]"},
        {"Memo288", ObjectKind::Memo, {userNameOfRows("IdentStatDataSet"), stat}, "[StatValue]"},
        {"MasterData106", ObjectKind::Band, {userNameOfRows("AddCalcExcelColumnDataSet"), userNameOfSwitch("AddCalcTextPrint"), addCalc}},
        {"Memo671", ObjectKind::Memo, {userNameOfRows("AddCalcExcelRowDataSet"), userNameOfSwitch("AddCalcTextPrint"), addCalc}, "[AddCalcTableValue]"},
        {"DetailData8", ObjectKind::Band, {userNameOfRows("TempProgrDataSet"), userNameOfSwitch("ProgColumnPrint"), userNameOfSwitch("TempPrint")}},
        {"Memo68", ObjectKind::Memo, {userNameOfRows("TempProgrDataSet"), userNameOfSwitch("ProgColumnPrint"), userNameOfSwitch("TempPrint")}, "[PrgrColumnTime]"},
        {"Memo69", ObjectKind::Memo, {userNameOfRows("TempProgrDataSet"), userNameOfSwitch("ProgColumnPrint"), userNameOfSwitch("TempPrint")}, "[PrgrColumnSpeed]"},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.object);
        const Object* o = r.findObject(QString::fromLatin1(e.object));
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->kind(), e.kind);
        if (e.text) {
            ASSERT_EQ(o->kind(), ObjectKind::Memo);
            EXPECT_EQ(static_cast<const MemoView*>(o)->text, QString::fromLatin1(e.text));
        }
        QStringList got = enclosingBindings(r, o);
        // Header and footer cells print with their data band; their own band has no binding.
        EXPECT_EQ(got.mid(0, e.bindings.size()), e.bindings) << got.join(QStringLiteral(" < ")).toStdString();
    }
    // The vertical bands are columns of their tables; DetailData8 is a detail band under its switch.
    for (const char* v : {"MasterData49", "MasterData56", "MasterData60", "MasterData64", "MasterData68", "MasterData106"}) {
        const auto* b = r.findObject<Band>(QString::fromLatin1(v));
        ASSERT_NE(b, nullptr) << v;
        EXPECT_TRUE(b->vertical) << v;
        EXPECT_EQ(b->bandKind(), BandKind::MasterData) << v;
    }
    const auto* peakRows = bandOf(r.findObject(QStringLiteral("Memo273")));
    ASSERT_NE(peakRows, nullptr);
    EXPECT_EQ(peakRows->bandKind(), BandKind::DetailData);
    // Its master walks the detectors.
    const Page* peakPage = pageOf(peakRows);
    bool detectorMaster = false;
    for (const Band* b : peakPage->bands())
        if (b->bandKind() == BandKind::MasterData && !b->vertical && b->top < peakRows->top
            && b->boundDataSetName() == userNameOfRows("PeakDetectorDataset"))
            detectorMaster = true;
    EXPECT_TRUE(detectorMaster);
    EXPECT_EQ(r.findObject<Band>(QStringLiteral("DetailData8"))->bandKind(), BandKind::DetailData);
    // The table headers repeat on a new page.
    for (const char* m : {"Memo272", "Memo277", "Memo281", "Memo284", "Memo287"}) {
        const Band* h = bandOf(r.findObject(QString::fromLatin1(m)));
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->bandKind(), BandKind::Header) << m;
        EXPECT_TRUE(h->reprintOnNewPage) << m;
    }

    // Each optional section is bound to its switch, or to a row source, by a user name the program has.
    const QStringList used = r.referencedDataSets();
    std::set<QString> known;
    for (auto list : {ReportVisiblesSources(), MethodReportVisiblesSources()})
        for (const TVisibilitySourceInfo& s : list)
            known.insert(QString::fromUtf8(s.userName));
    for (const TRowSourceInfo& s : RowSources())
        known.insert(QString::fromUtf8(s.userName));
    for (const QString& u : used)
        EXPECT_TRUE(known.count(u)) << "unknown data set " << u.toStdString();
    for (const char* s : {"ChromTitlePrint", "ChromPrintMan", "ChromPrintDevice", "ChromPrintComment", "UpravlPrint",
                          "TempPrint", "TempColumnPrint", "ProgColumnPrint", "VaportTempPrint", "DetectorTempPrint",
                          "VaportPrint", "GasPrint", "Gas3Print", "Gas4Print", "H2AirPrint", "Column1Press",
                          "Column2Press", "Column1ProgPress", "Column2ProgPress", "BlowPress", "SplitPrint",
                          "EconomiaPrint", "BlowPrint", "ProbaPrint", "ColumnPrint", "Column1Print", "Column2Print",
                          "IdentParams", "CalcParams", "IndexPrint", "DTP1Print", "DTP2Print", "EZDPrint",
                          "ChromPicturePrint", "ChromPicturePrintSolid", "PeakPrint", "ChromPeakAddOnPrint",
                          "IdentPrint", "ChromIdentAddOnPrint", "ChromGroupPrint", "JournalPrint", "CompStatPrint",
                          "StatChromPrint", "AddCalcPrint", "AddCalcRTFPrint", "AddCalcTextPrint", "AddCalcCoefPrint",
                          "TitleRTFPrint", "EndRTFPrint", "MethodPrint", "MethodPasport", "MethodComment",
                          "DevicePrint", "IntegrEventsPrint", "MethodCompPrint", "MethodCompPrintShort",
                          "MethodCompReportPrintBenzin", "MethodGroupPrint", "MethodGroupPrintShort",
                          "MethodGroupReportPrintBenzin", "MethodModulePrint", "TempRx4", "Qsl", "QslTempDet1",
                          "QslTempDet2", "QslTempDet3", "QslTempISP1", "QslTempISP2", "Dx8PKVisible"})
        EXPECT_TRUE(used.contains(userNameOfSwitch(s))) << s << " binds no section";
    for (const char* s : {"PeakDataSet", "ChromPeakColumns", "PeakDetectorDataset", "IdentDataset", "ChromIdentColumn",
                          "GroupDataset", "ChromGroupColumn", "BitmapPartDataSet", "JournalDataset", "JournalColumn",
                          "CompStatColumn", "IdentStatDataSet", "CompStatChrom", "AddCalcCoefsDataset",
                          "AddCalcExcelRowDataSet", "AddCalcExcelColumnDataSet", "AddCalcGraphsDataSet",
                          "TempProgrDataSet", "PressProgrDataSet"})
        EXPECT_TRUE(used.contains(userNameOfRows(s))) << s << " feeds no band";
}

TEST(CommonReportTemplate, EveryFixedLineIsInTheDictionary)
{
    // English reports come from translating memo lines one by one; a fixed line the dictionary lacks
    // would stay Russian. Lines holding [expressions] are left alone by design.
    Report r;
    ASSERT_TRUE(loadBuiltIn(r));
    const QHash<QString, QString> d = dictionary();
    int lines = 0;
    forEachObject(r.root(), [&](const Object& o) {
        if (o.kind() != ObjectKind::Memo)
            return;
        for (const QString& raw : static_cast<const MemoView&>(o).text.split(QStringLiteral("\r\n"))) {
            const QString line = raw.trimmed();
            if (line.isEmpty() || line.contains(QLatin1Char('[')) || line == QStringLiteral("№"))
                continue;
            ++lines;
            EXPECT_TRUE(d.contains(line.toLower())) << o.name.toStdString() << ": " << line.toStdString();
        }
        // Variables stay on lines of their own, apart from fixed text.
        for (const QString& raw : static_cast<const MemoView&>(o).text.split(QStringLiteral("\r\n"))) {
            static const QRegularExpression fixedAndVariable(QStringLiteral("[А-Яа-яЁё].*\\[|\\].*[А-Яа-яЁё]"));
            EXPECT_FALSE(fixedAndVariable.match(raw).hasMatch()) << o.name.toStdString() << ": " << raw.toStdString();
        }
    });
    EXPECT_GT(lines, 80);
}

TEST(CommonReportTemplate, ChromatogramWithEverySection)
{
    ChromatogramRun run;
    ASSERT_TRUE(run.run());
    writeForLooking(run.prepared, QStringLiteral("chromatogram"));
    const PreparedReport& p = run.prepared;
    ASSERT_GE(p.pageCount(), 3);
    for (const QString& w : run.report.warnings())
        ADD_FAILURE() << "warning: " << w.toStdString();

    const QStringList all = run.allTexts();
    auto count = [&](const char* t) { return all.count(sq(QString::fromUtf8(t))); };
    // Sections in their order.
    const char* const order[] = {"Лаборатория газового анализа ООО «Тарвекс»", "Хроматограмма", "Природный газ, проба 3",
                                 "Имя файла хроматограммы", "Оператор", "Петрова А. В.", "Тип хроматографа",
                                 "Tarvex 2000", "Параметры управления", "Температуры", "Расходы газов", "Режим Сплит",
                                 "Режим экономии", "Режим продувки", "Проба", "Колонки", "Параметры обработки",
                                 "Параметры расчета", "Пики", "Недетектируемый компонент 0.42%", "Идентификация",
                                 "Объем пробы: 1000 мкл", "Группы", "Журнал событий", "Статистика компонентов",
                                 "Имена хроматограмм", "Расчет", "Коэфффицент", "Аналитик: ____________   Утвердил: ____________"};
    qsizetype at = 0;
    for (const char* t : order) {
        const qsizetype i = indexOfText(all, sq(QString::fromUtf8(t)), at);
        EXPECT_GE(i, 0) << "missing or out of order: " << t;
        if (i >= 0)
            at = i + 1;
    }
    for (const char* once : {"Параметры управления", "Расходы газов", "Пики", "Идентификация", "Группы",
                             "Журнал событий", "Расчет", "Природный газ, проба 3", "Петрова А. В."})
        EXPECT_EQ(count(once), 1) << once;
    EXPECT_EQ(count("12.04.2025 10:41:07"), 1);
    EXPECT_EQ(count("/home/lab/methods/natural-gas/GOST-31371.7-2020-hydrocarbons-C1-C6-plus-permanent-gases-on-two-detectors.mtd"), 1)
        << "the long method path wraps inside its cell";
    // Sections switched on inside other sections: column temperature, both columns, third and fourth gas.
    EXPECT_EQ(count("Температура колонок, °С"), 2); // its row and the programme's header
    EXPECT_EQ(count("Программирование температуры колонок"), 1);
    EXPECT_EQ(count("Программирование давления: Колонка 1"), 1);
    EXPECT_EQ(count("Программируемый испаритель"), 1);
    EXPECT_EQ(count("Колонка 1"), 1);
    EXPECT_EQ(count("Колонка 2"), 1);
    EXPECT_EQ(count("Газ 4, см3/мин"), 4); // gas flows, split, economy, purge

    // Peak table: one header row per detector (hidden column 3 left out), its rows, its sum row.
    QStringList header;
    for (const char* h : {"№", "Время, мин", "Детектор", "Компонент", "Высота,мв", "Площадь,мв*мин", "Высота,%",
                          "Площадь,%", "Ширина,сек", "Тип", "Группа"})
        header << sq(QString::fromUtf8(h));
    std::vector<qsizetype> headerRows;
    for (qsizetype i = 0; i + header.size() <= all.size(); ++i)
        if (all.mid(i, header.size()) == header)
            headerRows.push_back(i);
    ASSERT_EQ(headerRows.size(), run.peaksPerDetector.size()) << "one peak header row per detector";
    EXPECT_EQ(all.mid(headerRows[0] + header.size(), 5),
              (QStringList{QStringLiteral("1"), QStringLiteral("1.100"), QStringLiteral("FID-1"), QStringLiteral("Метан"),
                           QStringLiteral("6.00")}));
    EXPECT_EQ(all.mid(headerRows[1] + header.size(), 5),
              (QStringList{QStringLiteral("1"), QStringLiteral("11.100"), QStringLiteral("TCD-1"), QStringLiteral("Этан"),
                           QStringLiteral("6.10")}));
    EXPECT_EQ(count("1000.000"), 1);
    EXPECT_EQ(count("1001.000"), 1);
    EXPECT_EQ(count("3.00"), 0) << "the hidden peak column printed";

    // Identification, groups, journal, statistics, the additional calculation.
    EXPECT_EQ(count("Σ10"), 1);
    EXPECT_EQ(count("Окно,мин"), 1);
    EXPECT_EQ(count("Углеводороды C5"), 1);
    EXPECT_EQ(count("Кран 4"), 1);
    EXPECT_EQ(count("NG-2025-0411-03.chr"), 1);
    EXPECT_EQ(count("S12"), 1);
    EXPECT_EQ(count("S13"), 0) << "a statistics column beyond the page printed";
    EXPECT_EQ(count("Коэффициент сжимаемости 2"), 1);
    EXPECT_EQ(count("R1C1"), 1);
    EXPECT_EQ(count("R3C3"), 1);
    EXPECT_EQ(count("Теплота сгорания высшая: 39.84 МДж/м3 Плотность: 0.7231 кг/м3"), 1);
    EXPECT_EQ(count("Метан, этан и пропан по ГОСТ 31371.7; проба отобрана в баллон 12.04.2025"), 1);
    EXPECT_EQ(count("Точка отбора: узел учёта газа № 2"), 1);
    EXPECT_EQ(count("Теплота сгорания"), 1) << "the chart's title";

    // Cells of a table row lie side by side with the widths the hook gave.
    const int headerPage = [&] {
        for (int i = 0; i < p.pageCount(); ++i)
            if (itemTexts(p, i).contains(sq(QStringLiteral("Ширина,сек"))))
                return i;
        return -1;
    }();
    ASSERT_GE(headerPage, 0);
    std::vector<QRectF> headerCells;
    for (const PreparedElement& e : p.pages[size_t(headerPage)].elements)
        if (const auto* t = std::get_if<TextItem>(&e.item); t && header.contains(sq(t->lines.join(QString()))))
            headerCells.push_back(t->rect);
    ASSERT_GE(headerCells.size(), size_t(header.size()));
    double x = 10 * kUnitsPerMm;
    for (size_t k = 0, c = 1; k < size_t(header.size()); ++c) {
        if (run.peakCols.widths[c] == 0)
            continue;
        EXPECT_NEAR(headerCells[k].left(), x, 0.01) << "column " << c;
        EXPECT_NEAR(headerCells[k].width(), run.peakCols.widths[c], 0.01) << "column " << c;
        x += run.peakCols.widths[c];
        ++k;
    }

    // The whole picture, and the page footer on every page.
    int images = 0;
    for (const PreparedPage& pg : p.pages)
        for (const PreparedElement& e : pg.elements)
            if (std::holds_alternative<ImageItem>(e.item))
                ++images;
    EXPECT_EQ(images, 1);
    for (int i = 0; i < p.pageCount(); ++i) {
        const QStringList t = itemTexts(p, i);
        EXPECT_TRUE(t.contains(QStringLiteral("%1/%2").arg(i + 1).arg(p.pageCount()))) << "page " << i + 1;
        EXPECT_TRUE(t.contains(QStringLiteral("NG-2025-0412-03.chr"))) << "page " << i + 1;
    }
    expectCleanPages(p);
}

TEST(CommonReportTemplate, LongTablesRepeatTheirHeaderAndPictureStrips)
{
    ChromatogramRun run;
    run.peaksPerDetector = {70, 2};
    run.identRows = 60;
    run.pictureStrips = 11; // 320 rows of 30
    ASSERT_TRUE(run.run());
    writeForLooking(run.prepared, QStringLiteral("long-tables"));
    const PreparedReport& p = run.prepared;

    // Strips: eleven pictures 30 units high, one under the other while on one page.
    std::vector<std::pair<int, QRectF>> strips;
    for (int i = 0; i < p.pageCount(); ++i)
        for (const PreparedElement& e : p.pages[size_t(i)].elements)
            if (const auto* img = std::get_if<ImageItem>(&e.item))
                strips.emplace_back(i, img->rect);
    ASSERT_GE(strips.size(), size_t(11));
    double height = 0;
    for (size_t i = 0; i < strips.size(); ++i) {
        height += strips[i].second.height();
        EXPECT_NEAR(strips[i].second.width(), run.picture.width(), 0.01);
        if (i > 0 && strips[i].first == strips[i - 1].first) {
            EXPECT_NEAR(strips[i].second.top(), strips[i - 1].second.bottom(), 0.01);
        }
    }
    EXPECT_NEAR(height, 11 * 30, 0.01);

    // A table continued on a new page starts there with its header row.
    const QString peakHead = sq(QStringLiteral("Ширина,сек"));
    const QStringList all = run.allTexts();
    auto count = [&](const QString& t) { return all.count(t); };
    const QString identHead = sq(QStringLiteral("Окно,мин"));
    int pagesWithPeakHeader = 0, pagesWithIdentHeader = 0;
    for (int i = 0; i < p.pageCount(); ++i) {
        const QStringList t = itemTexts(p, i);
        if (t.contains(peakHead))
            ++pagesWithPeakHeader;
        if (t.contains(identHead))
            ++pagesWithIdentHeader;
        if (i > 0 && itemTexts(p, i - 1).contains(peakHead) && t.contains(QStringLiteral("Метан"))
            && !t.contains(QStringLiteral("Пики"))) {
            EXPECT_LT(t.indexOf(peakHead), 12) << "page " << i + 1 << " continues the peak table without its header";
        }
    }
    EXPECT_EQ(count(peakHead), 3); // the first detector over two pages, then the second detector
    EXPECT_GE(pagesWithPeakHeader, 2);
    EXPECT_GE(pagesWithIdentHeader, 2);
    expectCleanPages(p);
}

TEST(CommonReportTemplate, SwitchedOffSectionsLeaveNothing)
{
    ChromatogramRun run;
    ASSERT_TRUE(run.load());
    run.setUp();
    for (const char* s : {"ChromPrintMan", "ChromPrintDevice", "PeakPrint", "ChromIdentAddOnPrint", "JournalPrint",
                          "AddCalcPrint", "Gas4Print", "Column2Print", "ChromPicturePrint", "EndRTFPrint"})
        run.section(s, false);
    QString error;
    ASSERT_TRUE(run.report.prepare(run.prepared, &error)) << error.toStdString();
    const QStringList all = run.allTexts();
    for (const char* kept : {"Хроматограмма", "Идентификация", "Колонка 1", "Газ 3, см3/мин"})
        EXPECT_TRUE(all.contains(sq(QString::fromUtf8(kept)))) << kept;
    for (const char* gone : {"Оператор", "Тип хроматографа", "Пики", "Ширина,сек", "Объем пробы: 1000 мкл",
                             "Журнал событий", "Расчет", "Коэфффицент", "Газ 4, см3/мин", "Колонка 2",
                             "Аналитик: ____________   Утвердил: ____________"})
        EXPECT_FALSE(all.contains(sq(QString::fromUtf8(gone)))) << gone;
    for (const PreparedPage& pg : run.prepared.pages)
        for (const PreparedElement& e : pg.elements)
            EXPECT_FALSE(std::holds_alternative<ImageItem>(e.item)) << "a picture printed with the signal switched off";
}

TEST(CommonReportTemplate, EnglishReportHasNoRussianLeft)
{
    ChromatogramRun run;
    run.english = true;
    ASSERT_TRUE(run.run());
    writeForLooking(run.prepared, QStringLiteral("english"));
    const QStringList all = run.allTexts();
    EXPECT_TRUE(all.contains(QStringLiteral("chromatogram")));
    EXPECT_TRUE(all.contains(QStringLiteral("peaks")));
    static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-яЁё]"));
    for (const QString& t : all)
        if (t != sq(QStringLiteral("Б-Б"))) { // peak type letters print the same in both languages
            EXPECT_FALSE(cyrillic.match(t).hasMatch()) << t.toStdString();
        }
    expectCleanPages(run.prepared);
}
