// Printer and page settings, the monochrome choice, the run step and the common object
// adjustment of the report data module.

#include "TDataModule1.h"

#include "Bilingual.h"
#include "Band.h"
#include "MemoView.h"
#include "Prompt.h"
#include "ReportOutput.h"

#include <QPrinterInfo>

TPageSetup TDataModule1::ChoosePrinterSettings() {
    TPrinterChoiceInput in;
    in.usesPrintSettings = flags.chromatogram || flags.method || flags.graduation || flags.packet;
    in.statistics = flags.statistics;
    in.rtl = flags.rtl;
    in.noise = flags.noise;
    in.repeatability = flags.repeatability;
    in.peakProperty = flags.peakProperty;
    // The print-settings block carries the same values as the groups, in fields of its own.
    in.printSettings.printerIndex = printSettings.iPrinter_Index();
    in.printSettings.orientation = printSettings.bOrientation();
    in.printSettings.mono = printSettings.bPrint_Mono();
    in.printSettings.fieldMask = printSettings.iPage_Fields();
    for (int i = 0; i < 12; ++i)
        in.printSettings.params[static_cast<std::size_t>(i)] = printSettings.wPage_Params(i);
    in.statisticsGroup = ReadPageSetupGroup(statisticsRecord.data(), statisticsRecord.size(), 2277);
    in.rtlGroup = ReadPageSetupGroup(rtlRecord.data(), rtlRecord.size(), 705);
    in.noiseGroup = ReadPageSetupGroup(noiseRecord.data(), noiseRecord.size(), 290);
    in.repeatabilityGroup = ReadPageSetupGroup(repeatabilityRecord.data(), repeatabilityRecord.size(), 3008, false);
    in.peakPropertyGroup = ReadPageSetupGroup(peakPropertyRecord.data(), peakPropertyRecord.size(), 451);

    const TPageSetup chosen = ChoosePageSetup(in);
    pageWidth = PageWidthFor(chosen.orientation, exportFlag, printSettings.bExport_Format());
    return chosen;
}

void TDataModule1::ApplyPrinterSettings() {
    if (designMode)
        return;
    workingPageSetup = ChoosePrinterSettings();
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        workingPageSetup.printerIndex = -2;
    const TPageSetup& s = workingPageSetup;
    for (TReportComponent& c : components_) {
        if (s.printerIndex == -2) {
            // Nothing to print on: the preview stays, without its print button.
            c.previewButtons &= ~static_cast<unsigned>(pbPrint);
            continue;
        }
        if (s.printerIndex >= 0) {
            // An index past the list keeps the default printer rather than failing the job.
            c.printerName = s.printerIndex < printers.size() ? printers[s.printerIndex].printerName() : QString();
            c.pageSetup = s;
        }
        const auto pages = c.report->pages();
        for (std::size_t i = 1; i < pages.size(); ++i)
            pages[i]->setLandscape(s.orientation == 1);
    }
}

void TDataModule1::ChooseMonochrome() {
    monochrome = false;
    if (designMode)
        return;
    if (flags.chromatogram || flags.method || flags.graduation)
        monochrome = printSettings.bPrint_Mono() != 0;
    if (flags.statistics)
        monochrome = statisticsRecord.size() > 2282 && statisticsRecord[2282] != 0;
    if (flags.noise)
        monochrome = noiseRecord.size() > 295 && noiseRecord[295] != 0;
}

bool TDataModule1::RunReport(int runValue) {
    TReportComponent* c = componentForRunValue(runValue);
    if (!c)
        return false;
    ChooseMonochrome();
    tarvex::engine::PreparedReport prepared;
    QString error;
    if (!c->report->prepare(prepared, &error)) {
        tarvex::prompt().error(tarvex::Pick(QStringLiteral(
                                   "При печати отчета произошла ошибка\r\nAt a press of the report there was an error")) +
                               QStringLiteral("\r\n") + error);
        return false;
    }
    TPrintRequest request;
    request.printerName = c->printerName;
    request.applyPageSetup = workingPageSetup.printerIndex >= 0;
    request.pageSetup = c->pageSetup;
    request.showDialog = flags.printerDialog;
    request.monochrome = monochrome;
    request.noPrinter = workingPageSetup.printerIndex == -2;
    request.title = c->name;
    if (flags.preview) {
        TPreviewRequest preview;
        preview.title = c->name;
        preview.buttons = c->previewButtons;
        preview.monochrome = monochrome;
        preview.print = request;
        PreviewPrepared(prepared, preview);
        return true;
    }
    return PrintPrepared(prepared, request);
}

void TDataModule1::AdjustView(tarvex::engine::Object& view) {
    if (!monochrome && !exportFlag)
        return;
    if (view.typeName() == QLatin1String("TfrxGradientView")) {
        const int format = printSettings.bExport_Format();
        if (monochrome || (exportFlag && (format == 0 || format == 2 || format == 3)))
            view.visible = false;
        return;
    }
    if (monochrome) {
        if (auto* memo = dynamic_cast<tarvex::engine::MemoView*>(&view)) {
            memo->fillColor = tarvex::engine::kColorWhite;
            memo->frame.color = tarvex::engine::kColorBlack;
            memo->styleName.clear();
            memo->highlight.condition.clear();
        }
    }
}
