#include "TVisibilityModule.h"

#include "Report.h"

#include <cstring>

TVisibilityModule::TVisibilityModule(std::span<const TVisibilitySourceInfo> sources) {
    for (const TVisibilitySourceInfo& info : sources) {
        auto ds = std::make_unique<tarvex::engine::UserDataSet>(QString::fromUtf8(info.userName));
        ds->setRangeEndCount(1); // stored count: the section prints until a driver says otherwise
        infos_.push_back(&info);
        sources_.push_back(std::move(ds));
    }
}

TVisibilityModule::~TVisibilityModule() = default;

tarvex::engine::UserDataSet* TVisibilityModule::source(const QString& name) const {
    for (std::size_t i = 0; i < infos_.size(); ++i)
        if (name == QLatin1String(infos_[i]->name))
            return sources_[i].get();
    return nullptr;
}

void TVisibilityModule::bindTo(tarvex::engine::Report& report, std::span<const char* const> names) const {
    for (std::size_t i = 0; i < infos_.size(); ++i) {
        bool wanted = names.empty();
        for (const char* n : names)
            wanted = wanted || std::strcmp(n, infos_[i]->name) == 0;
        if (wanted)
            report.addDataSet(sources_[i].get());
    }
}

void SetSection(tarvex::engine::UserDataSet* source, int flag) {
    if (source)
        source->setRangeEndCount(flag != 0 ? 1 : 0);
}
