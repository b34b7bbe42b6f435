#include "ReportOutput.h"

#include "Bilingual.h"
#include "Prompt.h"
#include "Render.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace {

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

} // namespace

bool PrintPrepared(const tarvex::engine::PreparedReport& prepared, const TPrintRequest& request) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        tarvex::prompt().error(tarvex::Pick(
            QStringLiteral("Не установлен ни один принтер. Отчет не напечатан.\r\nNo printer is installed. The report was not printed.")));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!request.printerName.isEmpty())
        printer.setPrinterName(request.printerName);
    if (request.applyPageSetup)
        applySetup(printer, request.pageSetup);
    printer.setDocName(request.title);
    printer.setColorMode(request.monochrome ? QPrinter::GrayScale : QPrinter::Color);
    printer.setFullPage(true);

    if (request.showDialog) {
        if (tarvex::isHeadless()) {
            tarvex::prompt().log(QStringLiteral("no display: printing without the printer dialog"));
        } else {
            QPrintDialog dialog(&printer);
            if (dialog.exec() != QDialog::Accepted)
                return false;
        }
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        tarvex::prompt().error(tarvex::Pick(QStringLiteral("Ошибка принтера\r\nPrinter error")) + QStringLiteral(": ") +
                               printer.printerName());
        return false;
    }
    tarvex::engine::RenderOptions options;
    options.monochrome = request.monochrome;
    const double scale = printer.resolution() / 96.0;
    const auto& pages = prepared.pages;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        tarvex::engine::render(pages[i], painter, options);
        painter.restore();
    }
    return painter.end();
}

void PreviewPrepared(const tarvex::engine::PreparedReport& prepared, const QString& title, bool allowPrint,
                     bool monochrome) {
    tarvex::engine::RenderOptions options;
    options.monochrome = monochrome;
    options.includeNonPrintable = true;
    if (tarvex::isHeadless()) {
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

    QDialog dialog;
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* scroll = new QScrollArea(&dialog);
    auto* pagesWidget = new QWidget;
    auto* pagesLayout = new QVBoxLayout(pagesWidget);
    for (const auto& page : prepared.pages) {
        QImage image(page.size.toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        tarvex::engine::render(page, painter, options);
        painter.end();
        auto* label = new QLabel;
        label->setPixmap(QPixmap::fromImage(image));
        pagesLayout->addWidget(label);
    }
    scroll->setWidget(pagesWidget);
    layout->addWidget(scroll);
    Q_UNUSED(allowPrint);
    dialog.resize(900, 1000);
    dialog.exec();
}
