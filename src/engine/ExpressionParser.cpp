// Recursive-descent parser of the template expression language.

#include "ExpressionNode_p.h"

#include <QDate>

namespace tarvex::engine::detail {

namespace {

// Nesting deeper than this is refused so that a hostile template cannot exhaust the stack.
constexpr int kMaxDepth = 128;
constexpr int kMaxTreeDepth = 512;

struct ParseError {
    QString message;
};

class Parser {
public:
    explicit Parser(const QString& text) : s_(text) {}

    std::shared_ptr<Node> parseAll()
    {
        auto n = parseOr();
        skipSpace();
        if (pos_ < s_.size())
            fail(QStringLiteral("unexpected '%1'").arg(s_[pos_]));
        return n;
    }

private:
    [[noreturn]] void fail(const QString& what) const
    {
        throw ParseError{QStringLiteral("%1 at position %2").arg(what).arg(pos_ + 1)};
    }

    void skipSpace()
    {
        while (pos_ < s_.size() && s_[pos_].isSpace())
            ++pos_;
    }

    bool atEnd() { skipSpace(); return pos_ >= s_.size(); }

    QChar peek(qsizetype ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : QChar(); }

    static bool identStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
    static bool identChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

    // Matches a keyword operator (and, or, not, div, mod, xor) as a whole word.
    bool acceptWord(const char* word)
    {
        skipSpace();
        const QLatin1String w(word);
        if (s_.mid(pos_, w.size()).compare(w, Qt::CaseInsensitive) != 0)
            return false;
        if (pos_ + w.size() < s_.size() && identChar(s_[pos_ + w.size()]))
            return false;
        pos_ += w.size();
        return true;
    }

    bool accept(const char* op)
    {
        skipSpace();
        const QLatin1String o(op);
        if (s_.mid(pos_, o.size()) != o)
            return false;
        pos_ += o.size();
        return true;
    }

    struct DepthGuard {
        explicit DepthGuard(Parser& p) : p_(p)
        {
            if (++p_.depth_ > kMaxDepth)
                p_.fail(QStringLiteral("expression nested too deeply"));
        }
        ~DepthGuard() { --p_.depth_; }
        Parser& p_;
    };

    std::shared_ptr<Node> binary(const QString& op, std::shared_ptr<Node> l, std::shared_ptr<Node> r)
    {
        // Long operator chains build deep trees; their depth is bounded like nesting so that evaluating
        // and freeing them stays within the stack.
        const int d = std::max(l->depth, r->depth) + 1;
        if (d > kMaxTreeDepth)
            fail(QStringLiteral("expression too long"));
        auto n = std::make_shared<Node>();
        n->depth = d;
        n->kind = Node::Kind::Binary;
        n->name = op;
        n->args = {std::move(l), std::move(r)};
        return n;
    }

    std::shared_ptr<Node> parseOr()
    {
        DepthGuard g(*this);
        auto l = parseAnd();
        for (;;) {
            if (acceptWord("or"))
                l = binary(QStringLiteral("or"), l, parseAnd());
            else if (acceptWord("xor"))
                l = binary(QStringLiteral("xor"), l, parseAnd());
            else
                return l;
        }
    }

    std::shared_ptr<Node> parseAnd()
    {
        auto l = parseNot();
        while (acceptWord("and"))
            l = binary(QStringLiteral("and"), l, parseNot());
        return l;
    }

    std::shared_ptr<Node> parseNot()
    {
        DepthGuard g(*this);
        if (acceptWord("not")) {
            auto n = std::make_shared<Node>();
            n->kind = Node::Kind::Unary;
            n->name = QStringLiteral("not");
            n->args = {parseNot()};
            n->depth = n->args[0]->depth + 1;
            return n;
        }
        return parseComparison();
    }

    std::shared_ptr<Node> parseComparison()
    {
        auto l = parseAdditive();
        for (;;) {
            const char* ops[] = {"<>", "<=", ">=", "=", "<", ">"};
            bool matched = false;
            for (const char* op : ops) {
                if (accept(op)) {
                    l = binary(QLatin1String(op), l, parseAdditive());
                    matched = true;
                    break;
                }
            }
            if (!matched)
                return l;
        }
    }

    std::shared_ptr<Node> parseAdditive()
    {
        auto l = parseMultiplicative();
        for (;;) {
            if (accept("+"))
                l = binary(QStringLiteral("+"), l, parseMultiplicative());
            else if (accept("-"))
                l = binary(QStringLiteral("-"), l, parseMultiplicative());
            else
                return l;
        }
    }

    std::shared_ptr<Node> parseMultiplicative()
    {
        auto l = parseUnary();
        for (;;) {
            if (accept("*"))
                l = binary(QStringLiteral("*"), l, parseUnary());
            else if (accept("/"))
                l = binary(QStringLiteral("/"), l, parseUnary());
            else if (acceptWord("div"))
                l = binary(QStringLiteral("div"), l, parseUnary());
            else if (acceptWord("mod"))
                l = binary(QStringLiteral("mod"), l, parseUnary());
            else
                return l;
        }
    }

    std::shared_ptr<Node> parseUnary()
    {
        DepthGuard g(*this);
        if (accept("-") || (peek() == QLatin1Char('+') && accept("+"))) {
            const bool minus = s_[pos_ - 1] == QLatin1Char('-');
            auto operand = parseUnary();
            if (!minus)
                return operand;
            auto n = std::make_shared<Node>();
            n->kind = Node::Kind::Unary;
            n->name = QStringLiteral("-");
            n->depth = operand->depth + 1;
            if (n->depth > kMaxTreeDepth)
                fail(QStringLiteral("expression too long"));
            n->args = {operand};
            return n;
        }
        if (acceptWord("not")) {
            auto n = std::make_shared<Node>();
            n->kind = Node::Kind::Unary;
            n->name = QStringLiteral("not");
            n->args = {parseUnary()};
            n->depth = n->args[0]->depth + 1;
            return n;
        }
        return parsePrimary();
    }

    std::shared_ptr<Node> literal(const Value& v)
    {
        auto n = std::make_shared<Node>();
        n->kind = Node::Kind::Literal;
        n->literal = v;
        return n;
    }

    QString readQuoted(QChar quote)
    {
        // pos_ is on the opening quote; a doubled quote stands for one.
        ++pos_;
        QString out;
        for (;;) {
            if (pos_ >= s_.size())
                fail(QStringLiteral("unterminated string"));
            const QChar c = s_[pos_++];
            if (c == quote) {
                if (pos_ < s_.size() && s_[pos_] == quote) {
                    out += quote;
                    ++pos_;
                    continue;
                }
                return out;
            }
            out += c;
        }
    }

    std::shared_ptr<Node> parseString()
    {
        // Pascal strings: 'text' pieces and #13 character codes glued together.
        QString out;
        bool any = false;
        for (;;) {
            if (peek() == QLatin1Char('\'')) {
                out += readQuoted(QLatin1Char('\''));
                any = true;
            } else if (peek() == QLatin1Char('#') && peek(1).isDigit()) {
                ++pos_;
                int code = 0;
                while (pos_ < s_.size() && s_[pos_].isDigit() && code < 0x110000)
                    code = code * 10 + s_[pos_++].digitValue();
                if (code <= 0 || code > 0xFFFF)
                    fail(QStringLiteral("bad character code"));
                out += QChar(code);
                any = true;
            } else {
                break;
            }
        }
        if (!any)
            fail(QStringLiteral("string expected"));
        return literal(Value(out));
    }

    std::shared_ptr<Node> parseNumber()
    {
        const qsizetype start = pos_;
        while (pos_ < s_.size() && s_[pos_].isDigit())
            ++pos_;
        // A date literal: dd.mm.yyyy
        if (peek() == QLatin1Char('.') && peek(1).isDigit()) {
            qsizetype p = pos_ + 1;
            while (p < s_.size() && s_[p].isDigit())
                ++p;
            if (p < s_.size() && s_[p] == QLatin1Char('.') && p + 1 < s_.size() && s_[p + 1].isDigit()) {
                qsizetype q = p + 1;
                while (q < s_.size() && s_[q].isDigit())
                    ++q;
                const QDate d = QDate::fromString(s_.mid(start, q - start), QStringLiteral("d.M.yyyy"));
                if (d.isValid()) {
                    pos_ = q;
                    return literal(Value(QDateTime(d, QTime(0, 0))));
                }
            }
        }
        bool real = false;
        if (peek() == QLatin1Char('.') && peek(1).isDigit()) {
            real = true;
            ++pos_;
            while (pos_ < s_.size() && s_[pos_].isDigit())
                ++pos_;
        }
        if ((peek() == QLatin1Char('e') || peek() == QLatin1Char('E'))
            && (peek(1).isDigit() || ((peek(1) == QLatin1Char('+') || peek(1) == QLatin1Char('-')) && peek(2).isDigit()))) {
            real = true;
            pos_ += 2;
            while (pos_ < s_.size() && s_[pos_].isDigit())
                ++pos_;
        }
        const QString t = s_.mid(start, pos_ - start);
        bool ok = false;
        if (!real) {
            const qint64 v = t.toLongLong(&ok);
            if (ok)
                return literal(Value(v));
        }
        const double d = t.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("bad number"));
        return literal(Value(d));
    }

    std::shared_ptr<Node> nameOrField(const QString& inner)
    {
        // "DataSet."Field"" or a plain name (which may hold blanks inside < >).
        const qsizetype dq = inner.indexOf(QLatin1String(".\""));
        auto n = std::make_shared<Node>();
        if (dq > 0) {
            n->kind = Node::Kind::Field;
            n->name = inner.left(dq).trimmed();
            QString f = inner.mid(dq + 2);
            if (!f.endsWith(QLatin1Char('"')))
                fail(QStringLiteral("bad field reference"));
            f.chop(1);
            n->fieldName = f;
        } else {
            n->kind = Node::Kind::Name;
            n->name = inner.trimmed();
            if (n->name.isEmpty())
                fail(QStringLiteral("empty name"));
        }
        return n;
    }

    std::shared_ptr<Node> parsePrimary()
    {
        skipSpace();
        if (pos_ >= s_.size())
            fail(QStringLiteral("operand expected"));
        const QChar c = s_[pos_];
        if (c == QLatin1Char('(')) {
            ++pos_;
            auto n = parseOr();
            if (!accept(")"))
                fail(QStringLiteral("')' expected"));
            return n;
        }
        if (c == QLatin1Char('\'') || (c == QLatin1Char('#') && peek(1).isDigit()))
            return parseString();
        if (c == QLatin1Char('"'))
            return literal(Value(readQuoted(QLatin1Char('"'))));
        if (c.isDigit())
            return parseNumber();
        if (c == QLatin1Char('$')) {
            ++pos_;
            const qsizetype start = pos_;
            while (pos_ < s_.size() && isxdigit(s_[pos_].toLatin1()) && s_[pos_].unicode() < 128)
                ++pos_;
            bool ok = false;
            const qint64 v = s_.mid(start, pos_ - start).toLongLong(&ok, 16);
            if (!ok)
                fail(QStringLiteral("bad hexadecimal number"));
            return literal(Value(v));
        }
        if (c == QLatin1Char('<')) {
            // A reference in angle brackets: <Name>, <Line#>, <DataSet."Field">.
            ++pos_;
            QString inner;
            QChar quote;
            while (pos_ < s_.size()) {
                const QChar d = s_[pos_];
                if (quote.isNull() && d == QLatin1Char('>'))
                    break;
                if (d == QLatin1Char('"'))
                    quote = quote.isNull() ? d : QChar();
                inner += d;
                ++pos_;
            }
            if (pos_ >= s_.size())
                fail(QStringLiteral("'>' expected"));
            ++pos_;
            return nameOrField(inner);
        }
        if (identStart(c)) {
            const qsizetype start = pos_;
            while (pos_ < s_.size() && identChar(s_[pos_]))
                ++pos_;
            while (pos_ < s_.size() && s_[pos_] == QLatin1Char('#'))
                ++pos_;
            QString name = s_.mid(start, pos_ - start);
            // DataSet."Field" without brackets.
            if (peek() == QLatin1Char('.') && peek(1) == QLatin1Char('"')) {
                ++pos_;
                auto n = std::make_shared<Node>();
                n->kind = Node::Kind::Field;
                n->name = name;
                n->fieldName = readQuoted(QLatin1Char('"'));
                return n;
            }
            skipSpace();
            if (peek() == QLatin1Char('(')) {
                ++pos_;
                auto n = std::make_shared<Node>();
                n->kind = Node::Kind::Call;
                n->name = name.toUpper();
                skipSpace();
                if (peek() == QLatin1Char(')')) {
                    ++pos_;
                    return n;
                }
                for (;;) {
                    if (n->args.size() > 64)
                        fail(QStringLiteral("too many arguments"));
                    n->args.push_back(parseOr());
                    n->depth = std::max(n->depth, n->args.back()->depth + 1);
                    if (n->depth > kMaxTreeDepth)
                        fail(QStringLiteral("expression too long"));
                    if (accept(","))
                        continue;
                    if (accept(")"))
                        break;
                    fail(QStringLiteral("',' or ')' expected"));
                }
                return n;
            }
            if (name.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return literal(Value(true));
            if (name.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return literal(Value(false));
            if (name.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0
                || name.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0)
                return literal(Value());
            auto n = std::make_shared<Node>();
            n->kind = Node::Kind::Name;
            n->name = name;
            return n;
        }
        fail(QStringLiteral("unexpected '%1'").arg(c));
    }

    const QString& s_;
    qsizetype pos_ = 0;
    int depth_ = 0;
};

} // namespace

bool isAggregateFunction(const QString& upperName)
{
    return upperName == QLatin1String("SUM") || upperName == QLatin1String("COUNT") || upperName == QLatin1String("MIN")
           || upperName == QLatin1String("MAX") || upperName == QLatin1String("AVG");
}

std::shared_ptr<Node> parseExpression(const QString& text, QString& error)
{
    Parser p(text);
    try {
        if (text.trimmed().isEmpty()) {
            error = QStringLiteral("empty expression");
            return nullptr;
        }
        return p.parseAll();
    } catch (const ParseError& e) {
        error = e.message;
        return nullptr;
    }
}

} // namespace tarvex::engine::detail
