#include "Bilingual.h"

#include <QRegularExpression>

namespace tarvex {

namespace {
int g_language = 0;
}

int languageIndex() { return g_language; }
void setLanguageIndex(int index) { g_language = index; }

QString Pick(const QString& text) {
    if (g_language != 1 && g_language != 2)
        g_language = 1;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    // A closing line break ends the last line; it does not start an empty one.
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    if (g_language == 1 && !lines.isEmpty())
        return lines.first();
    if (g_language == 2 && lines.size() >= 2)
        return lines.at(1);
    return text;
}

} // namespace tarvex
