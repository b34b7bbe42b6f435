#pragma once
// Chooses the language of the run from the host's setting and serves the template dictionary.

#include <QHash>
#include <QString>

/**
 * Created first at start-up. Reads `Lang` of the host (organisation Orlend, application
 * TarvexWin; the user's file first, then the system's): 2 is English, anything else Russian.
 * Loads the engine's own UI strings of that language.
 */
class TLangModule {
public:
    TLangModule();

    /// 1 = Russian, 2 = English.
    int languageIndex() const { return language_; }

    /// One line per dictionary entry: column 0 the Russian text (the whole line when it has no
    /// tab), column 1 the English text (empty without a tab). Lines end with CR LF.
    static QString translationList(int column);

    /// The engine's UI strings of the active language, id -> text.
    const QHash<QString, QString>& engineStrings() const { return engineStrings_; }

    /// Parses "id=text" lines; lines without a non-empty id and text (section lines) are skipped.
    static QHash<QString, QString> parseStringTable(const QString& text);

private:
    int language_ = 1;
    QHash<QString, QString> engineStrings_;
};
