#pragma once
// Persistent settings on QSettings, in place of the old registry keys.

#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

namespace tarvex {

/**
 * A settings location (organisation/application, native format: ~/.config/ORG/APP.conf for
 * the user, $XDG_CONFIG_DIRS for the system fallback), opened on one group.
 *
 * Typed reads return nothing both for a missing key and for a stored value that does not
 * parse as the asked type, so a damaged file behaves like a fresh one instead of aborting.
 * Writes go through at once (sync after every write) and report failure.
 */
class SettingsStore {
public:
    SettingsStore(const QString& organisation, const QString& application, const QString& group = {});
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool contains(const QString& key) const;
    std::optional<int> readInt(const QString& key) const;
    /// Booleans are stored as the integers 0 and 1.
    std::optional<bool> readBool(const QString& key) const;
    std::optional<QString> readString(const QString& key) const;

    /// Each returns false and fills `error` when the value could not be stored.
    bool writeInt(const QString& key, int value, QString* error = nullptr);
    bool writeBool(const QString& key, bool value, QString* error = nullptr);
    bool writeString(const QString& key, const QString& value, QString* error = nullptr);

    /// The file the user-scope values live in.
    QString fileName() const;

private:
    bool commit(QString* error);

    std::unique_ptr<QSettings> settings_;
};

} // namespace tarvex
