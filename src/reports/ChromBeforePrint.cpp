// CommonReport's before-print hook for the chromatogram report: picture strips, the header,
// footer and additional-calculation rich texts, the column widths of the cross tables, and the
// band rules of export mode.

#include "Band.h"
#include "ChromReport.h"
#include "ChromTables.h"
#include "MemoView.h"
#include "PictureView.h"
#include "RichView.h"
#include "TChromModule.h"
#include "TDataModule1.h"

#include <QSet>
#include <cmath>
#include <tuple>

namespace {

using tarvex::engine::Object;

// The object prints exactly when its width is above 0, and then with that width.
void applyWidth(Object& object, int width) {
    object.visible = width > 0;
    if (dynamic_cast<tarvex::engine::MemoView*>(&object))
        object.printable = object.visible;
    object.width = width;
}

// Entries 1 to 50 hold the columns of the five cross tables.
static_assert(std::tuple_size_v<decltype(TDataModule1::columnWidths)> > 50);

// The width of the current column of a cross table whose widths are entries base+1 .. base+count
// of the module's column width table; a column outside the table is not printed.
int columnWidth(TDataModule1& data, const char* columnSource, int base, int count) {
    const int column = data.rowIndex(QString::fromLatin1(columnSource));
    if (column < 1 || column > count)
        return 0;
    return data.columnWidths[static_cast<std::size_t>(base + column)];
}

void clearRich(tarvex::engine::RichView& rich) {
    rich.richText.clear();
    rich.stretchMode = tarvex::engine::StretchMode::DontStretch;
}

// The cross tables' column objects: the vertical band and its memos, by table.
struct ColumnObjects {
    QStringList names;
    const char* columnSource;
    int base;
    int count;
};

const ColumnObjects kColumnObjects[] = {
    {{QStringLiteral("MasterData49"), QStringLiteral("Memo272"), QStringLiteral("Memo273"), QStringLiteral("Memo274")},
     "ChromPeakColumns", 0, 12},
    {{QStringLiteral("MasterData56"), QStringLiteral("Memo277"), QStringLiteral("Memo278"), QStringLiteral("Memo1")},
     "ChromIdentColumn", 12, 10},
    {{QStringLiteral("MasterData60"), QStringLiteral("Memo281"), QStringLiteral("Memo282")}, "ChromGroupColumn", 22, 10},
    {{QStringLiteral("MasterData64"), QStringLiteral("Memo284"), QStringLiteral("Memo285")}, "JournalColumn", 32, 4},
    {{QStringLiteral("MasterData68"), QStringLiteral("Memo287"), QStringLiteral("Memo288")}, "CompStatColumn", 36, 14},
};

} // namespace

void CommonReportBeforePrint(TDataModule1& data, TChromModule& chrom, Object& object) {
    if (data.designMode)
        return;
    data.AdjustView(object);
    const QString& name = object.name;

    if (name == QLatin1String("Picture1")) {
        if (!data.methodMode)
            CutStrip(data);
        auto* picture = dynamic_cast<tarvex::engine::PictureView*>(&object);
        if (!picture)
            picture = data.CommonReport().findObject<tarvex::engine::PictureView>(QStringLiteral("Picture1"));
        if (picture) {
            picture->picture = QImage();
            picture->width = data.chromStrip.width();
            picture->picture = data.chromStrip;
        }
        return;
    }

    if (name == QLatin1String("Rich1") || name == QLatin1String("Rich2") || name == QLatin1String("Rich3")) {
        auto* rich = dynamic_cast<tarvex::engine::RichView*>(&object);
        if (!rich)
            return;
        if (name == QLatin1String("Rich1") || name == QLatin1String("Rich2")) {
            const bool header = name == QLatin1String("Rich1");
            if (header ? data.printSettings.bPrint_HeaderFile() : data.printSettings.bPrint_FooterFile())
                rich->richText = header ? data.headerText : data.footerText;
            else
                clearRich(*rich);
            return;
        }
        // Without the additional calculation the object keeps what the template holds.
        if (!chrom.bPrn_AddCalc())
            return;
        if (chrom.iChr_CommentLen() > 0) {
            rich->richText = chrom.szChr_Comment();
            rich->font.charset = 204; // Cyrillic
        } else {
            clearRich(*rich);
        }
        return;
    }

    for (const ColumnObjects& table : kColumnObjects) {
        if (table.names.contains(name)) {
            applyWidth(object, columnWidth(data, table.columnSource, table.base, table.count));
            return;
        }
    }
    if (name == QLatin1String("MasterData106") || name == QLatin1String("Memo671")) {
        // The additional-calculation table shares the page width equally among its columns.
        const int columns = AddCalcTableColumnCount(chrom);
        applyWidth(object, columns > 0 ? static_cast<int>(std::ceil(static_cast<double>(data.pageWidth) / columns)) : 0);
        return;
    }
    // The method report's detector header has its own rule there.
    if (name == QLatin1String("Header11"))
        return;

    auto* band = dynamic_cast<tarvex::engine::Band*>(&object);
    if (!band || !data.exportFlag)
        return;
    const int format = data.printSettings.bExport_Format();
    if (band->bandKind() == tarvex::engine::BandKind::Header && (format == 1 || format == 2))
        band->reprintOnNewPage = false; // a spreadsheet holds the table header once
    else if (band->bandKind() == tarvex::engine::BandKind::PageFooter)
        band->visible = format >= 4; // document and picture formats keep the page footer
}
