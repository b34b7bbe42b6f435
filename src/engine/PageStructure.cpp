#include "PageStructure_p.h"

#include <algorithm>

namespace tarvex::engine {

std::unique_ptr<PageStructure> PageStructure::build(Page& page)
{
    auto ps = std::make_unique<PageStructure>();
    ps->page = &page;
    std::vector<Band*> flow;
    for (Band* b : page.bands()) {
        if (b->vertical) {
            VerticalBand v;
            v.band = b;
            v.left = b->left;
            v.width = b->width;
            v.role = b->bandKind() == BandKind::Header ? VerticalBand::Role::Header
                     : b->bandKind() == BandKind::Footer ? VerticalBand::Role::Footer
                                                          : VerticalBand::Role::Data;
            ps->verticals.push_back(v);
            continue;
        }
        switch (b->bandKind()) {
        case BandKind::ReportTitle: if (!ps->title) ps->title = b; break;
        case BandKind::ReportSummary: if (!ps->summary) ps->summary = b; break;
        case BandKind::PageHeader: if (!ps->pageHeader) ps->pageHeader = b; break;
        case BandKind::PageFooter: if (!ps->pageFooter) ps->pageFooter = b; break;
        case BandKind::ColumnHeader: if (!ps->columnHeader) ps->columnHeader = b; break;
        case BandKind::ColumnFooter: if (!ps->columnFooter) ps->columnFooter = b; break;
        case BandKind::Overlay: if (!ps->overlay) ps->overlay = b; break;
        case BandKind::Child: break; // printed through the band that names it
        default: flow.push_back(b); break;
        }
    }
    std::stable_sort(ps->verticals.begin(), ps->verticals.end(),
                     [](const VerticalBand& a, const VerticalBand& b) { return a.left < b.left; });
    // The designer position orders the bands; file order breaks ties.
    std::stable_sort(flow.begin(), flow.end(), [](const Band* a, const Band* b) { return a->top < b->top; });

    std::vector<DataNode*> stack; // open data bands, outermost first
    Band* pendingHeader = nullptr;
    std::vector<Band*> pendingGroups;
    std::vector<DataNode*> closedFooter; // nodes whose footer slot is taken
    for (Band* b : flow) {
        const int level = b->dataLevel();
        if (level > 0) {
            while (!stack.empty() && stack.back()->band->dataLevel() >= level)
                stack.pop_back();
            auto node = std::make_unique<DataNode>();
            node->band = b;
            node->header = pendingHeader;
            node->groupHeaders = pendingGroups;
            node->groupFooters.assign(pendingGroups.size(), nullptr);
            pendingHeader = nullptr;
            pendingGroups.clear();
            DataNode* raw = node.get();
            ps->nodeOfBand.insert(b, raw);
            if (stack.empty())
                ps->roots.push_back(std::move(node));
            else
                stack.back()->details.push_back(std::move(node));
            stack.push_back(raw);
            continue;
        }
        switch (b->bandKind()) {
        case BandKind::Header: pendingHeader = b; break;
        case BandKind::GroupHeader: pendingGroups.push_back(b); break;
        case BandKind::Footer: {
            // A footer closes the innermost open data band that has none yet.
            while (!stack.empty() && stack.back()->footer)
                stack.pop_back();
            if (!stack.empty()) {
                stack.back()->footer = b;
                ps->dataBandOfFooter.insert(b, stack.back()->band);
            }
            break;
        }
        case BandKind::GroupFooter: {
            // Group footers close groups from the innermost outwards.
            for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
                DataNode* n = *it;
                bool placed = false;
                for (size_t i = n->groupFooters.size(); i-- > 0;) {
                    if (!n->groupFooters[i]) {
                        n->groupFooters[i] = b;
                        ps->dataBandOfFooter.insert(b, n->band);
                        placed = true;
                        break;
                    }
                }
                if (placed)
                    break;
            }
            break;
        }
        default: break;
        }
    }

    // Cells of cross tables: objects of horizontal bands lying within a vertical band's x-range.
    if (!ps->verticals.empty()) {
        for (Band* b : page.bands()) {
            if (b->vertical)
                continue;
            for (const auto& o : b->children()) {
                for (size_t i = 0; i < ps->verticals.size(); ++i) {
                    const VerticalBand& v = ps->verticals[i];
                    if (o->left >= v.left - 0.5 && o->left + o->width <= v.left + v.width + 0.5 && v.width > 0) {
                        ps->cellColumn.insert(o.get(), int(i));
                        break;
                    }
                }
            }
        }
    }
    return ps;
}

} // namespace tarvex::engine
