#pragma once
// Data sets: the record sources a data band walks.

#include "Value.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tarvex::engine {

/// A cursor over records. Templates bind bands to it by its user name.
class DataSet {
public:
    explicit DataSet(const QString& userName) : userName_(userName) {}
    virtual ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    const QString& userName() const { return userName_; }
    void setUserName(const QString& name) { userName_ = name; }

    /// Moves to the first record (record number 0).
    virtual void first() = 0;
    /// Moves to the next record.
    virtual void next() = 0;
    /// Moves back one record; nothing happens on the first record.
    virtual void prior() = 0;
    /// True when the cursor is past the last record (or there are none).
    virtual bool eof() const = 0;
    /// The current record number, from 0.
    virtual int recNo() const = 0;
    /// Number of records.
    virtual int recordCount() const = 0;
    /// Value of a field of the current record; nullopt when there is no such field.
    virtual std::optional<Value> fieldValue(const QString& field) const;
    virtual QStringList fieldNames() const { return {}; }

private:
    QString userName_;
};

} // namespace tarvex::engine
