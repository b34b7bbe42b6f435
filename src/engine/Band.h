#pragma once
// A band of a report page: a horizontal strip printed once, per page, or per record of a data set.

#include "Object.h"

namespace tarvex::engine {

enum class BandKind {
    ReportTitle, ReportSummary, PageHeader, PageFooter, Header, Footer,
    MasterData, DetailData, SubdetailData, DataBand4, DataBand5, DataBand6,
    GroupHeader, GroupFooter, Child, ColumnHeader, ColumnFooter, Overlay
};

/// A band. Its children are the objects printed with it (coordinates relative to the band).
class Band : public Object {
public:
    Band(const QString& typeName, BandKind kind);

    /// The band kind for an element name ("TfrxMasterData"); nullopt when it is not a band.
    static std::optional<BandKind> kindForTypeName(const QString& typeName);
    static QString typeNameForKind(BandKind kind);

    BandKind bandKind() const { return bandKind_; }
    bool isDataBand() const;
    /// Nesting level of a data band: 1 master, 2 detail, 3 sub-detail, 4..6 deeper; 0 for other bands.
    int dataLevel() const;

    QString dataSetName;       ///< the user name of the data set the band walks (DataSetName)
    QString dataSetComponent;  ///< the component name (DataSet); used when DataSetName is absent
    int rowCount = 0;          ///< records to print when no data set is bound
    bool stretched = false;    ///< height follows the stretched objects
    QString childName;         ///< a child band printed right after this one
    bool vertical = false;     ///< a column of a cross table instead of a row
    bool startNewPage = false;
    bool reprintOnNewPage = false;
    bool printOnFirstPage = true; ///< page headers and footers
    bool printOnLastPage = true;  ///< page footers
    /// Data bands: a record with its child and detail bands moves to the next page as a whole when it
    /// does not fit in the room left (a record taller than a page is still cut).
    bool keepTogether = false;
    /// The band and the child bands it names are not separated by a page break.
    bool keepChild = false;
    /// Data bands: the footer never starts a page alone; the last record moves with it.
    bool keepFooter = false;
    /// Data bands with detail bands: the record prints even when none of its details has a record.
    bool printIfDetailEmpty = false;
    bool printChildIfInvisible = false;
    QString condition;         ///< group condition (group headers)
    Font font;                 ///< the font memos with ParentFont inherit
    bool hasFont = false;
    FrColor fillColor = kColorNone;

    /// The data set name templates bind by: DataSetName, else DataSet.
    QString boundDataSetName() const { return dataSetName.isEmpty() ? dataSetComponent : dataSetName; }

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;

private:
    BandKind bandKind_;
};

} // namespace tarvex::engine
