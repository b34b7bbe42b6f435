#pragma once
// A data set over rows held in memory, loaded from CSV or filled in code (tests, the render tool).

#include "DataSet.h"

#include <vector>

namespace tarvex::engine {

class TableDataSet : public DataSet {
public:
    explicit TableDataSet(const QString& userName = QString()) : DataSet(userName) {}

    void setColumns(const QStringList& names) { columns_ = names; }
    void addRow(const std::vector<Value>& row) { rows_.push_back(row); }
    void clearRows() { rows_.clear(); }

    /// Loads a CSV file: the first line names the fields; ',' or ';' separates them (whichever the
    /// header uses), double quotes enclose fields. Numbers become numeric values. Returns false and
    /// sets *error when the file cannot be read.
    bool loadCsv(const QString& path, QString* error = nullptr);
    /// The same from text.
    void parseCsv(const QString& text);

    void first() override { rec_ = 0; }
    void next() override { if (rec_ < int(rows_.size())) ++rec_; }
    void prior() override { if (rec_ > 0) --rec_; }
    bool eof() const override { return rec_ >= int(rows_.size()); }
    int recNo() const override { return rec_; }
    int recordCount() const override { return int(rows_.size()); }
    /// At the end of the data the last record is read.
    std::optional<Value> fieldValue(const QString& field) const override;
    QStringList fieldNames() const override { return columns_; }

private:
    QStringList columns_;
    std::vector<std::vector<Value>> rows_;
    int rec_ = 0;
};

} // namespace tarvex::engine
