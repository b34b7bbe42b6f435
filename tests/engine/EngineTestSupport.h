#pragma once
// Helpers for engine tests: templates written as XML, prepared reports, PDF text.

#include "PreparedReport.h"
#include "Report.h"

#include <QString>
#include <QStringList>

#include <ostream>

QT_BEGIN_NAMESPACE
// Readable test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{';
    for (const QString& s : l)
        *os << '"' << s.toStdString() << "\" ";
    *os << '}';
}
QT_END_NAMESPACE

namespace enginetest {

/// A complete template: `pageBody` (bands) inside an A4 page with 10 mm margins, after `head`
/// (Variables, Datasets ...), with the given extra page attributes.
QByteArray templateXml(const QString& pageBody, const QString& head = QString(), const QString& pageAttrs = QString());

/// Loads the XML into `report`; fails the test with the error when it does not load.
void load(tarvex::engine::Report& report, const QByteArray& xml);

/// Prepares and fails the test on error.
tarvex::engine::PreparedReport prepare(tarvex::engine::Report& report);

/// Texts of one page in placing order.
QStringList texts(const tarvex::engine::PreparedReport& r, int page);

/// Runs pdftotext on a PDF file; empty when it cannot run.
QString pdfText(const QString& pdfPath);

} // namespace enginetest
