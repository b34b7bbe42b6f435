#pragma once
// The host's own description of the records it writes into blocks 1, 2 and 10: one table per
// record kind, field name -> type and offset. Kept apart from the program's readers on purpose,
// so that a wrong offset on either side shows up as a difference between them.

#include <QString>
#include <QStringView>
#include <vector>

namespace host {

enum class WireType { U8, Char, U16, I16, I32, F32, F64, Text };

struct WireField {
    QString name;
    WireType type;
    int offset;
    int count; // elements; 1 for a scalar
    int width; // bytes per element
};

struct WireArea {
    QString name; // the key of the area in a job file
    int size;     // the record's size in the current format
    std::vector<WireField> fields;
    const WireField* find(QStringView field) const;
};

enum class Area {
    ChromHeader, MethodHeader, Peak, Ident, GroupRes, CompStat, Journal, Graph, GraphPoint,
    Comp, Group, Calib, CalibPoint, PrintSettings
};

const WireArea& wireArea(Area area);

} // namespace host
