#pragma once
// The binary property streams templates keep in hex "PropData" attributes (pictures, rich text, charts).

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

namespace tarvex::engine {

/// Named binary properties of one PropData attribute.
class PropData {
public:
    using Entry = QPair<QString, QByteArray>;

    /// Decodes the hex text. Returns false (and keeps what was read so far) when the stream is damaged;
    /// reads never pass the end of the data.
    bool decodeHex(const QString& hex);
    QString encodeHex() const;

    const QList<Entry>& entries() const { return entries_; }
    QByteArray value(const QString& name) const;
    void setValue(const QString& name, const QByteArray& data);

    /// The image of a "Data" blob: a class name (TBitmap, TPngImage, TJPEGImage ...) then the image bytes.
    static QImage imageFromBlob(const QByteArray& blob);
    /// A "Data" blob holding `image` as PNG.
    static QByteArray blobFromImage(const QImage& image);

private:
    QList<Entry> entries_;
};

} // namespace tarvex::engine
