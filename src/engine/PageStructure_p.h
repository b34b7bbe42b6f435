#pragma once
// How the bands of a page relate: page bands, the nesting of data bands with their headers, footers and
// groups, and the vertical bands of cross tables (private to the engine).

#include "Page.h"

#include <QHash>

#include <memory>
#include <vector>

namespace tarvex::engine {

/// A data band with what belongs to it.
struct DataNode {
    Band* band = nullptr;
    Band* header = nullptr;
    Band* footer = nullptr;
    std::vector<Band*> groupHeaders; ///< outermost first
    std::vector<Band*> groupFooters; ///< same index as the header it closes; null when none
    std::vector<std::unique_ptr<DataNode>> details;
};

/// One vertical band of a cross table, with its template geometry taken before any hook changed it.
struct VerticalBand {
    enum class Role { Header, Data, Footer };
    Band* band = nullptr;
    Role role = Role::Data;
    double left = 0;
    double width = 0;
};

struct PageStructure {
    Page* page = nullptr;
    Band* title = nullptr;
    Band* summary = nullptr;
    Band* pageHeader = nullptr;
    Band* pageFooter = nullptr;
    Band* columnHeader = nullptr;
    Band* columnFooter = nullptr;
    Band* overlay = nullptr;
    std::vector<std::unique_ptr<DataNode>> roots;
    std::vector<VerticalBand> verticals; ///< left to right
    /// Objects of horizontal bands that are cells of a vertical band: index into `verticals`.
    QHash<const Object*, int> cellColumn;
    /// Data band -> its node, footer/group footer -> the data band it closes.
    QHash<const Band*, const DataNode*> nodeOfBand;
    QHash<const Band*, const Band*> dataBandOfFooter;

    static std::unique_ptr<PageStructure> build(Page& page);
};

} // namespace tarvex::engine
