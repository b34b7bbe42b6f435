#pragma once
// Writes a Report as .fr3 template XML.

#include "Report.h"

namespace tarvex::engine {

class Fr3Writer {
public:
    /// The template as UTF-8 XML bytes.
    static QByteArray write(const Report& report);
};

} // namespace tarvex::engine
