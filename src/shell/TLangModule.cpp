#include "TLangModule.h"

#include "SettingsStore.h"
#include "UiStrings.h"
#include "templates.h"

#include <QRegularExpression>
#include <QStringList>

namespace {
QStringList lines(const QString& text) {
    QStringList out = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}
} // namespace

TLangModule::TLangModule() {
    tarvex::SettingsStore host(QStringLiteral("Orlend"), QStringLiteral("TarvexWin"));
    const int stored = host.readInt(QStringLiteral("Lang")).value_or(1);
    language_ = stored == 2 ? 2 : 1;
    engineStrings_ = parseStringTable(tarvex::templates::text(
        language_ == 1 ? QStringLiteral("engine-strings-ru.txt") : QStringLiteral("engine-strings-en.txt")));
    // The engine's own windows and messages speak the language of the run.
    tarvex::engine::setUiStrings(engineStrings_);
}

QString TLangModule::translationList(int column) {
    QString out;
    for (const QString& line : lines(tarvex::templates::text(QStringLiteral("translation-list.tsv")))) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (column == 0)
            out += tab < 0 ? line : line.left(tab);
        else
            out += tab < 0 ? QString() : line.mid(tab + 1);
        out += QStringLiteral("\r\n");
    }
    return out;
}

QHash<QString, QString> TLangModule::parseStringTable(const QString& text) {
    QHash<QString, QString> table;
    for (const QString& line : lines(text)) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || eq + 1 >= line.size())
            continue;
        table.insert(line.left(eq), line.mid(eq + 1));
    }
    return table;
}
