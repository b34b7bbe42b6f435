#pragma once
// A data set without data: it counts records and tells its owner which record the engine is on.

#include "DataSet.h"

#include <functional>

namespace tarvex::engine {

/// A counted range of `rangeEndCount` records. The owner fills report variables from the events:
/// onFirst when the cursor moves to record 0, onNext and onPrior after it moved. Events fire only for
/// records inside the range, so a handler never sees a record number outside 0..count-1.
class UserDataSet : public DataSet {
public:
    explicit UserDataSet(const QString& userName = QString()) : DataSet(userName) {}

    std::function<void()> onFirst;
    std::function<void()> onNext;
    std::function<void()> onPrior;

    /// Number of records; negative values count as 0. Takes effect at the next first().
    void setRangeEndCount(int count) { count_ = count < 0 ? 0 : count; }
    int rangeEndCount() const { return count_; }

    void first() override;
    void next() override;
    void prior() override;
    bool eof() const override { return recNo_ >= count_; }
    int recNo() const override { return recNo_; }
    int recordCount() const override { return count_; }

private:
    int count_ = 1;
    int recNo_ = 0;
};

} // namespace tarvex::engine
