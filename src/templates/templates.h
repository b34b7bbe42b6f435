#pragma once
// Access to the files compiled into the program: built-in report templates and text tables.

#include <QByteArray>
#include <QString>

namespace tarvex::templates {

/// A compiled-in text file by name ("translation-list.tsv"); empty when there is none.
QString text(const QString& name);

/// The bytes of a compiled-in file by name ("CommonReport.fr3"); empty when there is none.
QByteArray bytes(const QString& name);

} // namespace tarvex::templates
