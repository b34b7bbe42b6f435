#include "ReportOutput.h"

#include "Bilingual.h"
#include "PreviewWindow.h"
#include "PrintPages.h"
#include "Prompt.h"
#include "Render.h"
#include "TDataModule1.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace {

using tarvex::Pick;

// Below this many pages the work is too quick for a progress display to help.
constexpr int kManyPages = 10;

// Paper codes the host uses (the Windows paper numbers) for the sizes a laboratory prints on.
QPageSize::PageSizeId paperForCode(int code) {
    switch (code) {
    case 1: return QPageSize::Letter;
    case 5: return QPageSize::Legal;
    case 8: return QPageSize::A3;
    case 9: return QPageSize::A4;
    case 11: return QPageSize::A5;
    case 12: return QPageSize::B4;
    case 13: return QPageSize::B5;
    default: return QPageSize::Custom;
    }
}

void applySetup(QPrinter& printer, const TPageSetup& s) {
    const QPageSize::PageSizeId id = paperForCode(s.param(1));
    if (id != QPageSize::Custom) {
        printer.setPageSize(QPageSize(id));
    } else if (s.param(2) > 0 && s.param(3) > 0) {
        // Paper length and width in tenths of a millimetre.
        printer.setPageSize(QPageSize(QSizeF(s.param(3) / 10.0, s.param(2) / 10.0), QPageSize::Millimeter));
    }
    printer.setPageOrientation(s.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    switch (s.param(5)) {
    case 2: printer.setDuplex(QPrinter::DuplexLongSide); break;
    case 3: printer.setDuplex(QPrinter::DuplexShortSide); break;
    default: printer.setDuplex(QPrinter::DuplexNone); break;
    }
    if (s.param(9) > 1)
        printer.setCopyCount(s.param(9));
}

// The printer of the request: the named one when the system has it, else the default. Pages set
// their own paper unless the host sent page parameters.
void setUpPrinter(QPrinter& printer, const tarvex::engine::PreparedReport& prepared, const TPrintRequest& request) {
    if (!request.printerName.isEmpty() && !QPrinterInfo::printerInfo(request.printerName).isNull()) {
        printer.setPrinterName(request.printerName);
    } else {
        if (!request.printerName.isEmpty())
            tarvex::prompt().log(Pick(QStringLiteral("Принтер %1 не найден, печать на принтер по умолчанию\r\n"
                                                     "The printer %1 is not found; printing on the default printer"))
                                     .arg(request.printerName));
        QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
        if (chosen.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
            chosen = QPrinterInfo::availablePrinters().front();
        if (!chosen.isNull())
            printer.setPrinterName(chosen.printerName());
    }
    tarvex::engine::matchPaperToReport(prepared, printer);
    if (request.applyPageSetup)
        applySetup(printer, request.pageSetup);
    printer.setDocName(request.title);
    printer.setColorMode(request.monochrome ? QPrinter::GrayScale : QPrinter::Color);
    printer.setFullPage(true);
}

// Where a report that could not be printed is kept: the user's documents folder, else the
// temporary folder; the name says which report and when.
QString keptPdfPath(const QString& title) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        dir = QDir::tempPath();
    QString base = title.isEmpty() ? QStringLiteral("report") : title;
    base.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(dir).filePath(QStringLiteral("%1-%2.pdf").arg(base, stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(dir).filePath(QStringLiteral("%1-%2-%3.pdf").arg(base, stamp).arg(n));
    return path;
}

// Keeps the pages as a PDF file; the text says where, or that even that failed.
QString keepAsPdf(const tarvex::engine::PreparedReport& prepared, const TPrintRequest& request) {
    const QString path = keptPdfPath(request.title);
    tarvex::engine::RenderOptions options;
    options.monochrome = request.monochrome;
    QString error;
    if (tarvex::engine::exportPdf(prepared, path, &error, options))
        return Pick(QStringLiteral("Отчет сохранен в файле PDF:\r\nThe report was saved as a PDF file:")) +
               QLatin1Char(' ') + QDir::toNativeSeparators(path);
    return Pick(QStringLiteral("Отчет не удалось сохранить в файле PDF:\r\nThe report could not be saved as a PDF file:")) +
           QLatin1Char(' ') + error;
}

// The report components' preview buttons are handed to the preview as they are.
static_assert(unsigned(pbPrint) == tarvex::engine::PreviewPrint && unsigned(pbLoad) == tarvex::engine::PreviewLoad &&
              unsigned(pbSave) == tarvex::engine::PreviewSave && unsigned(pbExport) == tarvex::engine::PreviewExport &&
              unsigned(pbZoom) == tarvex::engine::PreviewZoom && unsigned(pbFind) == tarvex::engine::PreviewFind &&
              unsigned(pbOutline) == tarvex::engine::PreviewOutline &&
              unsigned(pbPageSetup) == tarvex::engine::PreviewPageSetup &&
              unsigned(pbTools) == tarvex::engine::PreviewTools && unsigned(pbEdit) == tarvex::engine::PreviewEdit &&
              unsigned(pbNavigator) == tarvex::engine::PreviewNavigator &&
              unsigned(pbExportQuick) == tarvex::engine::PreviewExportQuick);

} // namespace

tarvex::engine::ProgressFn ReportProgress(const QString& what, int pageCount) {
    if (pageCount < kManyPages)
        return {};
    struct State {
        int lastTenth = -1;
        std::unique_ptr<QProgressDialog> dialog;
    };
    auto state = std::make_shared<State>();
    return [state, what](int done, int total) {
        if (tarvex::isHeadless()) {
            const int tenth = total > 0 ? std::clamp(done * 10 / total, 0, 10) : 10;
            if (tenth != state->lastTenth) {
                state->lastTenth = tenth;
                tarvex::prompt().log(QStringLiteral("%1: %2%").arg(what).arg(tenth * 10));
            }
            return true;
        }
        if (!state->dialog) {
            state->dialog = std::make_unique<QProgressDialog>(what, Pick(QStringLiteral("Отмена\r\nCancel")), 0, total);
            state->dialog->setWindowModality(Qt::ApplicationModal);
            state->dialog->setMinimumDuration(300);
        }
        state->dialog->setMaximum(total);
        state->dialog->setValue(done);
        QCoreApplication::processEvents();
        return !state->dialog->wasCanceled();
    };
}

bool PrintPrepared(const tarvex::engine::PreparedReport& prepared, const TPrintRequest& request) {
    if (request.noPrinter || QPrinterInfo::availablePrinters().isEmpty()) {
        // Nothing to print on; the pages are not lost.
        tarvex::prompt().error(
            Pick(QStringLiteral("Не установлен ни один принтер. Отчет не напечатан.\r\nNo printer is installed. The report was not printed.")) +
            QStringLiteral("\r\n") + keepAsPdf(prepared, request));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, prepared, request);

    if (request.showDialog) {
        if (tarvex::isHeadless()) {
            tarvex::prompt().log(Pick(QStringLiteral("Нет дисплея: печать без диалога принтера\r\n"
                                                     "No display: printing without the printer dialog")));
        } else {
            QPrintDialog dialog(&printer);
            dialog.setMinMax(1, std::max(1, prepared.pageCount()));
            if (dialog.exec() != QDialog::Accepted)
                return false;
        }
    }

    tarvex::engine::RenderOptions options;
    options.monochrome = request.monochrome;
    QString error;
    const auto progress = ReportProgress(Pick(QStringLiteral("Печать\r\nPrinting")), prepared.pageCount());
    if (tarvex::engine::printPages(prepared, printer, options, progress, &error)) {
        tarvex::prompt().log(Pick(QStringLiteral("Отчет отправлен на принтер %1\r\nThe report was sent to the printer %1"))
                                 .arg(printer.printerName()));
        return true;
    }
    tarvex::prompt().error(Pick(QStringLiteral("Ошибка принтера\r\nPrinter error")) + QStringLiteral(": ") + error +
                           QStringLiteral("\r\n") + keepAsPdf(prepared, request));
    return false;
}

void PreviewPrepared(const tarvex::engine::PreparedReport& prepared, const TPreviewRequest& request) {
    tarvex::engine::RenderOptions options;
    options.monochrome = request.monochrome;
    if (tarvex::isHeadless()) {
        options.includeNonPrintable = true;
        QString dir = qEnvironmentVariable("TARVEX_PREVIEW_DIR");
        if (dir.isEmpty()) {
            QTemporaryDir temp(QDir::temp().filePath(QStringLiteral("tarvexprint-preview-XXXXXX")));
            temp.setAutoRemove(false);
            dir = temp.path();
        }
        QDir().mkpath(dir);
        QString error;
        const QStringList files = tarvex::engine::exportImages(prepared, QDir(dir).filePath(QStringLiteral("page.png")),
                                                               QStringLiteral("PNG"), 96, &error, options);
        if (files.isEmpty())
            tarvex::prompt().error(error);
        else
            tarvex::prompt().log(QStringLiteral("preview without a display: %1 page(s) in %2").arg(files.size()).arg(dir));
        return;
    }

    tarvex::engine::PreviewSettings settings;
    settings.title = request.title;
    settings.render = options;
    settings.buttons = request.buttons & tarvex::engine::PreviewAllButtons;
    if (request.print.noPrinter || QPrinterInfo::availablePrinters().isEmpty())
        settings.buttons &= ~unsigned(tarvex::engine::PreviewPrint);
    const TPrintRequest print = request.print;
    const tarvex::engine::PreparedReport* pages = &prepared;
    settings.setupPrinter = [print, pages](QPrinter& printer) { setUpPrinter(printer, *pages, print); };
    settings.error = [](const QString& text) { tarvex::prompt().error(text); };
    tarvex::engine::PreviewWindow window(prepared, std::move(settings));
    window.exec();
}
