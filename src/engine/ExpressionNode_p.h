#pragma once
// The parsed form of an expression (private to the engine).

#include "Expression.h"

#include <QString>

#include <memory>
#include <vector>

namespace tarvex::engine::detail {

struct Node {
    enum class Kind { Literal, Name, Field, Unary, Binary, Call };
    Kind kind = Kind::Literal;
    Value literal;
    QString name;      // Name: the name; Field: the data set; Call: upper-case function name; Unary/Binary: operator
    QString fieldName; // Field only
    std::vector<std::shared_ptr<Node>> args;
    int depth = 1; // height of the subtree, bounded by the parser
    // Aggregate calls keep their argument as an expression of its own so the engine can evaluate it alone.
    std::shared_ptr<const Expression> aggregateArgument;
};

/// Parses `text` into a tree; returns null and sets `error` on failure.
std::shared_ptr<Node> parseExpression(const QString& text, QString& error);

bool isAggregateFunction(const QString& upperName);

} // namespace tarvex::engine::detail
