// The engine's texts: every id the engine asks for is in both string tables the program hands it.

#include "UiStrings.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QHash<QString, QString> table(const char* language)
{
    QHash<QString, QString> t;
    const QString text = readFile(QStringLiteral(TARVEX_SOURCE_DIR "/src/templates/engine-strings-%1.txt").arg(QLatin1String(language)));
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !line.startsWith(QLatin1Char('=')))
            t.insert(line.left(eq), line.mid(eq + 1));
    }
    return t;
}

TEST(UiStrings, EveryIdTheEngineUsesIsInBothTables)
{
    // Ids are string literals of the form "preview.x", "export.x", "prepared.x", "print.x".
    static const QRegularExpression id(QStringLiteral("\"((?:preview|export|prepared|print)\\.[A-Za-z.]+)\""));
    QSet<QString> used;
    QDirIterator it(QStringLiteral(TARVEX_SOURCE_DIR "/src/engine"), {QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        for (const auto& m : id.globalMatch(readFile(it.next())))
            used.insert(m.captured(1));
    ASSERT_GT(used.size(), 40) << "the engine's texts were not found in its sources";
    const auto ru = table("ru");
    const auto en = table("en");
    for (const QString& s : used) {
        EXPECT_TRUE(ru.contains(s)) << "Russian table lacks " << s.toStdString();
        EXPECT_TRUE(en.contains(s)) << "English table lacks " << s.toStdString();
    }
    EXPECT_EQ(QSet<QString>(ru.keyBegin(), ru.keyEnd()), QSet<QString>(en.keyBegin(), en.keyEnd()))
        << "the two tables hold the same ids";
    // Placeholders agree, and the Russian texts are Russian.
    static const QRegularExpression cyrillic(QStringLiteral("[А-яЁё]"));
    for (auto i = ru.cbegin(); i != ru.cend(); ++i) {
        for (const char* ph : {"%1", "%2", "%3"})
            EXPECT_EQ(i.value().contains(QLatin1String(ph)), en.value(i.key()).contains(QLatin1String(ph))) << i.key().toStdString();
        if (i.value() != QStringLiteral("PDF")) {
            EXPECT_TRUE(cyrillic.match(i.value()).hasMatch()) << i.key().toStdString() << " is not translated";
        }
    }
}

TEST(UiStrings, TheTableInForceGivesTheTextAndTheFallbackOtherwise)
{
    tarvex::engine::setUiStrings({{QStringLiteral("preview.print"), QStringLiteral("Печать")}});
    EXPECT_EQ(tarvex::engine::uiText("preview.print", "Print"), QStringLiteral("Печать"));
    EXPECT_EQ(tarvex::engine::uiText("preview.close", "Close"), QStringLiteral("Close"));
    tarvex::engine::setUiStrings({});
    EXPECT_EQ(tarvex::engine::uiText("preview.print", "Print"), QStringLiteral("Print"));
}

} // namespace
