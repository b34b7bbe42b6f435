#pragma once
// What the data module's sources share between its files.

#include "RowSources.h"
#include "TDataModule1.h"

struct TDataModule1::RowSource {
    const TRowSourceInfo* info = nullptr;
    tarvex::engine::UserDataSet dataSet;
    int slot = -1; ///< index into indexSlots_; -1 for record-number sources
    std::function<void()> refill;
    RowSource* detail = nullptr;
    std::function<int()> detailCount;

    explicit RowSource(const TRowSourceInfo& i) : info(&i), dataSet(QString::fromUtf8(i.userName)) {}
};

