#include "JobMask.h"

#include <QStringList>
#include <cstdint>

bool TJobFlags::anyReport() const {
    return chromatogram || method || statistics || noise || rtl || graduation || protocol || packet ||
           repeatability || peakProperty;
}

TJobFlags DecodeJobMask(const QString& argument) {
    TJobFlags flags;
    if (argument.isEmpty())
        return flags;
    bool ok = false;
    const std::int32_t value = argument.trimmed().toInt(&ok, 10);
    if (!ok || value == 0)
        return flags;
    const auto mask = static_cast<std::uint32_t>(value);
    auto bit = [mask](int n) { return (mask >> n) & 1U; };
    flags.chromatogram = bit(0);
    flags.method = bit(1);
    flags.statistics = bit(2);
    flags.noise = bit(3);
    flags.rtl = bit(4);
    flags.graduation = bit(5);
    flags.protocol = bit(6);
    flags.packet = bit(7);
    flags.repeatability = bit(8);
    flags.peakProperty = bit(9);
    flags.exportToFile = bit(13);
    flags.printerDialog = bit(15);
    flags.preview = bit(16);
    return flags;
}

QString DescribeJobFlags(const TJobFlags& f) {
    QStringList names;
    const std::pair<bool, const char*> all[] = {
        {f.chromatogram, "chromatogram"}, {f.method, "method"},         {f.statistics, "statistics"},
        {f.noise, "noise"},               {f.rtl, "rtl"},               {f.graduation, "graduation"},
        {f.protocol, "protocol"},         {f.packet, "packet"},         {f.repeatability, "repeatability"},
        {f.peakProperty, "peak-property"}, {f.exportToFile, "export"},  {f.printerDialog, "printer-dialog"},
        {f.preview, "preview"}};
    for (const auto& [set, name] : all)
        if (set)
            names << QString::fromLatin1(name);
    return names.isEmpty() ? QStringLiteral("nothing") : names.join(QStringLiteral(", "));
}
