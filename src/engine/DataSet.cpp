#include "DataSet.h"

namespace tarvex::engine {

DataSet::~DataSet() = default;

std::optional<Value> DataSet::fieldValue(const QString& field) const
{
    (void)field;
    return std::nullopt;
}

} // namespace tarvex::engine
