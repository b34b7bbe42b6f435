#pragma once
// Conversions between Unicode and the two Windows-era code pages the host speaks:
// Windows-1251 (every text in the blocks) and CP866 (the OEM listings).

#include <QByteArray>
#include <QString>
#include <cstddef>

namespace tarvex {

enum class CodePage { Cp1251, Cp866 };

/// Decodes `size` bytes; stops at the first zero byte (host texts are zero-terminated).
/// Bytes the code page cannot map become U+FFFD; never reads past `size`.
QString decodeText(const char* data, std::size_t size, CodePage page = CodePage::Cp1251);
inline QString fromCp1251(const QByteArray& bytes) {
    return decodeText(bytes.constData(), static_cast<std::size_t>(bytes.size()), CodePage::Cp1251);
}

/// Encodes text; characters the code page lacks become "?".
QByteArray encodeText(const QString& text, CodePage page = CodePage::Cp1251);
inline QByteArray toCp1251(const QString& text) { return encodeText(text, CodePage::Cp1251); }
inline QByteArray toCp866(const QString& text) { return encodeText(text, CodePage::Cp866); }

} // namespace tarvex
