// Evaluation of parsed expressions and the built-in functions.

#include "Expression.h"

#include "ExpressionNode_p.h"
#include "Formatting.h"

#include <cmath>

namespace tarvex::engine {

namespace {

using detail::Node;

struct EvalError {
    QString message;
};

[[noreturn]] void fail(const QString& message)
{
    throw EvalError{message};
}

double toNumber(const Value& v, const char* what)
{
    bool ok = false;
    const double d = v.toReal(&ok);
    if (!ok)
        fail(QStringLiteral("%1: '%2' is not a number").arg(QLatin1String(what), v.toString()));
    return d;
}

bool bothIntegral(const Value& a, const Value& b)
{
    auto integral = [](const Value& v) {
        return v.type() == Value::Type::Int || v.type() == Value::Type::Bool;
    };
    return integral(a) && integral(b);
}

int compareValues(const Value& a, const Value& b)
{
    if (a.type() == Value::Type::DateTime && b.type() == Value::Type::DateTime) {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    bool okA = false, okB = false;
    double x = 0, y = 0;
    if (a.isNumber() || b.isNumber() || a.type() == Value::Type::DateTime || b.type() == Value::Type::DateTime) {
        x = a.toReal(&okA);
        y = b.toReal(&okB);
        if (a.isNull())
            okA = true;
        if (b.isNull())
            okB = true;
    }
    if (okA && okB)
        return x < y ? -1 : (x > y ? 1 : 0);
    const int c = QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

class Evaluator {
public:
    explicit Evaluator(ExpressionContext& ctx) : ctx_(ctx) {}

    Value eval(const Node& n)
    {
        switch (n.kind) {
        case Node::Kind::Literal: return n.literal;
        case Node::Kind::Name: {
            if (auto v = ctx_.variable(n.name))
                return *v;
            fail(QStringLiteral("unknown name '%1'").arg(n.name));
        }
        case Node::Kind::Field: {
            if (auto v = ctx_.field(n.name, n.fieldName))
                return *v;
            fail(QStringLiteral("unknown field %1.\"%2\"").arg(n.name, n.fieldName));
        }
        case Node::Kind::Unary: {
            const Value v = eval(*n.args[0]);
            if (n.name == QLatin1String("not")) {
                if (v.type() == Value::Type::Int)
                    return Value(~v.toInt());
                return Value(!v.toBool());
            }
            if (v.type() == Value::Type::Int)
                return Value(-v.toInt());
            return Value(-toNumber(v, "-"));
        }
        case Node::Kind::Binary: return binary(n);
        case Node::Kind::Call: return call(n);
        }
        return Value();
    }

private:
    Value binary(const Node& n)
    {
        const QString& op = n.name;
        if (op == QLatin1String("and")) {
            const Value l = eval(*n.args[0]);
            if (l.type() == Value::Type::Int) {
                const Value r = eval(*n.args[1]);
                if (r.type() == Value::Type::Int)
                    return Value(l.toInt() & r.toInt());
                return Value(l.toBool() && r.toBool());
            }
            if (!l.toBool())
                return Value(false);
            return Value(eval(*n.args[1]).toBool());
        }
        if (op == QLatin1String("or")) {
            const Value l = eval(*n.args[0]);
            if (l.type() == Value::Type::Int) {
                const Value r = eval(*n.args[1]);
                if (r.type() == Value::Type::Int)
                    return Value(l.toInt() | r.toInt());
                return Value(l.toBool() || r.toBool());
            }
            if (l.toBool())
                return Value(true);
            return Value(eval(*n.args[1]).toBool());
        }
        const Value l = eval(*n.args[0]);
        const Value r = eval(*n.args[1]);
        if (op == QLatin1String("xor"))
            return Value(l.toBool() != r.toBool());
        if (op == QLatin1String("+")) {
            if (l.type() == Value::Type::String || r.type() == Value::Type::String)
                return Value(l.toString() + r.toString());
            if (l.type() == Value::Type::DateTime && r.isNumber())
                return Value(Value(l.toReal() + r.toReal()).toDateTime());
            if (bothIntegral(l, r))
                return Value(qint64(quint64(l.toInt()) + quint64(r.toInt())));
            return Value(toNumber(l, "+") + toNumber(r, "+"));
        }
        if (op == QLatin1String("-")) {
            if (l.type() == Value::Type::DateTime && r.type() == Value::Type::DateTime)
                return Value(l.toReal() - r.toReal());
            if (bothIntegral(l, r))
                return Value(qint64(quint64(l.toInt()) - quint64(r.toInt())));
            return Value(toNumber(l, "-") - toNumber(r, "-"));
        }
        if (op == QLatin1String("*")) {
            if (bothIntegral(l, r))
                return Value(qint64(quint64(l.toInt()) * quint64(r.toInt())));
            return Value(toNumber(l, "*") * toNumber(r, "*"));
        }
        if (op == QLatin1String("/")) {
            const double d = toNumber(r, "/");
            if (d == 0.0)
                fail(QStringLiteral("division by zero"));
            return Value(toNumber(l, "/") / d);
        }
        if (op == QLatin1String("div") || op == QLatin1String("mod")) {
            bool okL = false, okR = false;
            const qint64 a = l.toInt(&okL);
            const qint64 b = r.toInt(&okR);
            if (!okL || !okR)
                fail(QStringLiteral("%1 needs integers").arg(op));
            if (b == 0)
                fail(QStringLiteral("division by zero"));
            if (b == -1)
                return op == QLatin1String("div") ? Value(qint64(0 - quint64(a))) : Value(qint64(0));
            return op == QLatin1String("div") ? Value(a / b) : Value(a % b);
        }
        const int c = compareValues(l, r);
        if (op == QLatin1String("="))
            return Value(c == 0);
        if (op == QLatin1String("<>"))
            return Value(c != 0);
        if (op == QLatin1String("<"))
            return Value(c < 0);
        if (op == QLatin1String(">"))
            return Value(c > 0);
        if (op == QLatin1String("<="))
            return Value(c <= 0);
        if (op == QLatin1String(">="))
            return Value(c >= 0);
        fail(QStringLiteral("unknown operator %1").arg(op));
    }

    void needArgs(const Node& n, size_t min, size_t max)
    {
        if (n.args.size() < min || n.args.size() > max)
            fail(QStringLiteral("%1: wrong number of arguments").arg(n.name));
    }

    Value arg(const Node& n, size_t i) { return eval(*n.args[i]); }

    Value call(const Node& n)
    {
        const QString& f = n.name;
        if (detail::isAggregateFunction(f)) {
            AggregateCall c;
            c.function = f;
            c.argument = n.aggregateArgument;
            c.site = &n;
            if (f == QLatin1String("COUNT")) {
                needArgs(n, 0, 2);
                if (!n.args.empty() && n.args[0]->kind == Node::Kind::Name)
                    c.bandName = n.args[0]->name;
            } else {
                needArgs(n, 1, 3);
                if (n.args.size() >= 2 && n.args[1]->kind == Node::Kind::Name)
                    c.bandName = n.args[1]->name;
            }
            if (auto v = ctx_.aggregate(c))
                return *v;
            fail(QStringLiteral("%1 is not available here").arg(f));
        }
        if (f == QLatin1String("IIF")) {
            needArgs(n, 3, 3);
            return arg(n, 0).toBool() ? arg(n, 1) : arg(n, 2);
        }
        if (f == QLatin1String("INTTOSTR")) {
            needArgs(n, 1, 1);
            bool ok = false;
            const Value v = arg(n, 0);
            const qint64 i = v.toInt(&ok);
            if (!ok)
                fail(QStringLiteral("IntToStr: '%1' is not a number").arg(v.toString()));
            return Value(QString::number(i));
        }
        if (f == QLatin1String("FLOATTOSTR")) {
            needArgs(n, 1, 1);
            return Value(Value(toNumber(arg(n, 0), "FloatToStr")).toString());
        }
        if (f == QLatin1String("STRTOINT")) {
            needArgs(n, 1, 1);
            bool ok = false;
            const qint64 i = arg(n, 0).toInt(&ok);
            if (!ok)
                fail(QStringLiteral("StrToInt: not an integer"));
            return Value(i);
        }
        if (f == QLatin1String("STRTOFLOAT")) {
            needArgs(n, 1, 1);
            return Value(toNumber(arg(n, 0), "StrToFloat"));
        }
        if (f == QLatin1String("FORMATFLOAT")) {
            needArgs(n, 2, 2);
            const QString picture = arg(n, 0).toString();
            return Value(formatFloat(picture, toNumber(arg(n, 1), "FormatFloat")));
        }
        if (f == QLatin1String("FORMAT")) {
            needArgs(n, 2, 2);
            return Value(formatPercent(arg(n, 0).toString(), arg(n, 1)));
        }
        if (f == QLatin1String("FORMATDATETIME")) {
            needArgs(n, 2, 2);
            const QString picture = arg(n, 0).toString();
            return Value(formatDateTime(picture, arg(n, 1).toDateTime()));
        }
        if (f == QLatin1String("DATETOSTR")) {
            needArgs(n, 1, 1);
            return Value(arg(n, 0).toDateTime().date().toString(QStringLiteral("dd.MM.yyyy")));
        }
        if (f == QLatin1String("TIMETOSTR")) {
            needArgs(n, 1, 1);
            return Value(arg(n, 0).toDateTime().time().toString(QStringLiteral("hh:mm:ss")));
        }
        if (f == QLatin1String("DATETIMETOSTR")) {
            needArgs(n, 1, 1);
            return Value(arg(n, 0).toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
        }
        if (f == QLatin1String("ROUND") || f == QLatin1String("TRUNC") || f == QLatin1String("INT")) {
            needArgs(n, 1, 1);
            const double d = toNumber(arg(n, 0), "Round");
            double r = f == QLatin1String("ROUND") ? std::nearbyint(d) : std::trunc(d);
            if (f == QLatin1String("INT"))
                return Value(r);
            if (!std::isfinite(r) || std::fabs(r) > 9.0e18)
                fail(QStringLiteral("%1: out of range").arg(f));
            return Value(static_cast<qint64>(r));
        }
        if (f == QLatin1String("FRAC")) {
            needArgs(n, 1, 1);
            const double d = toNumber(arg(n, 0), "Frac");
            return Value(d - std::trunc(d));
        }
        if (f == QLatin1String("ABS")) {
            needArgs(n, 1, 1);
            const Value v = arg(n, 0);
            if (v.type() == Value::Type::Int)
                return Value(v.toInt() < 0 ? qint64(0 - quint64(v.toInt())) : v.toInt());
            return Value(std::fabs(toNumber(v, "Abs")));
        }
        if (f == QLatin1String("SQRT")) {
            needArgs(n, 1, 1);
            return Value(std::sqrt(toNumber(arg(n, 0), "Sqrt")));
        }
        if (f == QLatin1String("LENGTH")) {
            needArgs(n, 1, 1);
            return Value(qint64(arg(n, 0).toString().size()));
        }
        if (f == QLatin1String("COPY")) {
            needArgs(n, 3, 3);
            const QString s = arg(n, 0).toString();
            const qint64 from = std::max<qint64>(1, arg(n, 1).toInt());
            const qint64 count = std::max<qint64>(0, arg(n, 2).toInt());
            if (from > s.size())
                return Value(QString());
            return Value(s.mid(from - 1, std::min<qint64>(count, s.size())));
        }
        if (f == QLatin1String("POS")) {
            needArgs(n, 2, 2);
            return Value(qint64(arg(n, 1).toString().indexOf(arg(n, 0).toString()) + 1));
        }
        if (f == QLatin1String("UPPERCASE") || f == QLatin1String("ANSIUPPERCASE")) {
            needArgs(n, 1, 1);
            return Value(arg(n, 0).toString().toUpper());
        }
        if (f == QLatin1String("LOWERCASE") || f == QLatin1String("ANSILOWERCASE")) {
            needArgs(n, 1, 1);
            return Value(arg(n, 0).toString().toLower());
        }
        if (f == QLatin1String("TRIM")) {
            needArgs(n, 1, 1);
            return Value(arg(n, 0).toString().trimmed());
        }
        if (f == QLatin1String("CHR")) {
            needArgs(n, 1, 1);
            const qint64 c = arg(n, 0).toInt();
            if (c <= 0 || c > 0xFFFF)
                fail(QStringLiteral("Chr: bad code"));
            return Value(QString(QChar(static_cast<char16_t>(c))));
        }
        if (f == QLatin1String("DATE") || f == QLatin1String("TIME") || f == QLatin1String("NOW")) {
            needArgs(n, 0, 0);
            if (auto v = ctx_.variable(n.name))
                return *v;
            const QDateTime now = QDateTime::currentDateTime();
            if (f == QLatin1String("DATE"))
                return Value(QDateTime(now.date(), QTime(0, 0)));
            return Value(now);
        }
        fail(QStringLiteral("unknown function %1").arg(f));
    }

    ExpressionContext& ctx_;
};

void collectAggregates(const Node& n, std::vector<AggregateCall>& out)
{
    if (n.kind == Node::Kind::Call && detail::isAggregateFunction(n.name)) {
        AggregateCall c;
        c.function = n.name;
        c.argument = n.aggregateArgument;
        c.site = &n;
        if (n.name == QLatin1String("COUNT")) {
            if (!n.args.empty() && n.args[0]->kind == Node::Kind::Name)
                c.bandName = n.args[0]->name;
        } else if (n.args.size() >= 2 && n.args[1]->kind == Node::Kind::Name) {
            c.bandName = n.args[1]->name;
        }
        out.push_back(c);
        return;
    }
    for (const auto& a : n.args)
        collectAggregates(*a, out);
}

} // namespace

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(const Expression&) = default;
Expression& Expression::operator=(const Expression&) = default;

Expression Expression::parse(const QString& text, QString* error)
{
    Expression e;
    e.text_ = text;
    QString err;
    auto root = detail::parseExpression(text, err);
    if (!root) {
        if (error)
            *error = err;
        return e;
    }
    // Give each aggregate call its argument as an expression of its own.
    std::vector<Node*> stack{root.get()};
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        if (n->kind == Node::Kind::Call && detail::isAggregateFunction(n->name) && n->name != QLatin1String("COUNT")
            && !n->args.empty()) {
            auto arg = std::make_shared<Expression>();
            arg->root_ = n->args[0];
            n->aggregateArgument = arg;
        }
        for (auto& a : n->args)
            stack.push_back(a.get());
    }
    e.root_ = std::move(root);
    if (error)
        error->clear();
    return e;
}

Value Expression::evaluate(ExpressionContext& context, QString* error) const
{
    if (!root_) {
        if (error)
            *error = QStringLiteral("invalid expression");
        return Value();
    }
    try {
        Evaluator ev(context);
        Value v = ev.eval(*root_);
        if (error)
            error->clear();
        return v;
    } catch (const EvalError& e) {
        if (error)
            *error = e.message;
        return Value();
    }
}

std::vector<AggregateCall> Expression::aggregates() const
{
    std::vector<AggregateCall> out;
    if (root_)
        collectAggregates(*root_, out);
    return out;
}

QString quoteText(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

} // namespace tarvex::engine
