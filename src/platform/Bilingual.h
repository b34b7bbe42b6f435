#pragma once
// The language of the run and the pick of one half of a bilingual literal.

#include <QString>

namespace tarvex {

/// 1 = Russian, 2 = English. Starts at 0 (counts as Russian) until start-up sets it.
int languageIndex();
void setLanguageIndex(int index);

/**
 * A bilingual literal is the Russian text, a line break, the English text. Returns the first
 * line in Russian, the second in English; a text with fewer lines than that is returned whole,
 * so a one-line (Russian-only) text reads the same in both languages. A third line is never
 * chosen. A language other than 1 or 2 is first reset to 1.
 */
QString Pick(const QString& text);

} // namespace tarvex
