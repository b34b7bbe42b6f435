#pragma once
// Access to the texts compiled into the program.

#include <QString>

namespace tarvex::templates {

/// A compiled-in text file by name ("translation-list.tsv"); empty when there is none.
QString text(const QString& name);

} // namespace tarvex::templates
