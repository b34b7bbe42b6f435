#include "PropData.h"

#include <QBuffer>

namespace tarvex::engine {

namespace {

// Value kinds of the property stream that we can step over.
enum : quint8 { vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaString = 6, vaFalse = 8,
                vaTrue = 9, vaBinary = 10, vaLString = 12, vaUTF8String = 20 };

class Reader {
public:
    explicit Reader(const QByteArray& d) : d_(d) {}
    bool atEnd() const { return pos_ >= d_.size(); }
    bool u8(quint8& v)
    {
        if (pos_ + 1 > d_.size())
            return false;
        v = static_cast<quint8>(d_[pos_++]);
        return true;
    }
    bool u32(quint32& v)
    {
        if (pos_ + 4 > d_.size())
            return false;
        v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<quint8>(d_[pos_ + i]);
        pos_ += 4;
        return true;
    }
    bool bytes(qsizetype n, QByteArray& out)
    {
        if (n < 0 || n > d_.size() - pos_)
            return false;
        out = d_.mid(pos_, n);
        pos_ += n;
        return true;
    }

private:
    const QByteArray& d_;
    qsizetype pos_ = 0;
};

} // namespace

bool PropData::decodeHex(const QString& hex)
{
    entries_.clear();
    const QByteArray raw = QByteArray::fromHex(hex.toLatin1());
    Reader r(raw);
    while (!r.atEnd()) {
        quint8 len = 0;
        if (!r.u8(len))
            return false;
        if (len == 0)
            return true; // end of the property list
        QByteArray name;
        quint8 type = 0;
        if (!r.bytes(len, name) || !r.u8(type))
            return false;
        QByteArray value;
        quint32 n = 0;
        quint8 b = 0;
        switch (type) {
        case vaBinary:
        case vaLString:
        case vaUTF8String:
            if (!r.u32(n) || !r.bytes(n, value))
                return false;
            break;
        case vaString:
            if (!r.u8(b) || !r.bytes(b, value))
                return false;
            break;
        case vaInt8:
            if (!r.bytes(1, value))
                return false;
            break;
        case vaInt16:
            if (!r.bytes(2, value))
                return false;
            break;
        case vaInt32:
            if (!r.bytes(4, value))
                return false;
            break;
        case vaFalse:
        case vaTrue:
        case vaNull:
            break;
        default:
            return false; // a kind we cannot step over: stop here
        }
        entries_.append({QString::fromLatin1(name), value});
    }
    return true;
}

QString PropData::encodeHex() const
{
    QByteArray out;
    for (const auto& e : entries_) {
        const QByteArray name = e.first.toLatin1().left(255);
        out.append(char(name.size()));
        out.append(name);
        out.append(char(vaBinary));
        const quint32 n = static_cast<quint32>(e.second.size());
        for (int i = 0; i < 4; ++i)
            out.append(char((n >> (8 * i)) & 0xFF));
        out.append(e.second);
    }
    out.append(char(0));
    return QString::fromLatin1(out.toHex().toUpper());
}

QByteArray PropData::value(const QString& name) const
{
    for (const auto& e : entries_)
        if (e.first == name)
            return e.second;
    return QByteArray();
}

void PropData::setValue(const QString& name, const QByteArray& data)
{
    for (auto& e : entries_) {
        if (e.first == name) {
            e.second = data;
            return;
        }
    }
    entries_.append({name, data});
}

QImage PropData::imageFromBlob(const QByteArray& blob)
{
    if (blob.isEmpty())
        return QImage();
    const int nameLen = static_cast<quint8>(blob[0]);
    if (nameLen + 1 > blob.size())
        return QImage();
    const QByteArray rest = blob.mid(nameLen + 1);
    // The image follows the class name, for some classes after a 4-byte size: find its signature.
    static const QByteArray signatures[] = {QByteArray("BM"), QByteArray("\x89PNG", 4), QByteArray("\xFF\xD8", 2),
                                            QByteArray("GIF8"), QByteArray("\xD7\xCD\xC6\x9A", 4)};
    for (qsizetype off : {qsizetype(0), qsizetype(4)}) {
        for (const QByteArray& sig : signatures) {
            if (rest.mid(off, sig.size()) == sig) {
                QImage img;
                if (img.loadFromData(reinterpret_cast<const uchar*>(rest.constData() + off), int(rest.size() - off)))
                    return img;
            }
        }
    }
    QImage img;
    img.loadFromData(rest);
    return img;
}

QByteArray PropData::blobFromImage(const QImage& image)
{
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, "PNG");
    QByteArray blob;
    const QByteArray cls("TPngImage");
    blob.append(char(cls.size()));
    blob.append(cls);
    blob.append(png);
    return blob;
}

} // namespace tarvex::engine
