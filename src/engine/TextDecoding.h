#pragma once
// Text decoding for template files: UTF-8 with a lenient fall-back to Windows-1251 for invalid runs.

#include <QByteArray>
#include <QString>

namespace tarvex::engine {

/// Decodes `bytes` as UTF-8; bytes that do not form valid UTF-8 are taken as Windows-1251 characters.
QString decodeLenientUtf8(const QByteArray& bytes);

/// One byte of a single-byte code page (1251 Cyrillic, 1252 Western; others as Latin-1).
QChar decodeSingleByte(char byte, int codePage);

} // namespace tarvex::engine
