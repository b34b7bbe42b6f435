// Job mask decoding and the language module.

#include "Bilingual.h"
#include "JobMask.h"
#include "SettingsStore.h"
#include "Prompt.h"
#include "TLangModule.h"
#include "TemplateSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(JobMask, DecodesEachMaskToItsFlags) {
    auto flags = [](std::initializer_list<bool TJobFlags::*> set) {
        TJobFlags f;
        for (auto member : set)
            f.*member = true;
        return f;
    };
    TJobFlags all;
    for (auto member : {&TJobFlags::chromatogram, &TJobFlags::method, &TJobFlags::statistics, &TJobFlags::noise,
                        &TJobFlags::rtl, &TJobFlags::graduation, &TJobFlags::protocol, &TJobFlags::packet,
                        &TJobFlags::repeatability, &TJobFlags::peakProperty, &TJobFlags::exportToFile,
                        &TJobFlags::printerDialog, &TJobFlags::preview})
        all.*member = true;

    const std::pair<const char*, TJobFlags> cases[] = {
        {"1", flags({&TJobFlags::chromatogram})},
        {"2", flags({&TJobFlags::method})},
        {"3", flags({&TJobFlags::chromatogram, &TJobFlags::method})},
        {"65537", flags({&TJobFlags::chromatogram, &TJobFlags::preview})},
        {"32769", flags({&TJobFlags::chromatogram, &TJobFlags::printerDialog})},
        {"8193", flags({&TJobFlags::chromatogram, &TJobFlags::exportToFile})},
        {"16384", TJobFlags {}}, // bit 14 means nothing
        {"8192", flags({&TJobFlags::exportToFile})},
        {"-1", all},
        {"abc", TJobFlags {}},
        {"", TJobFlags {}},
        {"0", TJobFlags {}},
        {"4294967297", TJobFlags {}}, // not a 32-bit integer: a conversion error, nothing selected
        {"12", flags({&TJobFlags::statistics, &TJobFlags::noise})},
    };
    for (const auto& [mask, expected] : cases) {
        const TJobFlags got = DecodeJobMask(QString::fromUtf8(mask));
        EXPECT_EQ(got, expected) << "mask '" << mask << "' gives " << DescribeJobFlags(got).toStdString();
    }
    EXPECT_FALSE(DecodeJobMask(QStringLiteral("8192")).anyReport());
    EXPECT_TRUE(DecodeJobMask(QStringLiteral("512")).anyReport());
}

class LangModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, user.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, system.path());
    }
    void writeLang(const QTemporaryDir& dir, const char* value) {
        QDir().mkpath(dir.filePath(QStringLiteral("Orlend")));
        QFile f(dir.filePath(QStringLiteral("Orlend/TarvexWin.conf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[General]\nLang=") + value + "\n");
    }
    QTemporaryDir user;
    QTemporaryDir system;
};

TEST_F(LangModuleTest, LanguageFollowsHostSetting) {
    EXPECT_EQ(TLangModule().languageIndex(), 1); // nothing stored: Russian, silently
    writeLang(system, "2");
    EXPECT_EQ(TLangModule().languageIndex(), 2); // the machine-wide value when the user has none
    // Each rewrite changes the file's length: QSettings trusts size and mtime to spot a change.
    writeLang(user, "15");
    EXPECT_EQ(TLangModule().languageIndex(), 1); // the user's value wins; out of range is Russian
    writeLang(user, "2");
    EXPECT_EQ(TLangModule().languageIndex(), 2);
    writeLang(user, "two2");
    EXPECT_EQ(TLangModule().languageIndex(), 1);
}

TEST_F(LangModuleTest, TranslationListServesTwoColumnsInOrder) {
    const QStringList ru = TLangModule::translationList(0).split(QStringLiteral("\r\n"));
    const QStringList en = TLangModule::translationList(1).split(QStringLiteral("\r\n"));
    // The host's 295 entries come first, in their order; built-in templates may add lines after them.
    ASSERT_GE(ru.size(), 296); // entries and the text after the last line break
    ASSERT_EQ(en.size(), ru.size());
    EXPECT_EQ(ru.first(), QStringLiteral("Расчет"));
    EXPECT_EQ(ru[3], QStringLiteral("Пики"));
    EXPECT_EQ(en[3], QStringLiteral("peaks"));
    EXPECT_EQ(ru[294], QStringLiteral("Концентрация ,"));
    EXPECT_EQ(ru[56], QStringLiteral("Шиpина пика,сек.")); // the Latin "p" is part of the text
    for (int i = 0; i < 295; ++i) {
        EXPECT_FALSE(en[i].isEmpty()) << "no English for " << ru[i].toStdString();
        EXPECT_FALSE(ru[i].contains(QLatin1Char('\t')));
    }
}

TEST(StringTable, ParsesIdTextPairsAndSkipsSections) {
    const auto table = TLangModule::parseStringTable(
        QStringLiteral("======== TfrxPreviewForm ========\r\nprPrint=Печать\r\n=orphan\r\nempty=\r\nzoom=a=b\r\n"));
    EXPECT_EQ(table.size(), 2);
    EXPECT_EQ(table.value(QStringLiteral("prPrint")), QStringLiteral("Печать"));
    EXPECT_EQ(table.value(QStringLiteral("zoom")), QStringLiteral("a=b"));
}

TEST(TemplateSettings, FirstRunStoresDefaultsAndLaterReadsKeepStoredValues) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    const QString file = dir.filePath(QStringLiteral("Orlend/TarvexPrint.conf"));

    TTemplateSettings first;
    ReadTemplateSettings(first);
    {
        QSettings stored(file, QSettings::IniFormat);
        stored.beginGroup(QStringLiteral("Template"));
        EXPECT_EQ(stored.childKeys().size(), 12);
        for (int n = 1; n <= 6; ++n) {
            EXPECT_EQ(stored.value(QStringLiteral("TemplateCheck%1").arg(n)).toString(), QStringLiteral("0"));
            EXPECT_EQ(stored.value(QStringLiteral("TemplateFile%1").arg(n)).toString(), QString());
        }
    }

    TTemplateSettings edited;
    edited.check[5] = true;
    edited.file[5] = QStringLiteral("/srv/templates/grad, v2.fr3");
    edited.file[1] = QStringLiteral("/srv/templates/chrom.fr3");
    ASSERT_TRUE(SaveTemplateSettings(edited));

    TTemplateSettings next;
    ReadTemplateSettings(next);
    EXPECT_EQ(next.check, edited.check);
    EXPECT_EQ(next.file, edited.file);
}

TEST(TemplateSettings, DamagedValueCountsAsMissing) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QDir().mkpath(dir.filePath(QStringLiteral("Orlend")));
    QFile f(dir.filePath(QStringLiteral("Orlend/TarvexPrint.conf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Template]\nTemplateCheck2=on\nTemplateCheck3=1\n");
    f.close();
    TTemplateSettings s;
    ReadTemplateSettings(s);
    EXPECT_FALSE(s.check[2]);
    EXPECT_TRUE(s.check[3]);
}

TEST(TemplateSettings, UnwritableStoreReportsTheRegistryMessage) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    // A folder where the settings file belongs: no one, not even root, can write the file.
    QDir().mkpath(dir.filePath(QStringLiteral("Orlend/TarvexPrint.conf")));

    auto recording = std::make_unique<tarvex::RecordingPrompt>();
    auto* rec = recording.get();
    auto previous = tarvex::setPrompt(std::move(recording));
    EXPECT_FALSE(SaveTemplateSettings(TTemplateSettings {}));
    EXPECT_EQ(rec->texts(), QStringList {QStringLiteral(
                                "Ошибка при работе с системным реестром\r\nthe Error at job with the system register")});
    tarvex::setPrompt(std::move(previous));
}
