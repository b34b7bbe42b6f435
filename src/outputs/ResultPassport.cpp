#include "ResultPassport.h"

#include "Bilingual.h"
#include "TChromModule.h"

#include <cmath>

namespace {

QString pick(const char16_t* text) { return tarvex::Pick(QString::fromUtf16(text)); }

// The locale's long time format without its time-zone tokens ("t" outside quotes) and the
// blanks around them: the host's timestamps are local times without a zone.
QString timeFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && ch == QLatin1Char('t'))
            continue;
        out += ch;
    }
    return out.trimmed();
}

} // namespace

QDateTime HostDateTime(double days) {
    // 2958465 days after the base is 31 December 9999, the last day a host date can name.
    constexpr double kLastDay = 2958466.0;
    if (!std::isfinite(days) || std::fabs(days) >= kLastDay)
        return {};
    const double whole = std::trunc(days);
    constexpr std::int64_t kDayMs = 86400000;
    // A day before the base still counts its time of day forwards.
    std::int64_t ms = std::llround(std::fabs(days - whole) * static_cast<double>(kDayMs));
    if (ms >= kDayMs)
        ms = kDayMs - 1;
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(whole));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

QString ShortDateText(const QDate& date, const QLocale& locale) {
    return date.isValid() ? locale.toString(date, locale.dateFormat(QLocale::ShortFormat)) : QString();
}

QString LongTimeText(const QTime& time, const QLocale& locale) {
    return time.isValid() ? locale.toString(time, timeFormatWithoutZone(locale)) : QString();
}

QList<TPassportItem> ResultPassport(const TChromModule& rec, const TResultContext& context) {
    using Kind = TPassportItem::Kind;
    const QDateTime recorded = HostDateTime(rec.dChr_DateTime());
    const auto number = [](std::int64_t n) { return QString::number(n); };
    return {
        {pick(u"Номер хроматографа\r\nNumber of chromatograph"), number(rec.bChrom_Num()), Kind::Number},
        {pick(u"Tип хроматографа\r\nType of chromatograph"), rec.DeviceTypeName(context.methodMode), Kind::Text},
        {pick(u"Имя рабочего метода\r\nNumber of work method"), rec.szFileMethod(), Kind::Text},
        {pick(u"Имя хроматографа\r\nName of chromatograph"), rec.szNameChrom(), Kind::Text},
        {pick(u"Номер пробы\r\nNumber of sample"), number(rec.iNumProba()), Kind::Number},
        {pick(u"Наименование пробы\r\nName of sample"), rec.szChr_SampleName(), Kind::Text},
        {pick(u"Имя оператора\r\nName of operator"), rec.szNameMan(), Kind::Text},
        {pick(u"Имя доп.расчета\r\nName of add.calc"), rec.bChr_HasAddCalc() ? rec.szChr_AddCalcName() : QString(),
         Kind::Text},
        {pick(u"Число пиков\r\nCount of peaks"), number(rec.PrintedPeakCount()), Kind::Number},
        {pick(u"Число идентифицированных обьектов\r\nCount of identified objects"),
         number(static_cast<std::int64_t>(rec.iIdent_Last()) + 1), Kind::Number},
        {pick(u"Число групп\r\nCount of groups"), number(static_cast<std::int64_t>(rec.iGroupRes_Last()) + 1),
         Kind::Number},
        {pick(u"Дата записи\r\nDate of record"), ShortDateText(recorded.date(), context.locale), Kind::Text},
        {pick(u"Время записи\r\nTime of record"), LongTimeText(recorded.time(), context.locale), Kind::Text},
        {pick(u"Тип расчета\r\nCalculation type"), rec.CalcMethodName(QString()), Kind::Text},
        {pick(u"Наименование метода\r\nName of method"), rec.szNameMethod(), Kind::Text},
    };
}
