#include "View.h"

namespace tarvex::engine {

bool View::readFont(AttributeBag& bag, const QString& prefix, Font& font)
{
    const QString p = prefix + QLatin1Char('.');
    bool any = false;
    if (auto v = bag.take(p + QStringLiteral("Name"))) {
        font.name = *v;
        any = true;
    }
    if (bag.contains(p + QStringLiteral("Height"))) {
        font.height = bag.takeInt(p + QStringLiteral("Height"), font.height);
        any = true;
    }
    if (bag.contains(p + QStringLiteral("Style"))) {
        const QString s = *bag.value(p + QStringLiteral("Style"));
        bool ok = false;
        const int st = s.toInt(&ok);
        if (ok) {
            font.style = st;
            bag.take(p + QStringLiteral("Style"));
        } else {
            // Newer files write the style as a set: "fsBold, fsItalic".
            int bits = 0;
            for (const QString& part : s.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QString t = part.trimmed();
                if (t == QLatin1String("fsBold")) bits |= Font::Bold;
                else if (t == QLatin1String("fsItalic")) bits |= Font::Italic;
                else if (t == QLatin1String("fsUnderline")) bits |= Font::Underline;
                else if (t == QLatin1String("fsStrikeOut")) bits |= Font::StrikeOut;
            }
            font.style = bits;
            bag.take(p + QStringLiteral("Style"));
        }
        any = true;
    }
    if (bag.contains(p + QStringLiteral("Color"))) {
        font.color = bag.takeColor(p + QStringLiteral("Color"), font.color);
        any = true;
    }
    if (bag.contains(p + QStringLiteral("Charset"))) {
        font.charset = bag.takeInt(p + QStringLiteral("Charset"), font.charset);
        any = true;
    }
    return any;
}

void View::writeFont(AttributeBag& out, const QString& prefix, const Font& font, const Font& defaults)
{
    const QString p = prefix + QLatin1Char('.');
    if (font == defaults)
        return;
    out.putInt(p + QStringLiteral("Charset"), font.charset);
    out.putInt(p + QStringLiteral("Color"), font.color);
    out.putInt(p + QStringLiteral("Height"), font.height);
    out.putString(p + QStringLiteral("Name"), font.name);
    out.putInt(p + QStringLiteral("Style"), font.style);
}

void View::readFrame(AttributeBag& bag, Frame& frame)
{
    if (auto t = bag.value(QStringLiteral("Frame.Typ"))) {
        bool ok = false;
        const int bits = t->toInt(&ok);
        if (ok) {
            frame.sides = bits & Frame::All;
        } else {
            int b = 0;
            for (const QString& part : t->split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QString s = part.trimmed();
                if (s == QLatin1String("ftLeft")) b |= Frame::Left;
                else if (s == QLatin1String("ftRight")) b |= Frame::Right;
                else if (s == QLatin1String("ftTop")) b |= Frame::Top;
                else if (s == QLatin1String("ftBottom")) b |= Frame::Bottom;
            }
            frame.sides = b;
        }
        bag.take(QStringLiteral("Frame.Typ"));
    }
    frame.width = bag.takeReal(QStringLiteral("Frame.Width"), frame.width);
    frame.color = bag.takeColor(QStringLiteral("Frame.Color"), frame.color);
    if (auto s = bag.take(QStringLiteral("Frame.Style")))
        frame.style = *s;
}

void View::writeFrame(AttributeBag& out, const Frame& frame)
{
    const Frame def;
    if (frame.color != def.color)
        out.putInt(QStringLiteral("Frame.Color"), frame.color);
    if (frame.style != def.style)
        out.putString(QStringLiteral("Frame.Style"), frame.style);
    if (frame.sides != def.sides)
        out.putInt(QStringLiteral("Frame.Typ"), frame.sides);
    if (frame.width != def.width)
        out.putReal(QStringLiteral("Frame.Width"), frame.width);
}

void View::readAttributes(AttributeBag& bag)
{
    Object::readAttributes(bag);
    readFrame(bag, frame);
    if (bag.contains(QStringLiteral("Fill.BackColor"))) {
        fillColor = bag.takeColor(QStringLiteral("Fill.BackColor"), fillColor);
        fillAsFillBackColor_ = true;
    } else {
        fillColor = bag.takeColor(QStringLiteral("Color"), fillColor);
    }
    if (auto s = bag.value(QStringLiteral("ShiftMode"))) {
        if (*s == QLatin1String("smDontShift"))
            shiftMode = ShiftMode::Never;
        else if (*s == QLatin1String("smWhenOverlapped"))
            shiftMode = ShiftMode::WhenOverlapped;
        else if (*s == QLatin1String("smAlways"))
            shiftMode = ShiftMode::Always;
        else
            return;
        bag.take(QStringLiteral("ShiftMode"));
    }
}

void View::writeAttributes(AttributeBag& out) const
{
    Object::writeAttributes(out);
    if (fillColor != kColorNone)
        out.putInt(fillAsFillBackColor_ ? QStringLiteral("Fill.BackColor") : QStringLiteral("Color"), fillColor);
    writeFrame(out, frame);
    if (shiftMode == ShiftMode::Never)
        out.putString(QStringLiteral("ShiftMode"), QStringLiteral("smDontShift"));
    else if (shiftMode == ShiftMode::WhenOverlapped)
        out.putString(QStringLiteral("ShiftMode"), QStringLiteral("smWhenOverlapped"));
}

} // namespace tarvex::engine
