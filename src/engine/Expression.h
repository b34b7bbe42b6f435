#pragma once
// The expression language of templates: what stands inside [ ] in memo texts, variable values, group
// conditions and highlight conditions.

#include "Value.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace tarvex::engine {

namespace detail {
struct Node;
}

class Expression;

/// One aggregate call (SUM, COUNT, MIN, MAX, AVG) found in an expression. `site` identifies the call
/// within its parsed expression and stays valid as long as the Expression is alive.
struct AggregateCall {
    QString function;            ///< upper case: SUM, COUNT, MIN, MAX, AVG
    std::shared_ptr<const Expression> argument; ///< the summed expression; null for COUNT
    QString bandName;            ///< the data band named as second argument (COUNT: the only one); may be empty
    const void* site = nullptr;
};

/// What an expression can see while it is evaluated. Implemented by the report engine, and by tests.
class ExpressionContext {
public:
    virtual ~ExpressionContext() = default;
    /// A bare name: a report variable or a system variable (Date, Time, Page#, Line# ...), matched
    /// without regard to case. nullopt when unknown.
    virtual std::optional<Value> variable(const QString& name) = 0;
    /// A data-set field (<DataSet."Field">). nullopt when the data set or field is unknown.
    virtual std::optional<Value> field(const QString& dataSet, const QString& fieldName) = 0;
    /// The running value of an aggregate call. nullopt when aggregates are not available here.
    virtual std::optional<Value> aggregate(const AggregateCall& call)
    {
        (void)call;
        return std::nullopt;
    }
};

/// A parsed expression. Parsing never throws; a failure gives an invalid expression and a message.
/// Copies share the parsed tree (cheap).
class Expression {
public:
    Expression();
    ~Expression();
    Expression(const Expression&);
    Expression& operator=(const Expression&);

    /// Parses `text`. On failure the result is invalid and *error (when given) says why and where.
    static Expression parse(const QString& text, QString* error = nullptr);

    bool isValid() const { return root_ != nullptr; }
    const QString& text() const { return text_; }

    /// Evaluates against `context`. On failure returns a null Value and sets *error (when given);
    /// *error is cleared on success.
    Value evaluate(ExpressionContext& context, QString* error = nullptr) const;

    /// Every aggregate call in the expression, outermost first.
    std::vector<AggregateCall> aggregates() const;

private:
    std::shared_ptr<const detail::Node> root_;
    QString text_;
};

/// Makes a text a string expression: wrapped in apostrophes, inner apostrophes doubled.
QString quoteText(const QString& text);

} // namespace tarvex::engine
