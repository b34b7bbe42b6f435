#include "TemplateSettings.h"

#include "Prompt.h"
#include "SettingsStore.h"

namespace {
QString checkKey(int n) { return QStringLiteral("TemplateCheck%1").arg(n); }
QString fileKey(int n) { return QStringLiteral("TemplateFile%1").arg(n); }
const QString kOrganisation = QStringLiteral("Orlend");
const QString kApplication = QStringLiteral("TarvexPrint");
const QString kGroup = QStringLiteral("Template");
} // namespace

void ReadTemplateSettings(TTemplateSettings& settings) {
    tarvex::SettingsStore store(kOrganisation, kApplication, kGroup);
    for (int n = 1; n <= TTemplateSettings::kKinds; ++n) {
        const auto n_ = static_cast<std::size_t>(n);
        if (const auto check = store.readBool(checkKey(n)))
            settings.check[n_] = *check;
        else
            store.writeBool(checkKey(n), settings.check[n_]);
        if (const auto file = store.readString(fileKey(n)))
            settings.file[n_] = *file;
        else
            store.writeString(fileKey(n), settings.file[n_]);
    }
}

bool SaveTemplateSettings(const TTemplateSettings& settings) {
    tarvex::SettingsStore store(kOrganisation, kApplication, kGroup);
    for (int n = 1; n <= TTemplateSettings::kKinds; ++n) {
        const auto n_ = static_cast<std::size_t>(n);
        QString error;
        if (!store.writeBool(checkKey(n), settings.check[n_], &error) ||
            !store.writeString(fileKey(n), settings.file[n_], &error)) {
            tarvex::prompt().error(
                QStringLiteral("Ошибка при работе с системным реестром\r\nthe Error at job with the system register"));
            return false;
        }
    }
    return true;
}
