// The dispatch, end to end: which branch runs for a mask, and what it tells the user when the
// host left something out.

#include "E2eRun.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kNoChrom = QStringLiteral(
    "Отсутствуют данные для печати хроматограммы или устаревший формат хроматограммы(необходима переобработка)");
const QString kNoSettings1 = QStringLiteral("Отсутствуют настройки печати хроматограммы");
const QString kNoSettings2 = QStringLiteral("there Are no adjustments of a press chromatogram");
const QString kVersion = QStringLiteral("Версии программы печати и Tarvex несовместимы");
const QString kSample = QStringLiteral(TARVEX_SOURCE_DIR "/examples/natural-gas.json");

TEST(Dispatch, FirstSelectedBranchRunsAlone) {
    struct Case {
        const char* mask;
        QStringList expected;
    };
    const Case cases[] = {
        // Nothing published: each branch says what it misses, and only the first branch speaks.
        {"3", {kNoSettings1, kNoSettings2, kNoChrom}},
        {"12", {QStringLiteral("Отсутствуют данные для печати шума")}},
        {"96", {QStringLiteral("Отсутствуют данные для печати градуировки")}},
        {"512",
         {QStringLiteral("Отсутствуют данные для печати сходимости"),
          QStringLiteral("there Are no data for a press of metrology ")}},
        {"8192", {}},
        {"abc", {}},
        {"16384", {}},
    };
    for (const Case& c : cases) {
        E2eRun run;
        EXPECT_EQ(run.print(QString::fromLatin1(c.mask)), 0);
        EXPECT_EQ(run.errors(), c.expected) << "mask " << c.mask;
    }
}

TEST(Dispatch, EnglishMessagesFollowTheHostLanguage) {
    E2eRun run;
    QDir().mkpath(run.dir.filePath(QStringLiteral("config/Orlend")));
    QFile f(run.dir.filePath(QStringLiteral("config/Orlend/TarvexWin.conf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[General]\nLang=2\n");
    f.close();
    run.print(QStringLiteral("8"));
    EXPECT_EQ(run.errors(), QStringList {QStringLiteral("there Are no data for a press of noise ")});
}

TEST(Dispatch, WrongSettingsVersionStopsBeforeTheChromatogramIsRead) {
    E2eRun run;
    run.publish(kSample);
    run.put(10, PrintSettingsBlock(7));
    run.print(QStringLiteral("1"));
    EXPECT_EQ(run.errors(), (QStringList {kVersion, kNoChrom}));
    const QByteArray header = run.header();
    ASSERT_EQ(header.size(), 96);
    EXPECT_EQ(header[35], 1) << "block 1 must not have been read";
}

TEST(Dispatch, MethodWithoutPrintSettingsShowsOnlyTheSettingsMessage) {
    E2eRun run;
    run.publish(kSample);
    QString ignored;
    run.host({QStringLiteral("clear")});
    // Publish the method alone: encode it from the sample.
    const QString method = run.dir.filePath(QStringLiteral("method.bin"));
    run.host({QStringLiteral("encode"), kSample, QStringLiteral("2"), method});
    run.host({QStringLiteral("put"), QStringLiteral("2"), method});
    run.print(QStringLiteral("2"));
    EXPECT_EQ(run.errors(), (QStringList {kNoSettings1, kNoSettings2}));
    EXPECT_EQ(run.header()[34], 0) << "the method block is read and consumed";
}

TEST(Dispatch, CompleteChromatogramJobIsPreviewed) {
    E2eRun run;
    run.publish(kSample);
    EXPECT_EQ(run.print(QStringLiteral("65537")), 0);
    EXPECT_EQ(run.errors(), QStringList {});
    const QByteArray header = run.header();
    EXPECT_EQ(header[35], 0); // chromatogram consumed
    EXPECT_EQ(header[36], 0); // picture consumed
    // Without a display the preview leaves its pages as pictures.
    EXPECT_TRUE(QFile::exists(run.dir.filePath(QStringLiteral("preview/page-1.png"))));
}

} // namespace
