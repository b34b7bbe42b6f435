#include "SettingsStore.h"

#include <QMetaType>

namespace tarvex {

SettingsStore::SettingsStore(const QString& organisation, const QString& application, const QString& group)
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                            application)) {
    if (!group.isEmpty())
        settings_->beginGroup(group);
}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::contains(const QString& key) const { return settings_->contains(key); }

std::optional<int> SettingsStore::readInt(const QString& key) const {
    if (!settings_->contains(key))
        return std::nullopt;
    const QVariant value = settings_->value(key);
    if (value.typeId() == QMetaType::QStringList)
        return std::nullopt;
    bool ok = false;
    const int result = value.toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return result;
}

std::optional<bool> SettingsStore::readBool(const QString& key) const {
    const auto value = readInt(key);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

std::optional<QString> SettingsStore::readString(const QString& key) const {
    if (!settings_->contains(key))
        return std::nullopt;
    const QVariant value = settings_->value(key);
    // An INI value with an unquoted comma reads back as a list; that is not a string we wrote.
    if (value.typeId() == QMetaType::QStringList)
        return std::nullopt;
    return value.toString();
}

bool SettingsStore::writeInt(const QString& key, int value, QString* error) {
    settings_->setValue(key, value);
    return commit(error);
}

bool SettingsStore::writeBool(const QString& key, bool value, QString* error) {
    return writeInt(key, value ? 1 : 0, error);
}

bool SettingsStore::writeString(const QString& key, const QString& value, QString* error) {
    settings_->setValue(key, value);
    return commit(error);
}

QString SettingsStore::fileName() const { return settings_->fileName(); }

bool SettingsStore::commit(QString* error) {
    settings_->sync();
    switch (settings_->status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        if (error)
            *error = QStringLiteral("cannot write %1").arg(settings_->fileName());
        return false;
    case QSettings::FormatError:
        if (error)
            *error = QStringLiteral("%1 is damaged").arg(settings_->fileName());
        return false;
    }
    return false;
}

} // namespace tarvex
