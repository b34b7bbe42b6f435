#pragma once
// The row sources of the report data module: the data sets templates bind table bands to by
// user name. They hold no data; each step moves a row index of the module and the module
// refills the variables the band shows.

#include <span>

enum class TRowStart {
    Zero,        ///< a row index, from 0
    One,         ///< a column index of a cross table, from 1
    RecordNumber ///< no index of its own: the engine's record number is read instead
};

struct TRowSourceInfo {
    const char* name;        ///< the source's name; handlers are name + First/Next/Prior
    const char* userName;    ///< the name templates bind to
    int storedCount;         ///< the row count stored with the built-in templates
    const char* reports;     ///< report components that list it: C G R S P H (see the .cpp)
    TRowStart start;
    const char* sharedIndex; ///< another source whose index this one shares, or nullptr
};

/// Every row source of the data module, in the order of its table.
std::span<const TRowSourceInfo> RowSources();
/// A source by name; nullptr when there is none.
const TRowSourceInfo* FindRowSource(const char* name);
