#include "SignalWriter.h"

#include "Bilingual.h"
#include "CodePage.h"
#include "OutputFile.h"
#include "Prompt.h"
#include "TChromModule.h"
#include "ValueFormat.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

namespace {

// Two decimal digits per entry: the formatter takes a number apart two digits at a time.
constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                               "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

// Writes the decimal digits of `u` so that they end just before `end`; returns where they start.
inline char* digitsBefore(char* end, std::uint32_t u) {
    while (u >= 100) {
        const std::uint32_t pair = (u % 100) * 2;
        u /= 100;
        end -= 2;
        std::memcpy(end, kDigitPairs + pair, 2);
    }
    if (u >= 10) {
        end -= 2;
        std::memcpy(end, kDigitPairs + u * 2, 2);
    } else {
        *--end = static_cast<char>('0' + u);
    }
    return end;
}

// A sample's sign and digits ending before `end`; at most 11 characters (-2147483648).
inline char* sampleBefore(char* end, std::int32_t v) {
    const std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
    char* start = digitsBefore(end, magnitude);
    if (v < 0)
        *--start = '-';
    return start;
}

// About a mebibyte of text per write: large enough that writing costs what the bytes cost.
constexpr std::size_t kChunkBytes = 1 << 20;

void tellBuildError() {
    tarvex::prompt().error(tarvex::Pick(QStringLiteral("Ошибка при экспорте сигнала\r\nError at export of a signal")));
}

// The shortest general form with up to 15 significant digits and a point, whatever the locale.
QString pointNumber(double value) { return GeneralNumber(value, 15, 0, QLocale::c()); }

} // namespace

void FormatSignalTableLines(std::span<const std::span<const std::int32_t>> channels, std::size_t from,
                            std::size_t to, char* out) {
    static constexpr char kBlankCell[12] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', '\t'};
    for (std::size_t p = from; p < to; ++p) {
        for (const auto& channel : channels) {
            std::memcpy(out, kBlankCell, sizeof kBlankCell);
            sampleBefore(out + 11, channel[p]);
            out += sizeof kBlankCell;
        }
        *out++ = '\r';
        *out++ = '\n';
    }
}

bool WriteSignalTable(const QString& fileName, std::span<const std::span<const std::int32_t>> channels) {
    TOutputFile file(fileName);
    if (!file.open())
        return false;
    try {
        std::size_t points = channels.empty() ? 0 : channels.front().size();
        for (const auto& channel : channels)
            points = std::min(points, channel.size());
        const std::size_t lineSize = SignalTableLineSize(channels.size());
        const std::size_t perChunk = std::max<std::size_t>(1, kChunkBytes / lineSize);
        std::vector<char> chunk(std::min(points, perChunk) * lineSize);
        for (std::size_t from = 0; from < points; from += perChunk) {
            const std::size_t to = std::min(points, from + perChunk);
            FormatSignalTableLines(channels, from, to, chunk.data());
            if (!file.write(chunk.data(), static_cast<qint64>((to - from) * lineSize)))
                return false;
        }
    } catch (const std::exception&) {
        tellBuildError();
        return false;
    }
    return file.commit();
}

bool WriteSignalTable(const QString& fileName, const TChromModule& rec) {
    std::vector<std::span<const std::int32_t>> channels;
    const int count = std::min<int>(rec.bChr_ChannelCount(), TChromModule::kMaxChannels);
    const std::size_t points = static_cast<std::size_t>(std::max(rec.iChr_PointCount(), 0));
    for (int c = 0; c < count; ++c) {
        const auto samples = rec.SignalChannel(c);
        channels.push_back(samples.first(std::min(points, samples.size())));
    }
    return WriteSignalTable(fileName, channels);
}

bool WriteSignalFile(const QString& fileName, const TChromModule& rec) {
    TOutputFile file(fileName);
    if (!file.open())
        return false;
    try {
        const double rate = rec.fChr_Rate();
        const double scale = rec.dChr_AdcScale();
        const QString header = QStringLiteral("Число точек:  cycles=") + QString::number(rec.iChr_PointCount()) +
                               QStringLiteral("\r\nФактический интервал: cyctime=") +
                               pointNumber(rate > 0 ? 1.0 / rate : 1.0) + QStringLiteral("\r\nшаг АЦП: coef=") +
                               pointNumber(scale > 0 ? 1.0 / scale : 1.0) +
                               QStringLiteral("\r\nЕдиницы измерений АЦП:  units='mV'\r\nDATA:\r\n");
        if (!file.write(tarvex::toCp1251(header)))
            return false;

        const auto samples = rec.bChr_ChannelCount() > 0 ? rec.SignalChannel(0) : std::span<const std::int32_t>();
        const std::size_t points =
            std::min(static_cast<std::size_t>(std::max(rec.iChr_PointCount(), 0)), samples.size());
        constexpr std::size_t kLongestLine = 13; // -2147483648 and CR LF
        std::vector<char> chunk(kChunkBytes);
        char* out = chunk.data();
        for (std::size_t p = 0; p < points; ++p) {
            char digits[12];
            char* start = sampleBefore(digits + sizeof digits, samples[p]);
            const std::size_t n = static_cast<std::size_t>(digits + sizeof digits - start);
            std::memcpy(out, start, n);
            out += n;
            *out++ = '\r';
            *out++ = '\n';
            if (static_cast<std::size_t>(chunk.data() + chunk.size() - out) < kLongestLine) {
                if (!file.write(chunk.data(), out - chunk.data()))
                    return false;
                out = chunk.data();
            }
        }
        if (!file.write(chunk.data(), out - chunk.data()))
            return false;
    } catch (const std::exception&) {
        tellBuildError();
        return false;
    }
    return file.commit();
}
