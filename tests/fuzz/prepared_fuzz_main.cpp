// libFuzzer program for the prepared-report file reader: any bytes give a report or an error, and
// a report that loads saves and loads again.

#include "PreparedReportIo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::engine;
    PreparedReport report;
    QString error;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!preparedReportFromData(bytes, report, &error))
        return 0;
    PreparedReport again;
    if (!preparedReportFromData(preparedReportToData(report), again, &error) || again.pageCount() != report.pageCount())
        __builtin_trap();
    return 0;
}
