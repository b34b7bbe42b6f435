#include "RowSources.h"

#include <cstring>

namespace {

// Reports: C CommonReport, G GRAD1Report, R RTLReport, S StaticReport, P PacketReport, H ShodReport.
constexpr TRowStart Z = TRowStart::Zero;
constexpr TRowStart O = TRowStart::One;
constexpr TRowStart N = TRowStart::RecordNumber;

const TRowSourceInfo kSources[] = {
    {"PeakDataSet", "Пики", 3, "C", Z, nullptr},
    {"ChromPeakColumns", "Колонки таблицы пиков", 12, "C", O, nullptr},
    {"PeakDetectorDataset", "Пики по детекторам хроматограммы", 3, "C", Z, nullptr},
    {"IdentDataset", "Таблица идентиф. компонентов", 5, "C", Z, nullptr},
    {"ChromIdentColumn", "Колонки таблицы идентификации", 10, "C", O, nullptr},
    {"GroupDataset", "Таблица групп", 10, "C", Z, nullptr},
    {"ChromGroupColumn", "Колонки таблицы групп", 10, "C", O, nullptr},
    {"BitmapPartDataSet", "Части картинки", 1, "C", Z, nullptr},
    {"JournalDataset", "Таблица журнала событий", 10, "C", Z, nullptr},
    {"JournalColumn", "Колонки журнала событий", 4, "C", O, nullptr},
    {"CompStatColumn", "Колонки статистики компонентов", 14, "C", O, nullptr},
    {"IdentStatDataSet", "Таблица идентиф. компонентов-Статистика", 5, "C", Z, nullptr},
    {"CompStatChrom", "Хроматограммы в статистике", 5, "C", Z, nullptr},
    {"AddCalcCoefsDataset", "Коэффициенты дополнительного расчета", 5, "C", Z, nullptr},
    {"AddCalcExcelRowDataSet", "Коэффициенты дополнительного расчета-строки", 5, "C", N, nullptr},
    {"AddCalcExcelColumnDataSet", "Коэффициенты дополнительного расчета-колонки", 5, "C", N, nullptr},
    {"AddCalcGraphsDataSet", "Графики доп.расчетов", 2, "C", N, nullptr},
    {"TempProgrDataSet", "Таблица программирования температуры", 5, "C", Z, "PressProgrDataSet"},
    {"PressProgrDataSet", "PressProgrDataSet", 2, "C", Z, "TempProgrDataSet"},
    {"MethDetectorDataset", "Детектора метода", 3, "C", Z, nullptr},
    {"IntegerEventDataset", "События интегрирования", 5, "C", Z, nullptr},
    {"MethCompDataSet", "Список компонентов метода", 2, "C", Z, nullptr},
    {"GradCompPointDataset", "Точки градуировки компонентов", 5, "C", Z, "GradGroupPointDataset"},
    {"MethGroupDataset", "Группы метода", 1, "C", Z, nullptr},
    {"GradGroupPointDataset", "Точки градуировки групп", 5, "C", Z, "GradCompPointDataset"},
    {"MethodCompGroupPlotnist", "Метод-плотность для сжиженного газа", 21, "C", N, nullptr},
    {"MethodCompGroupFugitiv", "Метод-фугитивность для сжиженного газа", 8, "C", N, nullptr},
    {"GradDataSet", "Градуировка прибора", 5, "GC", Z, nullptr},
    {"RTLDataset", "Калибровка совместимости", 5, "RS", Z, nullptr},
    {"StaticDataset", "Статистика", 15, "SC", Z, nullptr},
    {"SKOColumn1", "Колонки Исходников СКО", 9, "S", O, nullptr},
    {"SKORow", "Строки результата СКО", 9, "S", O, nullptr},
    {"SCOColumn2", "Колонки Результатов СКО", 8, "S", O, nullptr},
    {"PacketDataSet", "Пакет методик", 10, "P", Z, nullptr},
    {"ShodChromDataSet", "Сходимость-Хроматограммы", 10, "H", Z, nullptr},
    {"ShodCompDataSet", "Сходимость-Компоненты", 10, "H", Z, nullptr},
};

} // namespace

std::span<const TRowSourceInfo> RowSources() { return kSources; }

const TRowSourceInfo* FindRowSource(const char* name) {
    for (const TRowSourceInfo& s : kSources)
        if (std::strcmp(s.name, name) == 0)
            return &s;
    return nullptr;
}
