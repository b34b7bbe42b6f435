#include "Synth.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>

namespace host {

namespace {

QJsonArray repeat(const QJsonValue& value, int n) {
    QJsonArray out;
    for (int i = 0; i < n; ++i)
        out.append(value);
    return out;
}

} // namespace

QJsonObject synthJob(const SynthSize& size) {
    const int channels = std::clamp(size.channels, 1, 10);
    const double rate = 20; // points per second
    const double minutes = std::max(size.points, 1) / rate / 60.0;

    QJsonObject chrom {
        {QStringLiteral("szNameChrom"), QStringLiteral("Synthetic %1 peaks").arg(size.peaks)},
        {QStringLiteral("fChr_Rate"), rate},
        {QStringLiteral("dChr_AdcScale"), 0.001},
        {QStringLiteral("cChr_NamesMode"), QStringLiteral("2")},
        {QStringLiteral("szConc_Name1"), QStringLiteral("%mol")},
        {QStringLiteral("szConc_Name2"), QStringLiteral("%mass")},
        {QStringLiteral("szConc_Name3"), QStringLiteral("mg/m3")},
    };
    QJsonArray names, peakLast = repeat(-1, 10), detOn, peakList, printFlags;
    QJsonObject peaks;
    QJsonArray time, area, height, comp, start, spans;
    int first = 0;
    for (int c = 0; c < channels; ++c) {
        names.append(QStringLiteral("CH%1").arg(c + 1));
        detOn.append(1);
        peakList.append(c);
        printFlags.append(1);
        const int count = size.peaks / channels + (c < size.peaks % channels ? 1 : 0);
        peakLast[c] = count - 1;
        for (int k = 0; k < count; ++k) {
            const double t = minutes * (k + 1) / (count + 1);
            const double h = 20 + 180 * ((k * 37 + c * 11) % 17) / 16.0;
            time.append(t);
            height.append(h);
            area.append(h * 0.004 * std::sqrt(2 * M_PI)); // a peak of 0.24 s standard deviation
            comp.append(size.components > 0 ? (first + k) % size.components : -1);
            start.append(static_cast<int>((t - 0.015) * 60 * rate));
        }
        spans.append(QJsonObject {{QStringLiteral("baseline"), 1.0 + c},
                                  {QStringLiteral("drift"), 0.05},
                                  {QStringLiteral("noise"), 0.02},
                                  {QStringLiteral("peaks"), QJsonArray {first, count}}});
        first += count;
    }
    chrom.insert(QStringLiteral("szChr_DetName6"), names);
    chrom.insert(QStringLiteral("iChr_PeakLast"), peakLast);
    peaks.insert(QStringLiteral("fPeak_Time"), time);
    peaks.insert(QStringLiteral("fPeak_Area"), area);
    peaks.insert(QStringLiteral("fPeak_Height"), height);
    peaks.insert(QStringLiteral("iPeak_Comp"), comp);
    peaks.insert(QStringLiteral("iPeak_StartPoint"), start);

    QJsonObject method {
        {QStringLiteral("szNameMethod"), QStringLiteral("Synthetic method")},
        {QStringLiteral("bMeth_DetOn"), detOn},
        {QStringLiteral("bMeth_DetPeakList"), peakList},
        {QStringLiteral("bDet_PrintFlag"), printFlags},
        {QStringLiteral("bMeth_CalcMethod"), 0},
        {QStringLiteral("bPrn_Peaks"), 1},
        {QStringLiteral("bPrn_Ident"), 1},
        {QStringLiteral("bPrn_Picture"), 1},
    };

    const auto calibPoints = [&size](int i) {
        QJsonArray points;
        for (int p = 0; p < size.calibPoints; ++p)
            points.append(QJsonObject {{QStringLiteral("dPoint_Conc"), (p + 1) * 0.5},
                                       {QStringLiteral("dPoint_Area"), QJsonArray {(p + 1) * 10.0 + i}},
                                       {QStringLiteral("szPoint_Chrom"), QStringLiteral("cal%1").arg(p + 1)}});
        return points;
    };
    QJsonArray components;
    for (int i = 0; i < size.components; ++i)
        components.append(QJsonObject {{QStringLiteral("szComp_Name"), QStringLiteral("Component %1").arg(i + 1)},
                                       {QStringLiteral("dComp_Time"), minutes * (i + 1) / (size.components + 1)},
                                       {QStringLiteral("dRTime_DTM"), 0.05},
                                       {QStringLiteral("bCalib_Func"), 1},
                                       {QStringLiteral("points"), calibPoints(i)}});
    QJsonArray groups;
    for (int g = 0; g < size.groups; ++g)
        groups.append(QJsonObject {{QStringLiteral("szGroup_Name"), QStringLiteral("Group %1").arg(g + 1)},
                                   {QStringLiteral("dGroup_TimeBeg"), minutes * g / std::max(size.groups, 1)},
                                   {QStringLiteral("dGroup_TimeEnd"), minutes * (g + 1) / std::max(size.groups, 1)},
                                   {QStringLiteral("points"), calibPoints(g)}});

    QJsonArray ident, compStat;
    for (int i = 0; i < size.ident; ++i) {
        ident.append(QJsonObject {{QStringLiteral("fIdent_Conc"), QJsonArray {1.5, 2.5, 3.5}},
                                  {QStringLiteral("bIdent_PeakList"), 0},
                                  {QStringLiteral("iIdent_Peak"), i},
                                  {QStringLiteral("iIdent_Comp"), size.components > 0 ? i % size.components : 0}});
        compStat.append(QJsonObject {{QStringLiteral("fStat_Average"), QJsonArray {1.5, 2.5, 3.5}},
                                     {QStringLiteral("fStat_RelErr"), QJsonArray {0.8, 0.9, 1.1}}});
    }
    QJsonArray groupResults;
    for (int i = 0; i < size.groupResults; ++i)
        groupResults.append(QJsonObject {{QStringLiteral("fGroupRes_Conc"), QJsonArray {10.0, 11.0, 12.0}},
                                         {QStringLiteral("iGroupRes_Group"), size.groups > 0 ? i % size.groups : 0}});
    QJsonArray journal;
    for (int i = 0; i < size.journal; ++i)
        journal.append(QJsonObject {{QStringLiteral("iJourn_Time"), 30 * i},
                                    {QStringLiteral("szJourn_Event"), QStringLiteral("Event %1").arg(i + 1)},
                                    {QStringLiteral("bJourn_Kind"), 1 + i % 2}});
    QJsonArray graphs;
    for (int g = 0; g < size.graphs; ++g) {
        QJsonArray points;
        for (int p = 0; p < size.graphPoints; ++p)
            points.append(QJsonArray {p * 1.0, p * p * 0.5});
        graphs.append(QJsonObject {{QStringLiteral("szGraph_Title"), QStringLiteral("Graph %1").arg(g + 1)},
                                   {QStringLiteral("bGraph_TitleOn"), 1},
                                   {QStringLiteral("bGraph_AllPoints"), 1},
                                   {QStringLiteral("points"), points}});
    }

    QJsonObject job {
        {QStringLiteral("description"), QStringLiteral("synthetic job")},
        {QStringLiteral("chromatogram"), chrom},
        {QStringLiteral("method"), method},
        {QStringLiteral("peaks"), peaks},
        {QStringLiteral("components"), components},
        {QStringLiteral("groups"), groups},
        {QStringLiteral("ident"), ident},
        {QStringLiteral("compStat"), compStat},
        {QStringLiteral("groupResults"), groupResults},
        {QStringLiteral("journal"), journal},
        {QStringLiteral("graphs"), graphs},
        {QStringLiteral("comment"), QStringLiteral("Name\tValue\r\nTotal\t100\r\n")},
        {QStringLiteral("signal"), QJsonObject {{QStringLiteral("points"), size.points},
                                                {QStringLiteral("seed"), 7},
                                                {QStringLiteral("channels"), spans}}},
        {QStringLiteral("printSettings"),
         QJsonObject {{QStringLiteral("iPrint_Version"), 8}, {QStringLiteral("bPeakCol_On"), repeat(1, 12)},
                      {QStringLiteral("fPeakCol_Width"), repeat(8, 12)}}},
    };
    return job;
}

} // namespace host
