#include "TextLayout_p.h"

namespace tarvex::engine {

QFont toQFont(const TextFont& f)
{
    QFont q(f.family);
    q.setPixelSize(std::max(1, qRound(f.pixelSize)));
    q.setBold(f.style & Font::Bold);
    q.setItalic(f.style & Font::Italic);
    q.setUnderline(f.style & Font::Underline);
    q.setStrikeOut(f.style & Font::StrikeOut);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setKerning(false);
    return q;
}

const QFontMetricsF& TextMeasurer::metrics(const TextFont& f)
{
    const QString key = f.family + QLatin1Char('|') + QString::number(f.pixelSize) + QLatin1Char('|')
                        + QString::number(f.style);
    auto it = cache_.constFind(key);
    if (it != cache_.constEnd())
        return **it;
    auto m = std::make_shared<QFontMetricsF>(toQFont(f));
    cache_.insert(key, m);
    return *m;
}

QStringList TextMeasurer::breakLines(const QString& text, const TextFont& f, double width, bool wordWrap)
{
    QString norm = text;
    norm.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    norm.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = norm.split(QLatin1Char('\n'));
    if (!wordWrap || width <= 0)
        return paragraphs;
    const QFontMetricsF& fm = metrics(f);
    const double space = fm.horizontalAdvance(QLatin1Char(' '));
    QStringList out;
    for (const QString& para : paragraphs) {
        if (fm.horizontalAdvance(para) <= width) {
            out << para;
            continue;
        }
        QString line;
        double lineWidth = 0;
        const QStringList words = para.split(QLatin1Char(' '));
        for (const QString& word : words) {
            double w = fm.horizontalAdvance(word);
            const double needed = line.isEmpty() ? w : lineWidth + space + w;
            if (needed <= width || (line.isEmpty() && w <= width)) {
                if (!line.isEmpty()) {
                    line += QLatin1Char(' ');
                    lineWidth += space;
                }
                line += word;
                lineWidth += w;
                continue;
            }
            if (!line.isEmpty()) {
                out << line;
                line.clear();
                lineWidth = 0;
            }
            // A word wider than the line breaks after a comma, slash, hyphen or semicolon in it
            // ("Площадь,|мв*мин"), and between characters only where no such place fits.
            QString rest = word;
            while (!rest.isEmpty() && fm.horizontalAdvance(rest) > width) {
                int n = 0;
                for (int i = 1; i < rest.size(); ++i) {
                    if (fm.horizontalAdvance(rest.left(i)) > width)
                        break;
                    const QChar c = rest[i - 1];
                    if (c == QLatin1Char(',') || c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char(';'))
                        n = i;
                }
                if (n == 0) {
                    n = 1;
                    while (n < rest.size() && fm.horizontalAdvance(rest.left(n + 1)) <= width)
                        ++n;
                }
                out << rest.left(n);
                rest = rest.mid(n);
            }
            line = rest;
            lineWidth = fm.horizontalAdvance(rest);
        }
        out << line;
    }
    return out;
}

} // namespace tarvex::engine
