#include "RichView.h"

#include "PropData.h"
#include "TextDecoding.h"

namespace tarvex::engine {

RichView::RichView(const QString& typeName) : View(typeName, ObjectKind::Rich) {}

QString RichView::plainText() const
{
    return rtfToPlainText(richText);
}

void RichView::readAttributes(AttributeBag& bag)
{
    View::readAttributes(bag);
    if (auto s = bag.value(QStringLiteral("StretchMode"))) {
        if (*s == QLatin1String("smActualHeight")) stretchMode = StretchMode::ActualHeight;
        else if (*s == QLatin1String("smMaxHeight")) stretchMode = StretchMode::MaxHeight;
        bag.take(QStringLiteral("StretchMode"));
    }
    gapX = bag.takeReal(QStringLiteral("GapX"), gapX);
    gapY = bag.takeReal(QStringLiteral("GapY"), gapY);
    if (auto hex = bag.take(QStringLiteral("RichEdit.PropData"))) {
        loadedPropData_ = *hex;
        PropData pd;
        pd.decodeHex(*hex);
        for (const auto& e : pd.entries()) {
            if (!e.second.isEmpty()) {
                richText = QString::fromLatin1(e.second);
                break;
            }
        }
        loadedText_ = richText;
    }
}

void RichView::writeAttributes(AttributeBag& out) const
{
    View::writeAttributes(out);
    if (gapX != 2)
        out.putReal(QStringLiteral("GapX"), gapX);
    if (gapY != 1)
        out.putReal(QStringLiteral("GapY"), gapY);
    if (stretchMode == StretchMode::ActualHeight)
        out.putString(QStringLiteral("StretchMode"), QStringLiteral("smActualHeight"));
    else if (stretchMode == StretchMode::MaxHeight)
        out.putString(QStringLiteral("StretchMode"), QStringLiteral("smMaxHeight"));
    if (!loadedPropData_.isEmpty() && richText == loadedText_) {
        out.putString(QStringLiteral("RichEdit.PropData"), loadedPropData_);
    } else if (!richText.isEmpty()) {
        PropData pd;
        pd.setValue(QStringLiteral("RichEdit"), richText.toUtf8());
        out.putString(QStringLiteral("RichEdit.PropData"), pd.encodeHex());
    }
}

QString rtfToPlainText(const QString& rtf)
{
    if (!rtf.trimmed().startsWith(QLatin1String("{\\rtf")))
        return rtf;
    QString out;
    int codePage = 1252;
    // Groups whose content is not text.
    static const char* const skipDestinations[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "header",
                                                   "footer", "object", "themedata", "latentstyles", "listtable",
                                                   "listoverridetable", "rsidtbl", "generator", "xmlnstbl"};
    struct Group {
        bool skip;
        int ucSkip;
    };
    std::vector<Group> stack{{false, 1}};
    int pendingSkip = 0;
    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = rtf[i];
        if (c == QLatin1Char('{')) {
            if (stack.size() > 500)
                break; // nesting beyond any real document
            stack.push_back(stack.back());
            continue;
        }
        if (c == QLatin1Char('}')) {
            if (stack.size() > 1)
                stack.pop_back();
            continue;
        }
        Group& g = stack.back();
        if (c == QLatin1Char('\\')) {
            if (i + 1 >= n)
                break;
            const QChar d = rtf[i + 1];
            if (d == QLatin1Char('\\') || d == QLatin1Char('{') || d == QLatin1Char('}')) {
                if (!g.skip)
                    out += d;
                ++i;
                continue;
            }
            if (d == QLatin1Char('\'')) {
                if (i + 3 < n) {
                    bool ok = false;
                    const int byte = rtf.mid(i + 2, 2).toInt(&ok, 16);
                    i += 3;
                    if (pendingSkip > 0) {
                        --pendingSkip;
                        continue;
                    }
                    if (ok && !g.skip)
                        out += decodeSingleByte(static_cast<char>(byte), codePage);
                }
                continue;
            }
            if (d == QLatin1Char('*')) {
                g.skip = true;
                ++i;
                continue;
            }
            if (!d.isLetter()) {
                ++i;
                if (d == QLatin1Char('~') && !g.skip)
                    out += QLatin1Char(' ');
                continue;
            }
            qsizetype j = i + 1;
            while (j < n && rtf[j].isLetter() && rtf[j].unicode() < 128)
                ++j;
            const QString word = rtf.mid(i + 1, j - i - 1);
            qsizetype k = j;
            if (k < n && rtf[k] == QLatin1Char('-'))
                ++k;
            while (k < n && rtf[k].isDigit() && k - j < 10)
                ++k;
            bool hasParam = k > j;
            const int param = hasParam ? rtf.mid(j, k - j).toInt() : 0;
            if (k < n && rtf[k] == QLatin1Char(' '))
                ++k;
            i = k - 1;
            for (const char* dest : skipDestinations)
                if (word == QLatin1String(dest))
                    g.skip = true;
            if (word == QLatin1String("ansicpg") && hasParam)
                codePage = param;
            else if (word == QLatin1String("fcharset") && param == 204)
                codePage = 1251;
            else if (word == QLatin1String("uc") && hasParam)
                g.ucSkip = std::max(0, std::min(param, 8));
            else if (word == QLatin1String("u") && hasParam) {
                if (!g.skip) {
                    const int cp = param < 0 ? param + 65536 : param;
                    if (cp > 0 && cp < 65536)
                        out += QChar(static_cast<char16_t>(cp));
                }
                pendingSkip = g.ucSkip;
            } else if (!g.skip && (word == QLatin1String("par") || word == QLatin1String("line")))
                out += QLatin1Char('\n');
            else if (!g.skip && word == QLatin1String("tab"))
                out += QLatin1Char('\t');
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            continue;
        if (pendingSkip > 0) {
            --pendingSkip;
            continue;
        }
        if (!g.skip)
            out += c;
    }
    while (out.endsWith(QLatin1Char('\n')))
        out.chop(1);
    return out;
}

} // namespace tarvex::engine
