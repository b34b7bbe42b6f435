// Code pages, the bilingual pick, the prompt layer, the settings store and the shared lock.

#include "Bilingual.h"
#include "CodePage.h"
#include "NamedLock.h"
#include "Prompt.h"
#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "QtPrinters.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace tarvex;

TEST(CodePage, Cp1251DecodesCyrillicAndStopsAtZero) {
    // "Пик" in Windows-1251, a zero byte, then bytes that must not show up.
    const char bytes[] = {'\xCF', '\xE8', '\xEA', '\0', 'x', 'y'};
    EXPECT_EQ(decodeText(bytes, sizeof bytes), QStringLiteral("Пик"));
    EXPECT_EQ(decodeText(bytes, 2), QStringLiteral("Пи")); // never past the given size
    EXPECT_EQ(decodeText(nullptr, 10), QString());
}

TEST(CodePage, UnmappedByteBecomesReplacementNotTruncation) {
    const char bytes[] = {'a', '\x98', 'b'}; // 0x98 has no character in Windows-1251
    EXPECT_EQ(decodeText(bytes, sizeof bytes), QStringLiteral("a\uFFFDb"));
}

TEST(CodePage, RoundTripsAndMarksMissingCharacters) {
    const QString text = QStringLiteral("Метан CH4 №5 °С");
    EXPECT_EQ(fromCp1251(toCp1251(text)), text);
    EXPECT_EQ(decodeText(toCp866(QStringLiteral("Пики")).constData(), 4, CodePage::Cp866), QStringLiteral("Пики"));
    // CP866 has no "€"; the listing gets "?" rather than losing the rest of the line.
    EXPECT_EQ(toCp866(QStringLiteral("€1 ok")), QByteArray("?1 ok"));
    EXPECT_EQ(toCp1251(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
}

TEST(Bilingual, PicksTheHalfOfTheLanguage) {
    struct Case {
        int language;
        QString text;
        QString expected;
    };
    const QString method = QStringLiteral("Ошибка загрузки метода\r\nError of loading method");
    const Case cases[] = {
        {1, method, QStringLiteral("Ошибка загрузки метода")},
        {2, method, QStringLiteral("Error of loading method")},
        {1, QStringLiteral("один\r\ntwo\r\nтри"), QStringLiteral("один")},
        {2, QStringLiteral("один\r\ntwo\r\nтри"), QStringLiteral("two")},
        {2, QStringLiteral("только русский"), QStringLiteral("только русский")},
        {1, QStringLiteral("только русский"), QStringLiteral("только русский")},
        {2, QStringLiteral("lf\nonly"), QStringLiteral("only")},
        {5, method, QStringLiteral("Ошибка загрузки метода")}, // out of range counts as Russian
        {0, method, QStringLiteral("Ошибка загрузки метода")},
        {2, QString(), QString()},
    };
    for (const Case& c : cases) {
        setLanguageIndex(c.language);
        EXPECT_EQ(Pick(c.text), c.expected) << "language " << c.language << ": " << c.text.toStdString();
    }
    setLanguageIndex(5);
    Pick(method);
    EXPECT_EQ(languageIndex(), 1);
}

TEST(Prompt, RecordingPromptKeepsTextsAndAnswers) {
    auto recording = std::make_unique<RecordingPrompt>();
    RecordingPrompt* rec = recording.get();
    rec->answers = {true};
    auto previous = setPrompt(std::move(recording));
    prompt().error(QStringLiteral("a"));
    EXPECT_TRUE(prompt().confirm(QStringLiteral("b?")));
    EXPECT_FALSE(prompt().confirm(QStringLiteral("c?"))); // queue empty: default no
    EXPECT_EQ(rec->texts(), (QStringList {QStringLiteral("a"), QStringLiteral("b?"), QStringLiteral("c?")}));
    setPrompt(std::move(previous));
}

TEST(Prompt, HeadlessConfirmationFollowsEnvironmentAndDefaultsToNo) {
    StderrPrompt p;
    qunsetenv("TARVEX_CONFIRM");
    EXPECT_FALSE(p.confirm(QStringLiteral("overwrite?")));
    qputenv("TARVEX_CONFIRM", "yes");
    EXPECT_TRUE(p.confirm(QStringLiteral("overwrite?")));
    qputenv("TARVEX_CONFIRM", "maybe");
    EXPECT_FALSE(p.confirm(QStringLiteral("overwrite?")));
    qunsetenv("TARVEX_CONFIRM");
}

TEST(SettingsStore, TypedReadsTreatDamagedValuesAsMissing) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    {
        QDir().mkpath(dir.filePath(QStringLiteral("Orlend")));
        QFile f(dir.filePath(QStringLiteral("Orlend/TarvexPrint.conf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Template]\nTemplateCheck1=1\nTemplateCheck2=yes\nTemplateFile1=/t/a.fr3\nTemplateFile2=a, b\n");
    }
    SettingsStore store(QStringLiteral("Orlend"), QStringLiteral("TarvexPrint"), QStringLiteral("Template"));
    EXPECT_EQ(store.readBool(QStringLiteral("TemplateCheck1")), true);
    EXPECT_EQ(store.readBool(QStringLiteral("TemplateCheck2")), std::nullopt);
    EXPECT_EQ(store.readString(QStringLiteral("TemplateFile1")), QStringLiteral("/t/a.fr3"));
    EXPECT_EQ(store.readString(QStringLiteral("TemplateFile2")), std::nullopt);
    EXPECT_EQ(store.readInt(QStringLiteral("Absent")), std::nullopt);

    EXPECT_TRUE(store.writeBool(QStringLiteral("TemplateCheck3"), true));
    EXPECT_TRUE(store.writeString(QStringLiteral("TemplateFile3"), QStringLiteral("x, y.fr3")));
    SettingsStore again(QStringLiteral("Orlend"), QStringLiteral("TarvexPrint"), QStringLiteral("Template"));
    EXPECT_EQ(again.readInt(QStringLiteral("TemplateCheck3")), 1);
    EXPECT_EQ(again.readString(QStringLiteral("TemplateFile3")), QStringLiteral("x, y.fr3"));
}

TEST(NamedLock, OwnedThenTimesOutForASecondHolderInTheSameProcess) {
    qputenv("TARVEX_SHM_PREFIX", QByteArray("plat_") + QByteArray::number(::getpid()) + '_');
    {
        NamedLock first;
        ASSERT_EQ(first.acquire(), NamedLock::Outcome::Owned);
        NamedLock second; // its own mapping: behaves like another process would
        EXPECT_EQ(second.acquire(50), NamedLock::Outcome::TimedOut);
        EXPECT_FALSE(second.owned());
        first.release();
        EXPECT_EQ(second.acquire(50), NamedLock::Outcome::Owned);
    }
    NamedLock::unlink();
    qunsetenv("TARVEX_SHM_PREFIX");
}
