#include "RichText_p.h"

#include "TextDecoding.h"

#include <algorithm>
#include <cmath>

namespace tarvex::engine {

namespace {

// Groups nested deeper than this end the reading (no real document comes near it).
constexpr size_t kMaxRtfNesting = 500;
// Longer control words are not RTF; their letters are read as text.
constexpr qsizetype kMaxControlWord = 32;
// Tab stops when tab-separated cells do not fit as a table: 1.25 cm.
constexpr double kDefaultTabStop = 12.5 * kUnitsPerMm;

bool isRtf(const QString& content)
{
    return content.trimmed().startsWith(QLatin1String("{\\rtf"));
}

// Collects the text of an RTF document into paragraphs.
class RtfReader {
public:
    explicit RtfReader(const QString& rtf) : rtf_(rtf) {}

    std::vector<RichParagraph> read()
    {
        paragraphs_.emplace_back();
        std::vector<State> stack{State{}};
        const qsizetype n = rtf_.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QChar c = rtf_[i];
            if (c == QLatin1Char('{')) {
                if (stack.size() >= kMaxRtfNesting)
                    break;
                stack.push_back(stack.back());
                continue;
            }
            if (c == QLatin1Char('}')) {
                if (stack.size() > 1)
                    stack.pop_back();
                continue;
            }
            State& s = stack.back();
            if (c == QLatin1Char('\\')) {
                i = control(i, s);
                continue;
            }
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
                continue;
            if (pendingSkip_ > 0) {
                --pendingSkip_;
                continue;
            }
            text(s, c);
        }
        // A document ends with \par: no empty paragraph after it.
        while (paragraphs_.size() > 1 && paragraphs_.back().runs.empty())
            paragraphs_.pop_back();
        return std::move(paragraphs_);
    }

private:
    struct State {
        bool skip = false;
        int ucSkip = 1;
        int style = 0;
        double pixelSize = 0;
    };

    void text(const State& s, QChar c)
    {
        if (s.skip)
            return;
        RichParagraph& p = paragraphs_.back();
        p.align = align_;
        if (p.runs.empty() || p.runs.back().style != s.style || p.runs.back().pixelSize != s.pixelSize)
            p.runs.push_back(RichRun{QString(), s.style, s.pixelSize});
        p.runs.back().text += c;
    }

    void endParagraph(const State& s)
    {
        if (s.skip)
            return;
        paragraphs_.back().align = align_;
        paragraphs_.emplace_back();
    }

    // Reads the control word or symbol at `i` (a backslash); returns the index of its last character.
    qsizetype control(qsizetype i, State& s)
    {
        const qsizetype n = rtf_.size();
        if (i + 1 >= n)
            return n;
        const QChar d = rtf_[i + 1];
        if (d == QLatin1Char('\\') || d == QLatin1Char('{') || d == QLatin1Char('}')) {
            text(s, d);
            return i + 1;
        }
        if (d == QLatin1Char('\'')) {
            if (i + 3 >= n)
                return n;
            bool ok = false;
            const int byte = rtf_.mid(i + 2, 2).toInt(&ok, 16);
            if (pendingSkip_ > 0)
                --pendingSkip_;
            else if (ok)
                text(s, decodeSingleByte(static_cast<char>(byte), codePage_));
            return i + 3;
        }
        if (d == QLatin1Char('*')) {
            s.skip = true;
            return i + 1;
        }
        if (d == QLatin1Char('\r') || d == QLatin1Char('\n')) {
            endParagraph(s); // a backslash before a line break is \par
            return i + 1;
        }
        if (!(d.unicode() < 128 && d.isLetter())) {
            if (d == QLatin1Char('~'))
                text(s, QLatin1Char(' '));
            else if (d == QLatin1Char('_'))
                text(s, QLatin1Char('-'));
            else if (d == QLatin1Char('|') || d == QLatin1Char('-') || d == QLatin1Char(':'))
                ; // formula character, optional hyphen, index entry
            else
                text(s, d);
            return i + 1;
        }
        qsizetype j = i + 1;
        while (j < n && j - i <= kMaxControlWord && rtf_[j].unicode() < 128 && rtf_[j].isLetter())
            ++j;
        const QString word = rtf_.mid(i + 1, j - i - 1);
        qsizetype k = j;
        if (k < n && rtf_[k] == QLatin1Char('-'))
            ++k;
        const qsizetype digits = k;
        while (k < n && rtf_[k].isDigit() && k - digits < 10)
            ++k;
        const bool hasParam = k > digits;
        const int param = hasParam ? rtf_.mid(j, k - j).toInt() : 0;
        if (k < n && rtf_[k] == QLatin1Char(' '))
            ++k;
        apply(word, hasParam, param, s);
        return k - 1;
    }

    void apply(const QString& word, bool hasParam, int param, State& s)
    {
        static const char* const skipDestinations[] = {
            "fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer", "headerl", "headerr",
            "headerf", "footerl", "footerr", "footerf", "object", "themedata", "latentstyles", "listtable",
            "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "datastore", "colorschememapping",
            "fldinst", "bkmkstart", "bkmkend", "filetbl"};
        for (const char* dest : skipDestinations) {
            if (word == QLatin1String(dest)) {
                s.skip = true;
                return;
            }
        }
        const bool on = !hasParam || param != 0;
        auto setStyle = [&](int bit, bool set) { s.style = set ? (s.style | bit) : (s.style & ~bit); };
        if (word == QLatin1String("ansicpg") && hasParam)
            codePage_ = param;
        else if (word == QLatin1String("fcharset") && param == 204)
            codePage_ = 1251;
        else if (word == QLatin1String("uc") && hasParam)
            s.ucSkip = std::clamp(param, 0, 8);
        else if (word == QLatin1String("u") && hasParam) {
            const int cp = param < 0 ? param + 65536 : param;
            if (cp > 0 && cp < 65536)
                text(s, QChar(static_cast<char16_t>(cp)));
            pendingSkip_ = s.ucSkip;
        } else if (word == QLatin1String("par") || word == QLatin1String("line") || word == QLatin1String("sect")
                   || word == QLatin1String("page"))
            endParagraph(s);
        else if (word == QLatin1String("row")) {
            // The last cell of a row ends with \cell too: no empty cell after it.
            if (!s.skip) {
                auto& runs = paragraphs_.back().runs;
                if (!runs.empty() && runs.back().text.endsWith(QLatin1Char('\t')))
                    runs.back().text.chop(1);
            }
            endParagraph(s);
        } else if (word == QLatin1String("tab") || word == QLatin1String("cell"))
            text(s, QLatin1Char('\t'));
        else if (word == QLatin1String("b"))
            setStyle(Font::Bold, on);
        else if (word == QLatin1String("i"))
            setStyle(Font::Italic, on);
        else if (word == QLatin1String("ul"))
            setStyle(Font::Underline, on);
        else if (word == QLatin1String("ulnone"))
            setStyle(Font::Underline, false);
        else if (word == QLatin1String("strike"))
            setStyle(Font::StrikeOut, on);
        else if (word == QLatin1String("plain")) {
            s.style = 0;
            s.pixelSize = 0;
        } else if (word == QLatin1String("fs") && hasParam && param > 0)
            s.pixelSize = std::min(param, 400) * (96.0 / 72.0) / 2; // half-points
        else if (word == QLatin1String("pard") || word == QLatin1String("ql") || word == QLatin1String("qj"))
            align_ = HAlign::Left;
        else if (word == QLatin1String("qc"))
            align_ = HAlign::Center;
        else if (word == QLatin1String("qr"))
            align_ = HAlign::Right;
        else if (word == QLatin1String("emdash"))
            text(s, QChar(0x2014));
        else if (word == QLatin1String("endash"))
            text(s, QChar(0x2013));
        else if (word == QLatin1String("bullet"))
            text(s, QChar(0x2022));
        else if (word == QLatin1String("lquote"))
            text(s, QChar(0x2018));
        else if (word == QLatin1String("rquote"))
            text(s, QChar(0x2019));
        else if (word == QLatin1String("ldblquote"))
            text(s, QChar(0x201C));
        else if (word == QLatin1String("rdblquote"))
            text(s, QChar(0x201D));
    }

    const QString& rtf_;
    std::vector<RichParagraph> paragraphs_;
    int codePage_ = 1252;
    int pendingSkip_ = 0;
    HAlign align_ = HAlign::Left;
};

// A run of text in its resolved font.
struct Piece {
    QString text;
    TextFont font;
};

TextFont fontOf(const RichRun& run, const TextFont& base)
{
    TextFont f = base;
    f.style = base.style | run.style;
    if (run.pixelSize > 0)
        f.pixelSize = run.pixelSize;
    return f;
}

// The cells of a paragraph: its runs cut at tabs.
std::vector<std::vector<Piece>> cellsOf(const RichParagraph& p, const TextFont& base)
{
    std::vector<std::vector<Piece>> cells(1);
    for (const RichRun& run : p.runs) {
        const TextFont f = fontOf(run, base);
        const QStringList parts = run.text.split(QLatin1Char('\t'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                cells.emplace_back();
            if (!parts[i].isEmpty())
                cells.back().push_back({parts[i], f});
        }
    }
    return cells;
}

// Places the lines of a paragraph (or of its cells) and adds them to the prepared texts.
class LinePlacer {
public:
    LinePlacer(TextMeasurer& m, const TextFont& base, const QColor& color, std::vector<TextItem>& out)
        : m_(m), base_(base), color_(color), out_(out)
    {
    }

    double width(const std::vector<Piece>& cell)
    {
        double w = 0;
        for (const Piece& p : cell)
            w += m_.textWidth(p.text, p.font);
        return w;
    }

    // One segment of a line: text in one font at an x offset.
    struct Segment {
        double x;
        QString text;
        TextFont font;
    };
    using Line = std::vector<Segment>;

    // Breaks `cell` into lines of at most `room` (unbroken when room <= 0), starting at `x`.
    std::vector<Line> wrap(const std::vector<Piece>& cell, double x, double room)
    {
        std::vector<Line> lines(1);
        double used = 0;
        auto append = [&](const QString& t, const TextFont& f, double w) {
            Line& line = lines.back();
            if (!line.empty() && line.back().font == f)
                line.back().text += t;
            else
                line.push_back({x + used, t, f});
            used += w;
        };
        for (const Piece& piece : cell) {
            const QStringList words = piece.text.split(QLatin1Char(' '));
            for (qsizetype i = 0; i < words.size(); ++i) {
                const QString space = i > 0 ? QStringLiteral(" ") : QString();
                const QString& word = words[i];
                const double spaceWidth = space.isEmpty() ? 0 : m_.textWidth(space, piece.font);
                const double w = m_.textWidth(word, piece.font);
                if (room <= 0 || used + spaceWidth + w <= room || (used == 0 && w <= room)) {
                    append(space + word, piece.font, spaceWidth + w);
                    continue;
                }
                if (used > 0) {
                    lines.emplace_back();
                    used = 0;
                }
                // A word wider than the room is broken like memo text.
                const QStringList parts = m_.breakLines(word, piece.font, room, true);
                for (qsizetype k = 0; k < parts.size(); ++k) {
                    if (k > 0) {
                        lines.emplace_back();
                        used = 0;
                    }
                    append(parts[k], piece.font, m_.textWidth(parts[k], piece.font));
                }
            }
        }
        return lines;
    }

    // Puts one line at `y` into the output; returns its height.
    double put(const Line& line, double y, double shift)
    {
        double ascent = m_.metrics(base_).ascent();
        double height = m_.lineHeight(base_, 2);
        std::vector<const Segment*> inked;
        for (const Segment& s : line) {
            ascent = std::max(ascent, m_.metrics(s.font).ascent());
            height = std::max(height, m_.lineHeight(s.font, 2));
            if (!s.text.trimmed().isEmpty())
                inked.push_back(&s);
        }
        if (inked.empty()) {
            if (merge_ >= 0)
                ++blankLines_;
            return height;
        }
        // Plain lines one under another in one font stay one text of several lines, as in memos.
        if (inked.size() == 1 && inked.front()->x + shift == 0 && merge_ >= 0) {
            TextItem& prev = out_[size_t(merge_)];
            const Segment& s = *inked.front();
            if (prev.font == s.font && prev.lineHeight == height
                && std::fabs(prev.rect.bottom() + blankLines_ * height - y) < 0.01) {
                for (; blankLines_ > 0; --blankLines_)
                    prev.lines << QString();
                prev.lines << s.text;
                prev.rect.setHeight(prev.lines.size() * height);
                prev.rect.setWidth(std::max(prev.rect.width(), m_.textWidth(s.text, s.font) + 1));
                return height;
            }
        }
        merge_ = -1;
        blankLines_ = 0;
        for (const Segment* s : inked) {
            TextItem t;
            t.font = s->font;
            t.color = color_;
            t.gapX = 0;
            t.gapY = 0;
            t.clip = false;
            t.lineHeight = m_.lineHeight(s->font, 2);
            t.lines = QStringList{s->text};
            const double top = y + ascent - m_.metrics(s->font).ascent();
            t.rect = QRectF(s->x + shift, top, m_.textWidth(s->text, s->font) + 1, t.lineHeight);
            out_.push_back(std::move(t));
        }
        if (inked.size() == 1 && inked.front()->x + shift == 0 && out_.back().lineHeight == height)
            merge_ = qsizetype(out_.size()) - 1;
        return height;
    }

    double right(const Line& line)
    {
        double r = 0;
        for (const Segment& s : line)
            r = std::max(r, s.x + m_.textWidth(s.text, s.font));
        return r;
    }

private:
    TextMeasurer& m_;
    TextFont base_;
    QColor color_;
    std::vector<TextItem>& out_;
    qsizetype merge_ = -1; // the text the next plain line may join
    int blankLines_ = 0;   // empty lines since that text
};

} // namespace

std::vector<RichParagraph> parseRichText(const QString& content)
{
    if (isRtf(content))
        return RtfReader(content).read();
    std::vector<RichParagraph> out;
    QString norm = content;
    norm.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (norm.isEmpty())
        return out;
    for (const QString& line : norm.split(QLatin1Char('\n'))) {
        RichParagraph p;
        if (!line.isEmpty())
            p.runs.push_back(RichRun{line});
        out.push_back(std::move(p));
    }
    return out;
}

QString richPlainText(const std::vector<RichParagraph>& paragraphs)
{
    QStringList lines;
    for (const RichParagraph& p : paragraphs) {
        QString line;
        for (const RichRun& r : p.runs)
            line += r.text;
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

double layoutRichText(const std::vector<RichParagraph>& paragraphs, const TextFont& base, const QColor& color,
                      double width, TextMeasurer& measurer, std::vector<TextItem>& out)
{
    LinePlacer placer(measurer, base, color, out);
    const double gap = std::max(10.0, 3 * measurer.textWidth(QStringLiteral(" "), base));
    double y = 0;
    size_t i = 0;
    while (i < paragraphs.size()) {
        // Consecutive lines with tabs form one table.
        std::vector<std::vector<std::vector<Piece>>> block;
        size_t end = i;
        while (end < paragraphs.size()) {
            auto cells = cellsOf(paragraphs[end], base);
            if (cells.size() < 2)
                break;
            block.push_back(std::move(cells));
            ++end;
        }
        if (block.empty()) {
            const RichParagraph& p = paragraphs[i];
            const auto cells = cellsOf(p, base);
            for (const auto& line : placer.wrap(cells.front(), 0, width)) {
                double shift = 0;
                if (p.align != HAlign::Left) {
                    const double free = std::max(0.0, width - placer.right(line));
                    shift = p.align == HAlign::Center ? free / 2 : free;
                }
                y += placer.put(line, y, shift);
            }
            ++i;
            continue;
        }
        // Each column is as wide as its widest cell that another cell follows.
        std::vector<double> columnWidth;
        for (const auto& cells : block)
            for (size_t c = 0; c + 1 < cells.size(); ++c) {
                if (columnWidth.size() <= c)
                    columnWidth.resize(c + 1, 0);
                columnWidth[c] = std::max(columnWidth[c], placer.width(cells[c]));
            }
        std::vector<double> columnX{0};
        for (double w : columnWidth)
            columnX.push_back(columnX.back() + w + gap);
        const bool asTable = width <= 0 || columnX.back() <= width * 0.75;
        for (const auto& cells : block) {
            LinePlacer::Line first;
            std::vector<LinePlacer::Line> more;
            double x = 0;
            for (size_t c = 0; c < cells.size(); ++c) {
                if (c > 0) {
                    if (asTable) {
                        x = columnX[c];
                    } else {
                        // The next stop at least a blank after the text before it.
                        const double minimum = x + measurer.textWidth(QStringLiteral(" "), base);
                        x = std::ceil(minimum / kDefaultTabStop) * kDefaultTabStop;
                    }
                }
                const bool last = c + 1 == cells.size();
                const double room = last && width > 0 ? std::max(width - x, width * 0.25) : 0;
                auto lines = placer.wrap(cells[c], x, room);
                first.insert(first.end(), lines.front().begin(), lines.front().end());
                x = std::max(x, placer.right(lines.front()));
                if (last)
                    more.assign(lines.begin() + 1, lines.end());
            }
            y += placer.put(first, y, 0);
            for (const auto& line : more)
                y += placer.put(line, y, 0);
        }
        i = end;
    }
    return y;
}

} // namespace tarvex::engine
