#include "TDataModule1_p.h"

#include "Bilingual.h"
#include "Prompt.h"
#include "TBlockRead.h"
#include "TMemoryWorker.h"
#include "TemplateSettings.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QPainter>
#include <cstring>

namespace {

struct ComponentSpec {
    const char* name;
    int templateKind;
    unsigned buttons;
    bool silent;
    bool doublePass;
};

constexpr unsigned kCommonButtons = pbPrint | pbLoad | pbSave | pbExport | pbZoom | pbFind | pbTools | pbEdit | pbNavigator;
constexpr unsigned kAuxButtons = kCommonButtons | pbOutline | pbPageSetup;
constexpr unsigned kShodButtons = kCommonButtons | pbExportQuick;

// The eight components in creation order.
constexpr ComponentSpec kComponents[TDataModule1::kComponentCount] = {
    {"CommonReport", 1, kCommonButtons, false, true}, {"NoiseReport", 2, kAuxButtons, true, true},
    {"StaticReport", 3, kAuxButtons, true, true},     {"RTLReport", 4, kAuxButtons, true, true},
    {"GRAD1Report", 5, kAuxButtons, false, true},     {"PacketReport", 6, kAuxButtons, false, true},
    {"ShodReport", 0, kShodButtons, true, true},      {"PeakPropertyReport", 0, kShodButtons, true, true},
};

QImage whitePicture() {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

TDataModule1::TDataModule1() {
    for (int i = 0; i < kComponentCount; ++i) {
        TReportComponent& c = component(i);
        c.name = QString::fromLatin1(kComponents[i].name);
        c.templateKind = kComponents[i].templateKind;
        c.previewButtons = kComponents[i].buttons;
        c.silentMode = kComponents[i].silent;
        c.report = std::make_unique<tarvex::engine::Report>();
        c.report->options.doublePass = kComponents[i].doublePass;
        // The chromatogram report is not printed at all when none of its sections has data.
        c.report->options.printIfEmpty = i != 0;
    }
    monochrome = designMode = false;
    internalStandardDetector = -1;
    pageWidth = 630;
    chromPicture = whitePicture();
    chromStrip = whitePicture();
    createRowSources();
    // Counts the designer shows until a driver sets them.
    rowSource(QStringLiteral("PeakDataSet"))->setRangeEndCount(10);
    rowSource(QStringLiteral("GroupDataset"))->setRangeEndCount(5);
    rowSource(QStringLiteral("IdentDataset"))->setRangeEndCount(5);
    rowSource(QStringLiteral("IdentStatDataSet"))->setRangeEndCount(5);
}

TDataModule1::~TDataModule1() = default;

TReportComponent* TDataModule1::componentForRunValue(int runValue) {
    switch (runValue) {
    case 1:
    case 2: return &component(0);
    case 4: return &component(2);
    case 8: return &component(1);
    case 16: return &component(3);
    case 32: return &component(4);
    case 128: return &component(5);
    case 256: return &component(6);
    case 512: return &component(7);
    default: return nullptr;
    }
}

void TDataModule1::LoadDictionary(const QString& russian, const QString& english) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    russianLines = russian.split(lineBreak);
    englishLines = english.split(lineBreak);
}

std::optional<QString> TDataModule1::Translate(const QString& line) const {
    const QString key = line.trimmed();
    for (qsizetype i = 0; i < russianLines.size() && i < englishLines.size(); ++i)
        if (russianLines[i].compare(key, Qt::CaseInsensitive) == 0)
            return englishLines[i];
    return std::nullopt;
}

bool TDataModule1::SetBuiltInTemplate(tarvex::engine::Report& report, const QByteArray& fr3) {
    tarvex::engine::LoadError error;
    if (!report.loadFromData(fr3, &error)) {
        tarvex::prompt().log(QStringLiteral("built-in template: %1").arg(error.toString()));
        return false;
    }
    // Built-in templates are Russian; in English every memo line the dictionary knows is replaced.
    if (tarvex::languageIndex() == 2)
        report.translateMemoLines([this](const QString& line) { return Translate(line); });
    return true;
}

bool TDataModule1::HasObject(const tarvex::engine::Report& report, const QString& name) {
    return report.findObject(name) != nullptr;
}

void TDataModule1::HandlePrintException() {
    tarvex::prompt().error(
        tarvex::Pick(QStringLiteral("При печати отчета произошла ошибка\r\nAt a press of the report there was an error")));
}

// ---------------------------------------------------------------- external templates

void TDataModule1::loadTemplate(int kind, TReportComponent& c, const TTemplateSettings& settings) {
    if (kind < 1 || kind > TTemplateSettings::kKinds || !settings.check[static_cast<std::size_t>(kind)])
        return;
    const QString file = settings.file[static_cast<std::size_t>(kind)];
    if (file.isEmpty())
        return;
    if (!QFileInfo::exists(file)) {
        tarvex::prompt().error(
            tarvex::Pick(QStringLiteral("Невозможно найти файл шаблона отчета \r\nIt is impossible to find a file of a pattern of the report")) +
            QStringLiteral("\r\n") + file + QStringLiteral("\r\n") +
            tarvex::Pick(QStringLiteral("Будет использоваться стандартный шаблон\r\nThe standard pattern will be used")));
        return;
    }
    // Read it aside first: a file that does not load leaves the built-in template in place.
    tarvex::engine::Report probe;
    tarvex::engine::LoadError error;
    if (!probe.load(file, &error) || !c.report->loadFromData(probe.saveToData())) {
        tarvex::prompt().error(
            QStringLiteral("Ошибка при загрузке шаблона отчета из файла \r\nError at loading a pattern of the report from a file") +
            file + QStringLiteral("\r\n") + error.toString());
        return;
    }
}

void TDataModule1::LoadExternalTemplates(const TJobFlags& job, const TTemplateSettings& settings) {
    if (job.chromatogram)
        loadTemplate(1, component(0), settings);
    if (job.method)
        loadTemplate(1, component(0), settings);
    if (job.noise)
        loadTemplate(2, component(1), settings);
    if (job.statistics)
        loadTemplate(3, component(2), settings);
    if (job.rtl)
        loadTemplate(4, component(3), settings);
    if (job.graduation)
        loadTemplate(5, component(4), settings);
    if (job.packet)
        loadTemplate(6, component(5), settings);
}

// ---------------------------------------------------------------- blocks

bool TDataModule1::ReadPrintSettings() {
    // The settings area ends at block offset 1267; a longer block is not copied past it.
    constexpr std::size_t kArea = 1267;
    std::vector<std::uint8_t> bytes;
    std::size_t stated = 0;
    if (!ReadBlockInto(10, bytes, kArea, /*writeBack=*/false, &stated))
        return false;
    printSettings.assign(bytes.data(), std::min(stated, kArea));
    return true;
}

void TDataModule1::CopyMethodSettings() {
    const std::size_t have = printSettings.size() > 228 ? printSettings.size() - 228 : 0;
    methodSettings.fill(0);
    std::memcpy(methodSettings.data(), printSettings.bytes() + 228, std::min(have, methodSettings.size()));
}

bool TDataModule1::ReadNoiseBlock() { return ReadBlockInto(4, noiseRecord, kNoiseRecordSize); }
bool TDataModule1::ReadStatisticsBlock() { return ReadBlockInto(3, statisticsRecord, kStatisticsRecordSize); }
bool TDataModule1::ReadRtlBlock() { return ReadBlockInto(5, rtlRecord, kRtlRecordSize); }
bool TDataModule1::ReadPeakPropertyBlock() { return ReadBlockInto(16, peakPropertyRecord, kPeakPropertyRecordSize); }

bool TDataModule1::ReadRepeatabilityBlock() {
    constexpr std::size_t kMax = kRepeatabilityHeaderSize + kRepeatabilityMaxComps * kRepeatabilityCompSize;
    return ReadBlockInto(15, repeatabilityRecord, kMax);
}

// The graduation and packet blocks are decoded by their reports; here they are taken whole, up
// to a bound no real block comes near.
bool TDataModule1::ReadGraduationBlock() {
    std::size_t stated = 0;
    if (!ReadBlockInto(6, graduationBlock, 64u << 20, true, &stated))
        return false;
    graduationBlock.resize(std::min(stated, graduationBlock.size()));
    return true;
}

bool TDataModule1::ReadPacketBlock() {
    std::size_t stated = 0;
    if (!ReadBlockInto(14, packetBlock, 64u << 20, true, &stated))
        return false;
    packetBlock.resize(std::min(stated, packetBlock.size()));
    return true;
}

bool TDataModule1::ReadRtlPictures() {
    TMemoryWorker worker;
    if (!worker.readBlock(TMemoryWorker::kHeaderKind))
        return true;
    if (worker.readBlock(13)) {
        // Up to three bitmap files one after another, each telling its own length.
        const TMemoryBuffer& b = worker.buffer();
        std::size_t pos = 0;
        for (QImage& picture : rtlPictures) {
            picture = QImage();
            if (pos + 6 > b.size() || b.data()[pos] != 'B' || b.data()[pos + 1] != 'M')
                break;
            std::uint32_t length = 0;
            std::memcpy(&length, b.data() + pos + 2, 4);
            if (length < 14 || length > b.size() - pos)
                break;
            picture.loadFromData(b.data() + pos, static_cast<int>(length), "BMP");
            pos += length;
        }
    }
    worker.writeHeaderBack();
    return true;
}

bool TDataModule1::LoadChromPicture() {
    TMemoryWorker worker;
    if (!worker.readBlock(TMemoryWorker::kHeaderKind) || !worker.readBlock(9))
        return false;
    const TMemoryBuffer& b = worker.buffer();
    QImage picture;
    if (b.size() > 0 && b.size() < static_cast<std::size_t>(INT32_MAX))
        picture.loadFromData(b.data(), static_cast<int>(b.size()), "BMP");
    worker.writeHeaderBack();
    if (picture.isNull()) {
        // The numbers of the report do not depend on the picture: print them, and say so.
        tarvex::prompt().warning(tarvex::Pick(QStringLiteral(
            "Рисунок хроматограммы поврежден и не будет напечатан\r\nThe chromatogram picture is damaged and will not be printed")));
        return true;
    }
    chromPicture = picture.convertToFormat(QImage::Format_RGB32);
    return true;
}
