#include "TReportPrintModule.h"

#include "Bilingual.h"
#include "Prompt.h"
#include "TChromModule.h"
#include "TDataModule1.h"

namespace {

bool tracing() { return qEnvironmentVariableIntValue("TARVEX_TRACE") != 0; }
void trace(const QString& text) {
    if (tracing())
        tarvex::prompt().log(text);
}

// Refusals, in the host's words. Most are shown in the active language; the ones marked "both"
// have always been shown with both lines.
void refuse(const QString& text) { tarvex::prompt().error(tarvex::Pick(text)); }
void refuseBoth(const QString& text) { tarvex::prompt().error(text); }

const QString kNoChromatogram = QStringLiteral(
    "Отсутствуют данные для печати хроматограммы или устаревший формат хроматограммы(необходима переобработка)\r\n"
    "there Are no data for a press chromatogram or old chromatogram version(need recalculation)");
const QString kNoMethod = QStringLiteral("Отсутствуют данные для печати метода\r\nthere Are no data for a press of a method ");
const QString kNoNoise = QStringLiteral("Отсутствуют данные для печати шума\r\nthere Are no data for a press of noise ");
const QString kNoStatistics =
    QStringLiteral("Отсутствуют данные для печати статистики\r\nthere Are no data for a press of statistics ");
const QString kNoCalibration =
    QStringLiteral("Отсутствуют данные для печати калибровки\r\nthere Are no data for a press of calibration ");
const QString kNoGraduation =
    QStringLiteral("Отсутствуют данные для печати градуировки\r\nthere Are no data for a press of graduation ");
const QString kNoProtocol =
    QStringLiteral("Отсутствуют данные для печати протокола\r\nthere Are no data for a press of the report ");
const QString kNoPacket = QStringLiteral("Отсутствуют данные для печати пакета\r\nthere Are no data for a press of packet ");
const QString kNoMetrology =
    QStringLiteral("Отсутствуют данные для печати сходимости\r\nthere Are no data for a press of metrology ");
const QString kNoPrintSettings = QStringLiteral(
    "Отсутствуют настройки печати хроматограммы\r\nthere Are no adjustments of a press chromatogram");
const QString kVersionMismatch = QStringLiteral(
    "Версии программы печати и Tarvex несовместимы\r\nVersions of the program of a press and Tarvex are incompatible");
const QString kTransferError = QStringLiteral(
    "При передаче или печати отчета произошла ошибка\r\nBy transfer of the report to the program of a press there was an error");

} // namespace

void TReportPrintModule::DecodeJobMask(const QString& argument) { flags_ = ::DecodeJobMask(argument); }

bool TReportPrintModule::CheckPrintSettings() {
    if (!data_.ReadPrintSettings()) {
        refuseBoth(kNoPrintSettings);
        return false;
    }
    chrom_->SetHasAddCalcGraphs(data_.printSettings.bPrint_AddCalcGraphs());
    if (data_.printSettings.iPrint_Version() != 8) {
        trace(QStringLiteral("print settings version %1").arg(data_.printSettings.iPrint_Version()));
        refuse(kVersionMismatch);
        return false;
    }
    return true;
}

void TReportPrintModule::run(const std::function<void()>& driver) {
    if (driver)
        driver();
    else
        trace(QStringLiteral("the data are complete; this report cannot be printed by this version"));
}

void TReportPrintModule::Dispatch(const QString& argument) {
    DecodeJobMask(argument);
    if (!chrom_)
        return;
    trace(QStringLiteral("job mask %1: %2").arg(argument, DescribeJobFlags(flags_)));
    data_.flags = flags_;
    data_.exportFlag = flags_.exportToFile;

    try {
        data_.LoadExternalTemplates(flags_, templates_);
    } catch (...) {
        refuseBoth(kTransferError);
    }

    if (flags_.chromatogram) {
        if (CheckPrintSettings() && chrom_->ChromPresent() && data_.LoadChromPicture())
            run(drivers.chromatogram);
        else
            refuse(kNoChromatogram);
    } else if (flags_.method) {
        if (!chrom_->MethodPresent()) {
            refuse(kNoMethod);
        } else if (CheckPrintSettings()) {
            // The calibration graphs of components and groups (blocks 11 and 12) are read by the
            // method report itself.
            run(drivers.method);
        }
    } else if (flags_.noise) {
        if (data_.ReadNoiseBlock())
            run(drivers.noise);
        else
            refuse(kNoNoise);
    } else if (flags_.statistics) {
        if (data_.ReadStatisticsBlock())
            run(drivers.statistics);
        else
            refuse(kNoStatistics);
    } else if (flags_.rtl) {
        if (data_.ReadRtlBlock()) {
            data_.ReadRtlPictures();
            run(drivers.rtl);
        } else {
            refuse(kNoCalibration);
        }
    } else if (flags_.graduation) {
        if (data_.ReadGraduationBlock() && CheckPrintSettings())
            run(drivers.graduation);
        else
            refuse(kNoGraduation);
    } else if (flags_.protocol) {
        if (CheckPrintSettings()) {
            if (!drivers.protocol)
                trace(QStringLiteral("the data are complete; this report cannot be printed by this version"));
            else if (!drivers.protocol())
                refuse(kNoProtocol);
        }
    } else if (flags_.packet) {
        if (data_.ReadPacketBlock() && CheckPrintSettings())
            run(drivers.packet);
        else
            refuse(kNoPacket);
    } else if (flags_.repeatability) {
        if (data_.ReadRepeatabilityBlock())
            run(drivers.repeatability);
        else
            refuseBoth(kNoMetrology);
    } else if (flags_.peakProperty) {
        if (data_.ReadPeakPropertyBlock())
            run(drivers.peakProperty);
        else
            refuseBoth(kNoMetrology);
    }
}
