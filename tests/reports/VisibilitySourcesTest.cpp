// The section switches: complete, and every name and user name bound once.

#include "VisibilitySources.h"

#include <QSet>
#include <QString>
#include <gtest/gtest.h>

TEST(VisibilitySources, EachModuleHasItsSourcesWithDistinctNames) {
    const std::pair<std::span<const TVisibilitySourceInfo>, int> modules[] = {
        {ReportVisiblesSources(), 76},
        {MethodReportVisiblesSources(), 54},
        {NoiseReportVisiblesSources(), 15},
        {RTLVisiblesSources(), 12},
    };
    QSet<QString> names, userNames;
    for (const auto& [sources, expected] : modules) {
        EXPECT_EQ(static_cast<int>(sources.size()), expected);
        for (const TVisibilitySourceInfo& s : sources) {
            EXPECT_FALSE(names.contains(QString::fromUtf8(s.name))) << s.name;
            EXPECT_FALSE(userNames.contains(QString::fromUtf8(s.userName))) << s.userName;
            names.insert(QString::fromUtf8(s.name));
            userNames.insert(QString::fromUtf8(s.userName));
        }
    }
}
