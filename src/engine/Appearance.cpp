#include "Appearance.h"

namespace tarvex::engine {

namespace {

// The usual system colours of a light desktop theme, by index.
QColor systemColor(int index)
{
    switch (index) {
    case 0: return QColor(0xC8, 0xC8, 0xC8);  // scroll bar
    case 1: return QColor(0x00, 0x00, 0x00);  // background
    case 2: return QColor(0x99, 0xB4, 0xD1);  // active caption
    case 4: return QColor(0xF0, 0xF0, 0xF0);  // menu
    case 5: return QColor(0xFF, 0xFF, 0xFF);  // window
    case 6: return QColor(0x64, 0x64, 0x64);  // window frame
    case 7: return QColor(0x00, 0x00, 0x00);  // menu text
    case 8: return QColor(0x00, 0x00, 0x00);  // window text
    case 9: return QColor(0x00, 0x00, 0x00);  // caption text
    case 10: return QColor(0xB4, 0xB4, 0xB4); // active border
    case 11: return QColor(0xF4, 0xF7, 0xFC); // inactive border
    case 12: return QColor(0xAB, 0xAB, 0xAB); // application workspace
    case 13: return QColor(0x33, 0x99, 0xFF); // highlight
    case 14: return QColor(0xFF, 0xFF, 0xFF); // highlight text
    case 15: return QColor(0xF0, 0xF0, 0xF0); // button face
    case 16: return QColor(0xA0, 0xA0, 0xA0); // button shadow
    case 17: return QColor(0x6D, 0x6D, 0x6D); // grey text
    case 18: return QColor(0x00, 0x00, 0x00); // button text
    case 20: return QColor(0xFF, 0xFF, 0xFF); // button highlight
    case 24: return QColor(0xFF, 0xFF, 0xE1); // info background
    default: return QColor(0x80, 0x80, 0x80);
    }
}

} // namespace

QColor toQColor(FrColor c)
{
    if (c == kColorNone || c == 0x1FFFFFFF)
        return QColor();
    const quint32 u = static_cast<quint32>(c);
    const quint32 high = u >> 24;
    if (high == 0xFF || high == 0x80)
        return systemColor(static_cast<int>(u & 0xFF));
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF));
}

FrColor fromQColor(const QColor& c)
{
    if (!c.isValid() || c.alpha() == 0)
        return kColorNone;
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

} // namespace tarvex::engine
