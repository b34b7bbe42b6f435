// tarvexprint: started by the host with a job mask, it prints one report and ends; started
// without an argument it is the template editor.

#include "Bilingual.h"
#include "Priority.h"
#include "Prompt.h"
#include "ReportDrivers.h"
#include "TChromModule.h"
#include "TDataModule1.h"
#include "TVisibilityModule.h"
#include "TLangModule.h"
#include "TReportPrintModule.h"

#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

namespace {

const char kUsage[] = "Использование: tarvexprint [МАСКА_ЗАДАНИЯ] (запускается программой Tarvex; --help)\r\n"
                      "usage: tarvexprint [JOB_MASK] (started by the Tarvex host; see --help)";

const char kHelpRu[] =
    "tarvexprint " TARVEX_VERSION " - печать отчетов хроматографической системы Tarvex\n"
    "\n"
    "Запуск: tarvexprint МАСКА_ЗАДАНИЯ\n"
    "        tarvexprint            (редактор шаблонов)\n"
    "\n"
    "Tarvex помещает задание в общую память и запускает программу с десятичной маской задания.\n"
    "Биты отчетов: 1 хроматограмма, 2 метод, 4 статистика, 8 шум, 16 калибровка времен удерживания,\n"
    "32 градуировка, 64 протокол, 128 пакет, 256 сходимость, 512 свойства пиков; 8192 - запись\n"
    "результата в файл вместо печати, 32768 - диалог принтера, 65536 - предварительный просмотр.\n"
    "Выполняется первый выбранный отчет в этом порядке.\n"
    "\n"
    "Переменные окружения:\n"
    "  TARVEX_SHM_PREFIX  префикс имен объектов общей памяти (по умолчанию пусто)\n"
    "  TARVEX_CONFIRM     yes/no: ответ на вопросы без дисплея (по умолчанию no)\n"
    "  TARVEX_TRACE       1: сообщать в стандартный поток ошибок о ходе работы\n"
    "Без DISPLAY и WAYLAND_DISPLAY сообщения выводятся в стандартный поток ошибок.\n";

const char kHelpEn[] =
    "tarvexprint " TARVEX_VERSION " - report printing for the Tarvex chromatography data system\n"
    "\n"
    "usage: tarvexprint JOB_MASK\n"
    "       tarvexprint            (template editor)\n"
    "\n"
    "The host publishes one analysis job in shared memory and starts the program with a decimal\n"
    "job mask. Report bits: 1 chromatogram, 2 method, 4 statistics, 8 noise, 16 retention-time lock,\n"
    "32 graduation, 64 protocol, 128 packet, 256 repeatability, 512 peak properties; 8192 writes a\n"
    "result file instead of printing, 32768 shows the printer dialog, 65536 previews. The first\n"
    "selected report in that order runs.\n"
    "\n"
    "Environment:\n"
    "  TARVEX_SHM_PREFIX  prefix of the shared-memory object names (default none)\n"
    "  TARVEX_CONFIRM     yes/no: answer to questions when there is no display (default no)\n"
    "  TARVEX_TRACE       1: tell on standard error what the run does\n"
    "Without DISPLAY or WAYLAND_DISPLAY messages go to standard error.\n";

} // namespace

int main(int argc, char** argv) {
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    // Qt wants a private runtime folder; a host started from a service may not have one.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/runtime-" + QByteArray::number(::getuid());
        if (::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", dir);
    }
    // Without a display the run is headless: no window may open and nothing may wait for one.
    if (tarvex::isHeadless() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvexPrint"));
    QApplication::setOrganizationName(QStringLiteral("Orlend"));
    tarvex::setPrompt(tarvex::makeDefaultPrompt());

    // Start-up order: priority, language, the language copied for the pick, then the modules.
    tarvex::lowerProcessPriority();
    auto lang = std::make_unique<TLangModule>();
    tarvex::setLanguageIndex(lang->languageIndex());
    auto data = std::make_unique<TDataModule1>();
    data->LoadDictionary(TLangModule::translationList(0), TLangModule::translationList(1));
    auto noiseVisibles = std::make_unique<TNoiseReportVisiblesModule>();
    auto methodVisibles = std::make_unique<TMethodReportVisibles>();
    auto rtlVisibles = std::make_unique<TRTLVisibles>();
    auto reportVisibles = std::make_unique<TReportVisibles>();
    data->BindVisibilityModules(*noiseVisibles, *methodVisibles, *rtlVisibles, *reportVisibles);
    auto printModule = std::make_unique<TReportPrintModule>(*data);
    printModule->ReadSettings();
    auto chromModule = std::make_unique<TChromModule>(); // the print-job record of this run
    printModule->AttachRecord(*chromModule);
    InstallReportDrivers(*printModule, *data, *chromModule);

    if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
        std::fputs(tarvex::languageIndex() == 2 ? kHelpEn : kHelpRu, stdout);
        return 0;
    }
    if (argument.isEmpty()) {
        std::fprintf(stderr, "%s\n", tarvex::Pick(QString::fromUtf8(kUsage)).toUtf8().constData());
        return 0;
    }
    printModule->Dispatch(argument);
    return 0;
}
