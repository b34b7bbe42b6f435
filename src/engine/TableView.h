#pragma once
// A table object: a grid of cells given by its columns (widths) and rows (heights, with the cells).

#include "MemoView.h"

namespace tarvex::engine {

/// Children: TfrxTableColumn elements (Width) and TfrxTableRow elements (Height) whose children are the
/// cells, memos in column order.
class TableView : public Object {
public:
    explicit TableView(const QString& typeName = QStringLiteral("TfrxTableObject"));

    /// The object for an element inside a table (cells are memos); null for other parts.
    static std::unique_ptr<Object> createPart(const QString& typeName);

    /// Column widths and row heights in report units, as the elements state them.
    std::vector<double> columnWidths() const;
    std::vector<double> rowHeights() const;
    /// The cells of row `row`, in column order.
    std::vector<MemoView*> rowCells(size_t row) const;
};

} // namespace tarvex::engine
