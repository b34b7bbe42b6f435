#pragma once
// The engine's own user-interface texts (preview window, export and print messages) in the
// language of the run.

#include <QHash>
#include <QString>

namespace tarvex::engine {

/**
 * Replaces the table of the engine's texts, id -> text. The program hands over the table of its
 * active language once at start-up; the engine never picks a language itself.
 */
void setUiStrings(QHash<QString, QString> strings);

/// The text of `id` from the table; `fallback` (English, UTF-8) when the table does not hold it.
QString uiText(const char* id, const char* fallback);

} // namespace tarvex::engine
