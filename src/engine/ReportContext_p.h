#pragma once
// What expressions see while a report is prepared: variables, system variables, data-set fields and
// aggregates; also the expansion of memo texts (private to the engine).

#include "Expression.h"
#include "MemoView.h"
#include "Report.h"

#include <QDateTime>
#include <QHash>

#include <memory>

namespace tarvex::engine {

class Band;

/// Running totals of one aggregate call in one band.
struct Accumulator {
    struct Sums {
        double sum = 0;
        qint64 count = 0;
        double min = 0;
        double max = 0;
    };
    QString function;
    std::shared_ptr<const Expression> argument;
    const Band* dataBand = nullptr;
    Sums now;
    Sums beforeRow; // the totals before the last record was added
    void add(double v);
    Value value(bool excludeLastRow) const;
};

class ReportContext : public ExpressionContext {
public:
    explicit ReportContext(Report& report);

    std::optional<Value> variable(const QString& name) override;
    std::optional<Value> field(const QString& dataSet, const QString& fieldName) override;
    std::optional<Value> aggregate(const AggregateCall& call) override;

    /// The parsed expression for a text (cached); invalid with *error on a syntax error.
    const Expression& parsed(const QString& text, QString* error);
    /// Evaluates `text`; on failure returns nullopt and records a warning mentioning `where`.
    std::optional<Value> evaluate(const QString& text, const QString& where);

    /// The text a memo prints: its [expressions] replaced by their formatted values.
    QString expandMemo(const MemoView& memo);

    // Aggregates: registered per (call, band holding it), fed by a data band, cleared after the band that
    // holds them is printed.
    void registerAggregate(const AggregateCall& call, const Band* container, const Band* dataBand);
    void accumulate(const Band* dataBand);
    void resetAggregates(const Band* container, bool keepLastRow);
    bool hasAggregates() const { return !accumulators_.isEmpty(); }

    // State the system variables read.
    const Band* currentBand = nullptr;
    int page = 1;
    int totalPages = 0;
    int line = 0;
    bool excludeLastRow = false; ///< page footers printed because the current record did not fit
    const Band* lastRowBand = nullptr; ///< the data band of the record accumulated last
    QDateTime startTime;

private:
    struct Segment {
        bool isExpression = false;
        QString text;   // literal text, or the expression without brackets and format suffix
        QChar formatKind; // display-format suffix kind ('n', 'd', 'b', 'f' ...), null when none
        QString format;
    };
    using Segments = std::vector<Segment>;
    const Segments& segments(const QString& text);
    QString formatValue(const Value& v, const MemoView& memo, const Segment& seg);

    Report& report_;
    QHash<QString, Expression> exprCache_;
    QHash<QString, QString> exprErrors_;
    QHash<QString, std::shared_ptr<Segments>> segmentCache_;
    QHash<QPair<const void*, const Band*>, std::shared_ptr<Accumulator>> accumulators_;
    QHash<const Band*, std::vector<std::shared_ptr<Accumulator>>> byDataBand_;
    QHash<const Band*, std::vector<std::shared_ptr<Accumulator>>> byContainer_;
    int variableDepth_ = 0;
};

} // namespace tarvex::engine
