// The row sources of the report data module: each step moves a row index of the module and
// calls the table's refill routine, which the report drivers install.

#include "TDataModule1_p.h"

#include "RowSources.h"
#include "TVisibilityModule.h"

#include <QHash>

namespace {
enum Step { First, Next, Prior };
}

void TDataModule1::createRowSources() {
    QHash<QString, int> slotOf;
    for (const TRowSourceInfo& info : RowSources()) {
        auto source = std::make_unique<RowSource>(info);
        source->dataSet.setRangeEndCount(info.storedCount);
        if (info.start != TRowStart::RecordNumber) {
            const QString name = QString::fromLatin1(info.name);
            const QString shared = info.sharedIndex ? QString::fromLatin1(info.sharedIndex) : QString();
            if (!shared.isEmpty() && slotOf.contains(shared)) {
                source->slot = slotOf.value(shared);
            } else {
                source->slot = static_cast<int>(indexSlots_.size());
                indexSlots_.push_back(0);
            }
            slotOf.insert(name, source->slot);
        }
        RowSource* raw = source.get();
        raw->dataSet.onFirst = [this, raw] { step(*raw, First); };
        raw->dataSet.onNext = [this, raw] { step(*raw, Next); };
        raw->dataSet.onPrior = [this, raw] { step(*raw, Prior); };
        rows_.push_back(std::move(source));
    }

    // Bind each source to the reports that list it.
    for (const auto& row : rows_) {
        for (const char* r = row->info->reports; *r; ++r) {
            switch (*r) {
            case 'C': CommonReport().addDataSet(&row->dataSet); break;
            case 'G': GRAD1Report().addDataSet(&row->dataSet); break;
            case 'R': RTLReport().addDataSet(&row->dataSet); break;
            case 'S': StaticReport().addDataSet(&row->dataSet); break;
            case 'P': PacketReport().addDataSet(&row->dataSet); break;
            case 'H': ShodReport().addDataSet(&row->dataSet); break;
            default: break;
            }
        }
    }
}

TDataModule1::RowSource* TDataModule1::find(const QString& name) const {
    for (const auto& row : rows_)
        if (name == QLatin1String(row->info->name))
            return row.get();
    return nullptr;
}

tarvex::engine::UserDataSet* TDataModule1::rowSource(const QString& name) const {
    RowSource* row = find(name);
    return row ? &row->dataSet : nullptr;
}

int& TDataModule1::rowIndex(const QString& name) {
    static int none = -1;
    RowSource* row = find(name);
    if (!row || row->slot < 0) {
        none = -1;
        return none;
    }
    return indexSlots_[static_cast<std::size_t>(row->slot)];
}

void TDataModule1::setRefill(const QString& name, std::function<void()> refill) {
    if (RowSource* row = find(name))
        row->refill = std::move(refill);
}

void TDataModule1::setDetail(const QString& master, const QString& detail, std::function<int()> count) {
    RowSource* m = find(master);
    if (!m)
        return;
    m->detail = find(detail);
    m->detailCount = std::move(count);
}

void TDataModule1::step(RowSource& source, int how) {
    if (source.slot >= 0) {
        int& index = indexSlots_[static_cast<std::size_t>(source.slot)];
        const int start = source.info->start == TRowStart::One ? 1 : 0;
        index = how == First ? start : how == Next ? index + 1 : index - 1;
    }
    if (designMode)
        return;
    if (source.refill)
        source.refill();
    // A master row owns a detail table: give the detail its count and rewind it.
    if (source.detail && source.detailCount) {
        source.detail->dataSet.setRangeEndCount(source.detailCount());
        source.detail->dataSet.first();
    }
}

void TDataModule1::BindVisibilityModules(const TVisibilityModule& noise, const TVisibilityModule& method,
                                         const TVisibilityModule& rtl, const TVisibilityModule& report) {
    static constexpr const char* kPacketSwitches[] = {"PacketComment", "PacketUnlimRepeat", "PacketDetector"};
    static constexpr const char* kNoiseSwitches[] = {
        "NoisePrintPage1", "NoisePrintPage2", "NoisePrintPage3", "NoisePrintN1", "NoisePrintN2",
        "NoisePrintN3",    "NoisePrintN4",    "NoisePrintN5",    "NoisePrintN6", "NoisePrintN7",
        "NoisePrintN8",    "EZDInput"};
    static constexpr const char* kStatisticsSwitches[] = {"StaticCalcPrint", "StaticNotCalcPrint", "StaticAnormPrint"};
    visibles_ = {&noise, &method, &rtl, &report};
    report.bindTo(CommonReport());
    method.bindTo(CommonReport());
    report.bindTo(PacketReport(), kPacketSwitches);
    noise.bindTo(NoiseReport(), kNoiseSwitches);
    noise.bindTo(StaticReport(), kStatisticsSwitches);
    rtl.bindTo(RTLReport());
}

tarvex::engine::UserDataSet* TDataModule1::section(const QString& name) const {
    for (const TVisibilityModule* module : visibles_)
        if (module)
            if (tarvex::engine::UserDataSet* s = module->source(name))
                return s;
    return nullptr;
}

// Handlers by source name, as templates and drivers know them.
#define TARVEX_ROW_HANDLER_BODIES(X)                                                                         \
    void TDataModule1::X##First() {                                                                          \
        if (RowSource* r = find(QStringLiteral(#X)))                                                         \
            step(*r, First);                                                                                 \
    }                                                                                                        \
    void TDataModule1::X##Next() {                                                                           \
        if (RowSource* r = find(QStringLiteral(#X)))                                                         \
            step(*r, Next);                                                                                  \
    }                                                                                                        \
    void TDataModule1::X##Prior() {                                                                          \
        if (RowSource* r = find(QStringLiteral(#X)))                                                         \
            step(*r, Prior);                                                                                 \
    }

TARVEX_ROW_HANDLER_BODIES(PeakDataSet)
TARVEX_ROW_HANDLER_BODIES(ChromPeakColumns)
TARVEX_ROW_HANDLER_BODIES(PeakDetectorDataset)
TARVEX_ROW_HANDLER_BODIES(IdentDataset)
TARVEX_ROW_HANDLER_BODIES(ChromIdentColumn)
TARVEX_ROW_HANDLER_BODIES(GroupDataset)
TARVEX_ROW_HANDLER_BODIES(ChromGroupColumn)
TARVEX_ROW_HANDLER_BODIES(BitmapPartDataSet)
TARVEX_ROW_HANDLER_BODIES(JournalDataset)
TARVEX_ROW_HANDLER_BODIES(JournalColumn)
TARVEX_ROW_HANDLER_BODIES(CompStatColumn)
TARVEX_ROW_HANDLER_BODIES(IdentStatDataSet)
TARVEX_ROW_HANDLER_BODIES(CompStatChrom)
TARVEX_ROW_HANDLER_BODIES(AddCalcCoefsDataset)
TARVEX_ROW_HANDLER_BODIES(TempProgrDataSet)
TARVEX_ROW_HANDLER_BODIES(PressProgrDataSet)
TARVEX_ROW_HANDLER_BODIES(MethDetectorDataset)
TARVEX_ROW_HANDLER_BODIES(IntegerEventDataset)
TARVEX_ROW_HANDLER_BODIES(MethCompDataSet)
TARVEX_ROW_HANDLER_BODIES(GradCompPointDataset)
TARVEX_ROW_HANDLER_BODIES(MethGroupDataset)
TARVEX_ROW_HANDLER_BODIES(GradGroupPointDataset)
TARVEX_ROW_HANDLER_BODIES(GradDataSet)
TARVEX_ROW_HANDLER_BODIES(RTLDataset)
TARVEX_ROW_HANDLER_BODIES(StaticDataset)
TARVEX_ROW_HANDLER_BODIES(SKOColumn1)
TARVEX_ROW_HANDLER_BODIES(SKORow)
TARVEX_ROW_HANDLER_BODIES(SCOColumn2)
TARVEX_ROW_HANDLER_BODIES(PacketDataSet)
TARVEX_ROW_HANDLER_BODIES(ShodChromDataSet)
TARVEX_ROW_HANDLER_BODIES(ShodCompDataSet)
#undef TARVEX_ROW_HANDLER_BODIES

// The record-number sources read the engine's record number; their refill does the rest.
void TDataModule1::MethodCompGroupPlotnistFirst() {
    if (RowSource* r = find(QStringLiteral("MethodCompGroupPlotnist")))
        step(*r, First);
}
void TDataModule1::AddCalcExcelRowDataSetFirst() {
    if (RowSource* r = find(QStringLiteral("AddCalcExcelRowDataSet")))
        step(*r, First);
}
void TDataModule1::AddCalcGraphsDataSetFirst() {
    if (RowSource* r = find(QStringLiteral("AddCalcGraphsDataSet")))
        step(*r, First);
}
