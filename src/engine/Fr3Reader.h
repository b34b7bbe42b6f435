#pragma once
// Reads .fr3 template XML into a Report.

#include "Report.h"

namespace tarvex::engine {

class Fr3Reader {
public:
    /// Fills `report` (already cleared) from template bytes. Returns false with *error on malformed XML
    /// or when the root is not a report.
    static bool read(Report& report, const QByteArray& bytes, LoadError* error);

    /// A template object for an element name, guessing the kind of "inherited" elements from their
    /// name and nesting depth (1 page, 2 band, 3 view).
    static std::unique_ptr<Object> createObject(const QString& typeName, const QString& name, int depth,
                                                const Object* parent);
};

} // namespace tarvex::engine
