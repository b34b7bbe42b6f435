// Decoding blocks 1 and 2 into the print-job record. Jobs are written by the host stand-in's
// encoder, which has its own description of the wire format, and read by the program's decoder.

#include "Bilingual.h"
#include "JobEncoder.h"
#include "Prompt.h"
#include "TChromModule.h"
#include "TMemoryWorker.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

const QString kChromError = QStringLiteral("Ошибка приема хроматограммы");

/// Two detectors of three channels (the third off), five peaks, two components, one group.
QJsonObject smallJob() {
    QJsonObject chrom {
        {QStringLiteral("szNameChrom"), QStringLiteral("Проба 1")},
        {QStringLiteral("fChr_Rate"), 10},
        {QStringLiteral("dChr_AdcScale"), 0.001},
        {QStringLiteral("iChr_PeakLast"), QJsonArray {2, 1, -1, -1, -1, -1, -1, -1, -1, -1}},
    };
    QJsonObject method {
        {QStringLiteral("bType_Device"), 0},          {QStringLiteral("bType_MultiDet"), 2},
        {QStringLiteral("bMeth_DetOn"), QJsonArray {1, 1, 0}}, {QStringLiteral("bMeth_DetPeakList"), QJsonArray {0, 1, 2}},
        {QStringLiteral("bDet_PrintFlag"), QJsonArray {1, 0}},
    };
    QJsonArray peaks;
    for (int p = 0; p < 5; ++p)
        peaks.append(QJsonObject {{QStringLiteral("iPeak_StartPoint"), 100 + p},
                                  {QStringLiteral("fPeak_Time"), 1.5 + p},
                                  {QStringLiteral("fPeak_Index"), 600 + p},
                                  {QStringLiteral("wPeak_Group"), QJsonArray {p + 1, 7}}});
    QJsonArray comps;
    for (int c = 0; c < 2; ++c)
        comps.append(QJsonObject {{QStringLiteral("szComp_Name"), QStringLiteral("Компонент %1").arg(c + 1)},
                                  {QStringLiteral("dComp_Time"), 1.5 + c},
                                  {QStringLiteral("points"), QJsonArray {QJsonObject {{QStringLiteral("dPoint_Conc"), 0.5 + c}},
                                                                         QJsonObject {{QStringLiteral("dPoint_Conc"), 1.5 + c}}}}});
    return {
        {QStringLiteral("chromatogram"), chrom},
        {QStringLiteral("method"), method},
        {QStringLiteral("peaks"), peaks},
        {QStringLiteral("components"), comps},
        {QStringLiteral("groups"), QJsonArray {QJsonObject {{QStringLiteral("szGroup_Name"), QStringLiteral("C1-C4")},
                                                            {QStringLiteral("dGroup_TimeEnd"), 4.5}}}},
        {QStringLiteral("ident"), QJsonArray {QJsonObject {{QStringLiteral("fIdent_Conc"), QJsonArray {70.5, 60, 1}},
                                                           {QStringLiteral("iIdent_Comp"), 0}},
                                              QJsonObject {{QStringLiteral("fIdent_Conc"), QJsonArray {29.5, 40, 2}},
                                                           {QStringLiteral("iIdent_Comp"), 1}}}},
        {QStringLiteral("compStat"), QJsonArray {QJsonObject {{QStringLiteral("fStat_Average"), QJsonArray {70.4}}},
                                                 QJsonObject {{QStringLiteral("fStat_Average"), QJsonArray {29.6}}}}},
        {QStringLiteral("groupResults"), QJsonArray {QJsonObject {{QStringLiteral("fGroupRes_Area"), 12.25},
                                                                  {QStringLiteral("iGroupRes_Group"), 0}}}},
        {QStringLiteral("journal"), QJsonArray {QJsonObject {{QStringLiteral("iJourn_Time"), 90},
                                                             {QStringLiteral("szJourn_Event"), QStringLiteral("Старт")}}}},
        {QStringLiteral("graphs"), QJsonArray {QJsonObject {{QStringLiteral("szGraph_Title"), QStringLiteral("Z(P)")},
                                                            {QStringLiteral("points"), QJsonArray {QJsonArray {1, 2}, QJsonArray {3, 4}}}}}},
        {QStringLiteral("comment"), QStringLiteral("a\tb\r\n1.5\t2\r\n")},
        {QStringLiteral("signal"), QJsonArray {QJsonArray {1, 2, 3, 4}, QJsonArray {-1, -2, -3, -4}}},
        {QStringLiteral("picture"), false},
    };
}

/// Sets `field` of the job's `area` object.
QJsonObject with(QJsonObject job, const char* area, const char* field, const QJsonValue& value) {
    QJsonObject a = job.value(QLatin1String(area)).toObject();
    a.insert(QLatin1String(field), value);
    job.insert(QLatin1String(area), a);
    return job;
}

class ChromDecode : public ::testing::Test {
protected:
    void SetUp() override {
        auto recording = std::make_unique<tarvex::RecordingPrompt>();
        prompt_ = recording.get();
        previous_ = tarvex::setPrompt(std::move(recording));
        tarvex::setLanguageIndex(1);
        rec_ = std::make_unique<TChromModule>();
    }
    void TearDown() override { tarvex::setPrompt(std::move(previous_)); }

    QByteArray encode(const QJsonObject& job, bool refuse = true) {
        host::EncodedJob blocks;
        QString error;
        host::EncodeOptions options;
        options.refuseOverCapacity = refuse;
        EXPECT_TRUE(host::encodeJob(job, &blocks, &error, options)) << error.toStdString();
        return blocks.chromatogram;
    }
    bool decode(const QByteArray& block, bool graphs = true) {
        TMemoryBuffer buffer;
        buffer.resize(static_cast<std::size_t>(block.size()));
        if (!block.isEmpty())
            std::memcpy(buffer.data(), block.constData(), static_cast<std::size_t>(block.size()));
        rec_->SetHasAddCalcGraphs(graphs);
        return rec_->DecodeChromatogram(buffer, true, true);
    }
    QStringList errors() const {
        QStringList out;
        for (const auto& e : prompt_->entries)
            if (e.kind == tarvex::RecordingPrompt::Kind::Error)
                out << e.text;
        return out;
    }

    tarvex::RecordingPrompt* prompt_ = nullptr;
    std::unique_ptr<tarvex::Prompt> previous_;
    std::unique_ptr<TChromModule> rec_;
};

TEST_F(ChromDecode, SmallJobFillsEveryArea) {
    ASSERT_TRUE(decode(encode(smallJob())));
    EXPECT_TRUE(errors().isEmpty());
    const TChromModule& r = *rec_;
    EXPECT_EQ(r.szNameChrom(), QStringLiteral("Проба 1"));
    ASSERT_EQ(r.iDet_Count(), 2);
    EXPECT_EQ(r.DetectorEntry(0).szDet_Name, QStringLiteral("ПИД"));
    EXPECT_EQ(r.DetectorEntry(1).szDet_Name, QStringLiteral("ДТП+"));
    EXPECT_EQ(r.DetectorEntry(1).iDet_FirstPeak, 3);
    EXPECT_EQ(r.PeakCount(), 5);
    EXPECT_EQ(r.PrintedPeakCount(), 3);
    EXPECT_FLOAT_EQ(r.PeakRec(4).fPeak_Time(), 5.5f);
    EXPECT_EQ(r.PeakRec(4).wPeak_Group(1), 7);
    EXPECT_EQ(r.CompRec(1).szComp_Name(), QStringLiteral("Компонент 2"));
    EXPECT_EQ(r.CompCalib(1).iCalib_PointCount(), 2);
    EXPECT_DOUBLE_EQ(r.CompPoint(1, 1).dPoint_Conc(), 2.5);
    EXPECT_EQ(r.GroupRec(0).szGroup_Name(), QStringLiteral("C1-C4"));
    EXPECT_FLOAT_EQ(r.IdentRec(1).fIdent_Conc(0), 29.5f);
    EXPECT_FLOAT_EQ(r.CompStatRec(1).fStat_Average(0), 29.6f);
    EXPECT_FLOAT_EQ(r.GroupResRec(0).fGroupRes_Area(), 12.25f);
    EXPECT_EQ(r.JournalRec(0).szJourn_Event(), QStringLiteral("Старт"));
    ASSERT_EQ(r.iAddCalcGraph_Count(), 1);
    EXPECT_DOUBLE_EQ(r.AddCalcGraphPoint(0, 1).dGraph_Y(), 4.0);
    EXPECT_EQ(r.szChr_Comment(), QStringLiteral("a\tb\r\n1.5\t2\r\n"));
    ASSERT_EQ(r.SignalChannel(1).size(), 4u);
    EXPECT_EQ(r.SignalChannel(1)[3], -4);
    EXPECT_EQ(r.JoinedDetectorNames(), QStringLiteral("ПИД / ДТП+"));
}

// Host record sizes differ from ours: the common prefix is copied and the reader moves on by
// the host's size, so the records after the peaks are still found.
TEST_F(ChromDecode, HostPeakRecordSizes) {
    struct Case {
        int size;
        bool groupsKept; // wPeak_Group lies at 117..126
    };
    for (const Case c : {Case {140, true}, Case {127, true}, Case {100, false}}) {
        SCOPED_TRACE(c.size);
        ASSERT_TRUE(decode(encode(with(smallJob(), "chromatogram", "iChr_PeakRecSize", c.size))));
        EXPECT_FLOAT_EQ(rec_->PeakRec(2).fPeak_Time(), 3.5f);
        EXPECT_EQ(rec_->PeakRec(2).iPeak_StartPoint(), 102);
        EXPECT_FLOAT_EQ(rec_->PeakRec(2).fPeak_Index(), 602.f);
        EXPECT_EQ(rec_->PeakRec(2).wPeak_Group(0), c.groupsKept ? 3 : 0);
        EXPECT_FLOAT_EQ(rec_->IdentRec(1).fIdent_Conc(0), 29.5f);
        EXPECT_EQ(rec_->JournalRec(0).iJourn_Time(), 90);
    }
}

TEST_F(ChromDecode, CountsThatReadNothing) {
    // iIdent_Last -1: no identification and no statistics; the group result follows the peaks.
    QJsonObject job = smallJob();
    job.remove(QStringLiteral("ident"));
    job.remove(QStringLiteral("compStat"));
    ASSERT_TRUE(decode(encode(job)));
    EXPECT_EQ(rec_->iIdent_Last(), -1);
    EXPECT_FLOAT_EQ(rec_->GroupResRec(0).fGroupRes_Area(), 12.25f);

    // iMax_Comp 0: the group comes right after the method header.
    job = smallJob();
    job.remove(QStringLiteral("components"));
    ASSERT_TRUE(decode(encode(job)));
    EXPECT_EQ(rec_->iMax_Comp(), 0);
    EXPECT_EQ(rec_->GroupRec(0).szGroup_Name(), QStringLiteral("C1-C4"));
    EXPECT_TRUE(errors().isEmpty());
}

// The journal is iJournal_Count + 1 records when the count is above 0; the graphs follow it.
TEST_F(ChromDecode, JournalCounts) {
    for (const int count : {0, 3}) {
        SCOPED_TRACE(count);
        QJsonArray journal;
        for (int i = 0; i < count; ++i)
            journal.append(QJsonObject {{QStringLiteral("iJourn_Time"), 60 * i}, {QStringLiteral("bJourn_Kind"), 2}});
        QJsonObject job = smallJob();
        job.insert(QStringLiteral("journal"), journal);
        const QByteArray block = encode(job);
        ASSERT_TRUE(decode(block));
        EXPECT_EQ(rec_->iJournal_Count(), count);
        if (count == 3) {
            EXPECT_EQ(rec_->JournalRec(2).iJourn_Time(), 120);
            EXPECT_EQ(rec_->JournalRec(3).bJourn_Kind(), 0); // the closing record
        }
        ASSERT_EQ(rec_->iAddCalcGraph_Count(), 1);
        EXPECT_EQ(rec_->AddCalcGraph(0).szGraph_Title(), QStringLiteral("Z(P)"));
    }
}

TEST_F(ChromDecode, SignalFoundAtALargerHeaderSize) {
    ASSERT_TRUE(decode(encode(with(smallJob(), "chromatogram", "iChr_HeaderSize", 9000))));
    ASSERT_EQ(rec_->SignalChannel(0).size(), 4u);
    EXPECT_EQ(rec_->SignalChannel(0)[0], 1);
    EXPECT_EQ(rec_->SignalChannel(1)[2], -3);
    EXPECT_EQ(rec_->CompRec(0).szComp_Name(), QStringLiteral("Компонент 1"));
}

TEST_F(ChromDecode, GraphsEndAtTheirEndMark) {
    QJsonObject job = smallJob();
    QJsonArray graphs;
    for (int g = 0; g < 3; ++g)
        graphs.append(QJsonObject {{QStringLiteral("iGraph_PointCount"), 1},
                                   {QStringLiteral("bGraph_End"), g == 1 ? 1 : 0},
                                   {QStringLiteral("points"), QJsonArray {QJsonArray {g, g}}}});
    job.insert(QStringLiteral("graphs"), graphs);
    ASSERT_TRUE(decode(encode(job)));
    ASSERT_EQ(rec_->iAddCalcGraph_Count(), 2); // the marked graph is read with its points, then no more
    EXPECT_DOUBLE_EQ(rec_->AddCalcGraphPoint(1, 0).dGraph_X(), 1.0);
    EXPECT_DOUBLE_EQ(rec_->AddCalcGraphPoint(2, 0).dGraph_X(), 0.0);

    ASSERT_TRUE(decode(encode(job), /*graphs=*/false));
    EXPECT_EQ(rec_->iAddCalcGraph_Count(), 0);
}

TEST_F(ChromDecode, OutdatedMethodRecordsMakeTheDecodeFalse) {
    EXPECT_FALSE(decode(encode(with(smallJob(), "method", "iMeth_CompRecSize", 700))));
    EXPECT_FALSE(decode(encode(with(smallJob(), "method", "iMeth_GroupRecSize", 600))));
    EXPECT_TRUE(errors().isEmpty());
}

// Counts above the capacities are cut there; what follows in the block is still found.
TEST_F(ChromDecode, CountsAboveCapacityStopThere) {
    QJsonObject job = smallJob();
    QJsonArray ident;
    for (int i = 0; i < 1200; ++i)
        ident.append(QJsonObject {{QStringLiteral("iIdent_Comp"), i}});
    job.insert(QStringLiteral("ident"), ident);
    job.remove(QStringLiteral("compStat"));
    ASSERT_TRUE(decode(encode(job, /*refuse=*/false)));
    EXPECT_EQ(rec_->iIdent_Last(), TChromModule::kMaxIdent - 1);
    EXPECT_EQ(rec_->IdentRec(999).iIdent_Comp(), 999);
    EXPECT_TRUE(rec_->IdentRec(1000).isNull());
    EXPECT_FLOAT_EQ(rec_->GroupResRec(0).fGroupRes_Area(), 12.25f);
    EXPECT_TRUE(prompt_->texts().join(QLatin1Char('\n')).contains(QStringLiteral("1200 identification records")));

    // A stated count the block cannot hold costs nothing and reads nothing outside it.
    job = with(smallJob(), "chromatogram", "iIdent_Last", 2000000000);
    job = with(job, "chromatogram", "iChr_PointCount", 2000000000);
    job = with(job, "method", "iMax_Comp", 2000000000);
    job.remove(QStringLiteral("signal"));
    ASSERT_TRUE(decode(encode(job)));
    EXPECT_EQ(rec_->iIdent_Last(), TChromModule::kMaxIdent - 1);
    EXPECT_EQ(rec_->iMax_Comp(), TChromModule::kMaxComps);
}

TEST_F(ChromDecode, NegativeSizesAreReportedNotFollowed) {
    struct Case {
        const char* area;
        const char* field;
    };
    for (const Case c : {Case {"chromatogram", "iChr_PeakRecSize"}, Case {"chromatogram", "iChr_IdentRecSize"},
                         Case {"chromatogram", "iChr_JournalRecSize"}}) {
        SCOPED_TRACE(c.field);
        prompt_->entries.clear();
        EXPECT_TRUE(decode(encode(with(smallJob(), c.area, c.field, -5))));
        EXPECT_EQ(errors(), QStringList {kChromError});
    }
    prompt_->entries.clear();
    decode(encode(with(smallJob(), "method", "iMeth_CompItemSize", -1)));
    EXPECT_EQ(errors().value(0), QStringLiteral("Ошибка загрузки метода"));
}

TEST_F(ChromDecode, ShortBlocksDecodeWhatIsThere) {
    const QByteArray block = encode(smallJob());
    for (const int size : {0, 10, 2063, 8283, 8290, 20000}) {
        SCOPED_TRACE(size);
        decode(block.left(size));
        EXPECT_LE(rec_->SignalChannel(0).size() * 8, static_cast<std::size_t>(std::max(size - 8283, 0)));
    }
}

TEST_F(ChromDecode, SwitchedOffChannelHasNoEntry) {
    // Device 0, set 0: FID, FPD, ECD; the FPD is off, so its peak list is not read.
    QJsonObject job = with(smallJob(), "method", "bType_MultiDet", 0);
    job = with(job, "method", "bMeth_DetOn", QJsonArray {1, 0, 1});
    job = with(job, "method", "bMeth_DetPeakList", QJsonArray {0, 1, 2});
    job = with(job, "chromatogram", "iChr_PeakLast", QJsonArray {2, 40, 1, -1, -1, -1, -1, -1, -1, -1});
    ASSERT_TRUE(decode(encode(job)));
    ASSERT_EQ(rec_->iDet_Count(), 2);
    EXPECT_EQ(rec_->DetectorEntry(1).iDet_Channel, 2);
    EXPECT_EQ(rec_->DetectorEntry(1).szDet_Name, QStringLiteral("ЭЗД"));
    EXPECT_EQ(rec_->PeakCount(), 5);
    EXPECT_FLOAT_EQ(rec_->IdentRec(0).fIdent_Conc(0), 70.5f);
}

TEST_F(ChromDecode, CalculationNames) {
    struct Case {
        int language, method, addCalc;
        const char16_t* expected;
    };
    const Case cases[] = {
        {1, 3, 0, u"Внутренний стандарт - Бензол"},
        {2, 3, 0, u"Internal standart - Бензол"},
        {2, 3, 2, u"Internal standart - Бензол, Standart additive"},
        {1, 1, 3, u"Внутренняя нормализация, Бензин/Нефть"},
        {2, 2, 0, u"External standart, Is not present additional calc"},
        {1, 0, 4, u"Нормализация"},
        {1, 7, 1, u""},
    };
    for (const Case& c : cases) {
        tarvex::setLanguageIndex(c.language);
        QJsonObject job = with(smallJob(), "method", "bMeth_CalcMethod", c.method);
        ASSERT_TRUE(decode(encode(with(job, "method", "bMeth_AddCalc", c.addCalc))));
        EXPECT_EQ(rec_->CalcMethodName(QStringLiteral("Бензол")), QString::fromUtf16(c.expected))
            << c.method << "/" << c.addCalc;
    }
    EXPECT_EQ(rec_->CalcMethodNameShort(QString()), QString());
}

TEST_F(ChromDecode, ChannelNamesFromEverySource) {
    struct Case {
        int device, multiDet;
        QJsonObject extra;
        QStringList names;
    };
    const Case cases[] = {
        {0, 40, {}, {QStringLiteral("ПИД"), QStringLiteral("ЭЗД-1"), QStringLiteral("ЭЗД-2")}},
        {2, 200, {}, {QStringLiteral("ПФД-Ф"), QStringLiteral("ПФД-С"), QStringLiteral("ПИД 1")}},
        {1, 1, {}, {QStringLiteral("ПИД")}},
        {7, 0, {}, {}},
        {8, 0, {{QStringLiteral("bMeth_SlotCount"), 5}, {QStringLiteral("szMeth_SlotName8"), QJsonArray {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}}},
         {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}},
        {0, 0, {{QStringLiteral("bMeth_OwnDetNames"), 1}, {QStringLiteral("bMeth_OwnDetCount"), 2}, {QStringLiteral("szMeth_DetName6B"), QJsonArray {QStringLiteral("DET-AB"), QStringLiteral("X")}}},
         {QStringLiteral("DET-AB"), QStringLiteral("X")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        QJsonObject job = with(smallJob(), "method", "bType_Device", c.device);
        job = with(job, "method", "bType_MultiDet", c.multiDet);
        for (auto it = c.extra.begin(); it != c.extra.end(); ++it)
            job = with(job, "method", it.key().toLatin1().constData(), it.value());
        ASSERT_TRUE(decode(encode(job)));
        EXPECT_EQ(rec_->ChannelNames(), c.names);
    }
    // Names given in the chromatogram header win ("2" = names mode).
    QJsonObject job = with(smallJob(), "chromatogram", "cChr_NamesMode", QStringLiteral("2"));
    job = with(job, "chromatogram", "szChr_DetName6", QJsonArray {QStringLiteral("TCD-A"), QStringLiteral("FID-B")});
    ASSERT_TRUE(decode(encode(job)));
    EXPECT_EQ(rec_->ChannelNames(), (QStringList {QStringLiteral("TCD-A"), QStringLiteral("FID-B")}));
    EXPECT_EQ(rec_->DetectorEntry(1).szDet_Name, QStringLiteral("FID-B"));
}

} // namespace
