#pragma once
// The report data module: the eight report components with their built-in templates, the row
// sources, the run-time state every report driver shares, and the auxiliary report records.

#include "JobMask.h"
#include "PrinterSetup.h"
#include "Report.h"
#include "TPrintSettings.h"
#include "UserDataSet.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class TVisibilityModule;
struct TTemplateSettings;
struct TRowSourceInfo;

/// Buttons a report's preview offers.
enum TPreviewButton : unsigned {
    pbPrint = 1u << 0, pbLoad = 1u << 1, pbSave = 1u << 2, pbExport = 1u << 3, pbZoom = 1u << 4,
    pbFind = 1u << 5, pbOutline = 1u << 6, pbPageSetup = 1u << 7, pbTools = 1u << 8, pbEdit = 1u << 9,
    pbNavigator = 1u << 10, pbExportQuick = 1u << 11
};

/// A report component: an engine report and what the module keeps about it.
struct TReportComponent {
    QString name;           ///< "CommonReport", ...
    int templateKind = 0;   ///< external template kind, 0 for none
    unsigned previewButtons = 0;
    bool silentMode = false;
    QString printerName;    ///< chosen by ApplyPrinterSettings; empty: the system default
    TPageSetup pageSetup;   ///< the parameters passed with the printer
    std::unique_ptr<tarvex::engine::Report> report;
};

class TDataModule1 {
public:
    TDataModule1();
    ~TDataModule1();
    TDataModule1(const TDataModule1&) = delete;
    TDataModule1& operator=(const TDataModule1&) = delete;

    // --- report components
    tarvex::engine::Report& CommonReport() { return *component(0).report; }
    tarvex::engine::Report& NoiseReport() { return *component(1).report; }
    tarvex::engine::Report& StaticReport() { return *component(2).report; }
    tarvex::engine::Report& RTLReport() { return *component(3).report; }
    tarvex::engine::Report& GRAD1Report() { return *component(4).report; }
    tarvex::engine::Report& PacketReport() { return *component(5).report; }
    tarvex::engine::Report& ShodReport() { return *component(6).report; }
    tarvex::engine::Report& PeakPropertyReport() { return *component(7).report; }
    static constexpr int kComponentCount = 8;
    TReportComponent& component(int i) { return components_[static_cast<std::size_t>(i)]; }
    /// The component of a run value (1 or 2 CommonReport, 4 StaticReport, ...); null for others.
    TReportComponent* componentForRunValue(int runValue);

    /// Replaces a component's template with a built-in one (translated when English is active).
    bool SetBuiltInTemplate(tarvex::engine::Report& report, const QByteArray& fr3);

    // --- run-time state shared by the drivers
    bool designMode = false;
    bool exportFlag = false;
    bool monochrome = false;
    bool methodMode = false;
    bool chromMode = false;
    int pageWidth = 630;
    TPageSetup workingPageSetup;
    std::array<std::int32_t, 51> columnWidths {}; ///< entry 0 the coefficient count, 1 to 50 the columns
    QString headerText, footerText;
    QImage chromPicture, chromStrip;
    std::array<QImage, 3> rtlPictures;
    std::vector<QImage> compGradPictures, groupGradPictures;
    int internalStandardDetector = -1;
    /// The additional-calculation coefficients to print (name, value), at most 10; their count is
    /// also kept in columnWidths[0].
    std::vector<std::pair<QString, double>> addCalcCoefs;
    TJobFlags flags; ///< the job, as the dispatch decoded it

    // --- the blocks read straight into the module
    TPrintSettings printSettings;
    /// The method-section switches and the method component/group settings (block offsets 228-269).
    std::array<std::uint8_t, 42> methodSettings {};
    std::vector<std::uint8_t> noiseRecord, statisticsRecord, rtlRecord, repeatabilityRecord,
        peakPropertyRecord, graduationBlock, packetBlock;
    static constexpr std::size_t kNoiseRecordSize = 368, kStatisticsRecordSize = 2320, kRtlRecordSize = 741,
                                 kPeakPropertyRecordSize = 487, kRepeatabilityHeaderSize = 3043,
                                 kRepeatabilityCompSize = 59, kRepeatabilityMaxComps = 1000;

    // --- template dictionary (line i of one matches line i of the other)
    QStringList russianLines, englishLines;
    /// Fills the two lists from the dictionary's columns (one entry per line).
    void LoadDictionary(const QString& russian, const QString& english);
    /// The English line for a Russian one (trimmed, any letter case); nullopt when not listed.
    std::optional<QString> Translate(const QString& line) const;

    // --- steps the dispatch and the drivers call
    /// Loads the external templates of the selected kinds; messages for missing or bad files.
    void LoadExternalTemplates(const TJobFlags& job, const TTemplateSettings& settings);
    /// Reads block 10 into the print settings (without writing the header back).
    bool ReadPrintSettings();
    void CopyMethodSettings();
    void ApplyPrinterSettings();
    /// Prepares the report of `runValue`, then previews or prints it. False when nothing was shown or
    /// printed because of an error (already told to the user).
    bool RunReport(int runValue);
    /// The common adjustment of every object before it prints (monochrome, export).
    void AdjustView(tarvex::engine::Object& view);
    static bool HasObject(const tarvex::engine::Report& report, const QString& name);
    static void HandlePrintException();
    /// The monochrome choice for the selected report (the first step of RunReport).
    void ChooseMonochrome();
    /// The page setup the selected reports ask for, with the page width it implies.
    TPageSetup ChoosePrinterSettings();

    // --- auxiliary block reads (false when a block is missing)
    bool ReadNoiseBlock();
    bool ReadStatisticsBlock();
    bool ReadRtlBlock();
    bool ReadRtlPictures();
    bool ReadGraduationBlock();
    bool ReadPacketBlock();
    bool ReadRepeatabilityBlock();
    bool ReadPeakPropertyBlock();
    bool LoadChromPicture();

    // --- row sources
    tarvex::engine::UserDataSet* rowSource(const QString& name) const;
    int& rowIndex(const QString& name);
    /// The table refill of a row source; the report drivers install them.
    void setRefill(const QString& name, std::function<void()> refill);
    /// A master source's detail: on every step the detail's count becomes `count()` and the detail
    /// is rewound.
    void setDetail(const QString& master, const QString& detail, std::function<int()> count);

#define TARVEX_ROW_HANDLERS(X) void X##First(); void X##Next(); void X##Prior();
    TARVEX_ROW_HANDLERS(PeakDataSet) TARVEX_ROW_HANDLERS(ChromPeakColumns) TARVEX_ROW_HANDLERS(PeakDetectorDataset)
    TARVEX_ROW_HANDLERS(IdentDataset) TARVEX_ROW_HANDLERS(ChromIdentColumn) TARVEX_ROW_HANDLERS(GroupDataset)
    TARVEX_ROW_HANDLERS(ChromGroupColumn) TARVEX_ROW_HANDLERS(BitmapPartDataSet) TARVEX_ROW_HANDLERS(JournalDataset)
    TARVEX_ROW_HANDLERS(JournalColumn) TARVEX_ROW_HANDLERS(CompStatColumn) TARVEX_ROW_HANDLERS(IdentStatDataSet)
    TARVEX_ROW_HANDLERS(CompStatChrom) TARVEX_ROW_HANDLERS(AddCalcCoefsDataset) TARVEX_ROW_HANDLERS(TempProgrDataSet)
    TARVEX_ROW_HANDLERS(PressProgrDataSet) TARVEX_ROW_HANDLERS(MethDetectorDataset)
    TARVEX_ROW_HANDLERS(IntegerEventDataset) TARVEX_ROW_HANDLERS(MethCompDataSet)
    TARVEX_ROW_HANDLERS(GradCompPointDataset) TARVEX_ROW_HANDLERS(MethGroupDataset)
    TARVEX_ROW_HANDLERS(GradGroupPointDataset) TARVEX_ROW_HANDLERS(GradDataSet) TARVEX_ROW_HANDLERS(RTLDataset)
    TARVEX_ROW_HANDLERS(StaticDataset) TARVEX_ROW_HANDLERS(SKOColumn1) TARVEX_ROW_HANDLERS(SKORow)
    TARVEX_ROW_HANDLERS(SCOColumn2) TARVEX_ROW_HANDLERS(PacketDataSet) TARVEX_ROW_HANDLERS(ShodChromDataSet)
    TARVEX_ROW_HANDLERS(ShodCompDataSet)
#undef TARVEX_ROW_HANDLERS
    /// Record-number sources: one handler for all three events of each.
    void MethodCompGroupPlotnistFirst();
    void AddCalcExcelRowDataSetFirst();
    void AddCalcGraphsDataSetFirst();

    /// A section switch of any of the four visibility modules; null when there is none.
    tarvex::engine::UserDataSet* section(const QString& name) const;

    /// Binds the section switches to the reports that list them (called once at start-up, after
    /// the four visibility modules exist).
    void BindVisibilityModules(const TVisibilityModule& noise, const TVisibilityModule& method,
                               const TVisibilityModule& rtl, const TVisibilityModule& report);

private:
    struct RowSource;
    void createRowSources();
    void step(RowSource& source, int how);
    RowSource* find(const QString& name) const;
    void loadTemplate(int kind, TReportComponent& component, const TTemplateSettings& settings);

    std::array<TReportComponent, kComponentCount> components_;
    std::vector<std::unique_ptr<RowSource>> rows_;
    std::vector<int> indexSlots_;
    std::array<const TVisibilityModule*, 4> visibles_ {};
};
