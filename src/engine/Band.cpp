#include "Band.h"

#include "View.h"

namespace tarvex::engine {

namespace {

struct KindName {
    BandKind kind;
    const char* name;
};

constexpr KindName kNames[] = {
    {BandKind::ReportTitle, "TfrxReportTitle"},     {BandKind::ReportSummary, "TfrxReportSummary"},
    {BandKind::PageHeader, "TfrxPageHeader"},       {BandKind::PageFooter, "TfrxPageFooter"},
    {BandKind::Header, "TfrxHeader"},               {BandKind::Footer, "TfrxFooter"},
    {BandKind::MasterData, "TfrxMasterData"},       {BandKind::DetailData, "TfrxDetailData"},
    {BandKind::SubdetailData, "TfrxSubdetailData"}, {BandKind::DataBand4, "TfrxDataBand4"},
    {BandKind::DataBand5, "TfrxDataBand5"},         {BandKind::DataBand6, "TfrxDataBand6"},
    {BandKind::GroupHeader, "TfrxGroupHeader"},     {BandKind::GroupFooter, "TfrxGroupFooter"},
    {BandKind::Child, "TfrxChild"},                 {BandKind::ColumnHeader, "TfrxColumnHeader"},
    {BandKind::ColumnFooter, "TfrxColumnFooter"},   {BandKind::Overlay, "TfrxOverlay"},
};

} // namespace

Band::Band(const QString& typeName, BandKind kind) : Object(typeName, ObjectKind::Band), bandKind_(kind) {}

std::optional<BandKind> Band::kindForTypeName(const QString& typeName)
{
    for (const auto& k : kNames)
        if (typeName == QLatin1String(k.name))
            return k.kind;
    return std::nullopt;
}

QString Band::typeNameForKind(BandKind kind)
{
    for (const auto& k : kNames)
        if (k.kind == kind)
            return QLatin1String(k.name);
    return QString();
}

bool Band::isDataBand() const
{
    return dataLevel() > 0;
}

int Band::dataLevel() const
{
    switch (bandKind_) {
    case BandKind::MasterData: return 1;
    case BandKind::DetailData: return 2;
    case BandKind::SubdetailData: return 3;
    case BandKind::DataBand4: return 4;
    case BandKind::DataBand5: return 5;
    case BandKind::DataBand6: return 6;
    default: return 0;
    }
}

void Band::readAttributes(AttributeBag& bag)
{
    Object::readAttributes(bag);
    dataSetName = bag.takeString(QStringLiteral("DataSetName"));
    dataSetComponent = bag.takeString(QStringLiteral("DataSet"));
    rowCount = bag.takeInt(QStringLiteral("RowCount"), 0);
    stretched = bag.takeBool(QStringLiteral("Stretched"), false);
    childName = bag.takeString(QStringLiteral("Child"));
    vertical = bag.takeBool(QStringLiteral("Vertical"), false);
    startNewPage = bag.takeBool(QStringLiteral("StartNewPage"), false);
    reprintOnNewPage = bag.takeBool(QStringLiteral("ReprintOnNewPage"), false);
    printOnFirstPage = bag.takeBool(QStringLiteral("PrintOnFirstPage"), true);
    printOnLastPage = bag.takeBool(QStringLiteral("PrintOnLastPage"), true);
    keepTogether = bag.takeBool(QStringLiteral("KeepTogether"), false);
    keepChild = bag.takeBool(QStringLiteral("KeepChild"), false);
    keepFooter = bag.takeBool(QStringLiteral("KeepFooter"), false);
    printIfDetailEmpty = bag.takeBool(QStringLiteral("PrintIfDetailEmpty"), false);
    printChildIfInvisible = bag.takeBool(QStringLiteral("PrintChildIfInvisible"), false);
    condition = bag.takeString(QStringLiteral("Condition"));
    hasFont = View::readFont(bag, QStringLiteral("Font"), font);
    if (bag.contains(QStringLiteral("Fill.BackColor")))
        fillColor = bag.takeColor(QStringLiteral("Fill.BackColor"), fillColor);
    else
        fillColor = bag.takeColor(QStringLiteral("Color"), fillColor);
}

void Band::writeAttributes(AttributeBag& out) const
{
    Object::writeAttributes(out);
    if (fillColor != kColorNone)
        out.putInt(QStringLiteral("Color"), fillColor);
    if (hasFont)
        View::writeFont(out, QStringLiteral("Font"), font, Font{QStringLiteral("\x01")});
    if (!childName.isEmpty())
        out.putString(QStringLiteral("Child"), childName);
    if (!condition.isEmpty())
        out.putString(QStringLiteral("Condition"), condition);
    if (!dataSetComponent.isEmpty())
        out.putString(QStringLiteral("DataSet"), dataSetComponent);
    if (!dataSetName.isEmpty())
        out.putString(QStringLiteral("DataSetName"), dataSetName);
    if (rowCount != 0)
        out.putInt(QStringLiteral("RowCount"), rowCount);
    if (stretched)
        out.putBool(QStringLiteral("Stretched"), true);
    if (vertical)
        out.putBool(QStringLiteral("Vertical"), true);
    if (startNewPage)
        out.putBool(QStringLiteral("StartNewPage"), true);
    if (reprintOnNewPage)
        out.putBool(QStringLiteral("ReprintOnNewPage"), true);
    if (!printOnFirstPage)
        out.putBool(QStringLiteral("PrintOnFirstPage"), false);
    if (!printOnLastPage)
        out.putBool(QStringLiteral("PrintOnLastPage"), false);
    if (keepTogether)
        out.putBool(QStringLiteral("KeepTogether"), true);
    if (keepChild)
        out.putBool(QStringLiteral("KeepChild"), true);
    if (keepFooter)
        out.putBool(QStringLiteral("KeepFooter"), true);
    if (printIfDetailEmpty)
        out.putBool(QStringLiteral("PrintIfDetailEmpty"), true);
    if (printChildIfInvisible)
        out.putBool(QStringLiteral("PrintChildIfInvisible"), true);
}

} // namespace tarvex::engine
