#include "ResultFile.h"

#include "Bilingual.h"
#include "ColumnTextWriter.h"
#include "ExportHtml.h"
#include "ExportRtf.h"
#include "ExportSpreadsheetXml.h"
#include "ExportXlsx.h"
#include "PreparedReportIo.h"
#include "PreparedReport.h"
#include "Prompt.h"
#include "Render.h"
#include "ReportOutput.h"
#include "SignalWriter.h"
#include "TChromModule.h"
#include "TDataModule1.h"
#include "TextExportWriter.h"
#include "WorkbookWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using tarvex::Pick;

// Whether another program holds the file: it must open for reading and writing, and no one may
// hold a lock on it.
bool canTakeOver(const QString& fileName) {
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (free)
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return free;
}

bool prepare(tarvex::engine::Report& report, tarvex::engine::PreparedReport& prepared) {
    QString error;
    if (report.prepare(prepared, &error))
        return true;
    tarvex::prompt().error(
        Pick(QStringLiteral("При печати отчета произошла ошибка\r\nAt a press of the report there was an error")) +
        QStringLiteral("\r\n") + error);
    return false;
}

bool reportError(const QString& error) {
    tarvex::prompt().error(error);
    return false;
}

} // namespace

QString CompanionSignalName(const QString& fileName) {
    const QFileInfo info(fileName);
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return fileName + QStringLiteral(".chrom");
    return fileName.left(fileName.size() - suffix.size()) + QStringLiteral("chrom");
}

bool WriteResultFile(TDataModule1& data, TChromModule& chrom, tarvex::engine::Report& report,
                     const TTableTexts* tables) {
    data.ChooseMonochrome();
    const TPrintSettings& ps = data.printSettings;
    const QString fileName = ps.szExport_File();
    const int format = ps.bExport_Format();
    if (fileName.trimmed().isEmpty()) {
        // The host names no file: nothing can be written, and the user must know.
        tarvex::prompt().error(Pick(QStringLiteral(
            "Не задано имя файла для записи результата\r\nNo file name is given for the result")));
        return false;
    }

    if (QFileInfo::exists(fileName)) {
        if (!tarvex::prompt().confirm(
                fileName + Pick(QStringLiteral(" Уже существует.Перезаписать файл?\r\nAlready exists. To rewrite a file?"))))
            return false;
        if (!canTakeOver(fileName)) {
            tarvex::prompt().warning(
                Pick(QStringLiteral("Невозможно получить доступ к файлу\r\nIt is impossible to get access to a file")) +
                QLatin1Char(' ') + fileName +
                Pick(QStringLiteral(" Используется либо заблокирован\r\nIt is used or it is blocked")));
            return false;
        }
    }

    const QString companion = CompanionSignalName(fileName);
    if (QFileInfo::exists(companion))
        QFile::remove(companion);
    if (format <= 10 && ps.bExport_Signal())
        WriteSignalTable(companion, chrom);

    tarvex::engine::RenderOptions options;
    options.monochrome = data.monochrome;
    switch (format) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 8: {
        tarvex::engine::PreparedReport prepared;
        if (!prepare(report, prepared))
            return false;
        QString error;
        tarvex::engine::ExportOptions exportOptions;
        exportOptions.render = options;
        exportOptions.progress = ReportProgress(Pick(QStringLiteral("Запись файла\r\nWriting the file")),
                                                prepared.pageCount());
        bool written = false;
        switch (format) {
        case 0: written = tarvex::engine::exportRtf(prepared, fileName, exportOptions, &error); break;
        case 1: written = tarvex::engine::exportSpreadsheetXml(prepared, fileName, exportOptions, &error); break;
        case 2: written = tarvex::engine::exportXlsx(prepared, fileName, exportOptions, &error); break;
        case 3: written = tarvex::engine::exportHtml(prepared, fileName, exportOptions, &error); break;
        default: written = tarvex::engine::savePreparedReport(prepared, fileName, &error, exportOptions.progress); break;
        }
        return written || reportError(error);
    }
    case 4:
    case 5:
    case 6: {
        tarvex::engine::PreparedReport prepared;
        if (!prepare(report, prepared))
            return false;
        QString error;
        if (format == 6)
            return tarvex::engine::exportPdf(prepared, fileName, &error, options) || reportError(error);
        const QStringList files = tarvex::engine::exportImages(
            prepared, fileName, format == 4 ? QStringLiteral("BMP") : QStringLiteral("JPEG"), 96, &error, options);
        return !files.isEmpty() || reportError(error);
    }
    case 7: {
        if (!tables)
            break;
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            return reportError(Pick(QStringLiteral(
                                   "Невозможно получить доступ к файлу\r\nIt is impossible to get access to a file")) +
                               QLatin1Char(' ') + fileName);
        std::vector<double> widths(data.columnWidths.begin() + 1, data.columnWidths.end());
        TResultContext context;
        context.methodMode = data.methodMode;
        if (!WriteWorkbook(file, chrom, ps, *tables, widths, context) || !file.commit())
            return reportError(Pick(QStringLiteral(
                                   "Невозможно получить доступ к файлу\r\nIt is impossible to get access to a file")) +
                               QLatin1Char(' ') + fileName);
        return true;
    }
    case 9:
    case 10:
        if (!tables)
            break;
        return WriteColumnText(fileName, format == 10, chrom, ps, *tables);
    case 11:
        return WriteSignalFile(fileName, chrom);
    case 12:
        return WriteTextExport(fileName, chrom, ps);
    default:
        break;
    }
    if (format <= 12) {
        // Formats whose writer this build does not have: say so instead of pretending.
        tarvex::prompt().error(Pick(QStringLiteral(
                                   "Этот формат файла результата не поддерживается\r\nThis result file format is not supported")) +
                               QStringLiteral(" (%1)").arg(format));
    }
    return false;
}
