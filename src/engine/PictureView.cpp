#include "PictureView.h"

#include "PropData.h"

namespace tarvex::engine {

PictureView::PictureView(const QString& typeName) : View(typeName, ObjectKind::Picture) {}

void PictureView::readAttributes(AttributeBag& bag)
{
    View::readAttributes(bag);
    center = bag.takeBool(QStringLiteral("Center"), false);
    stretched = bag.takeBool(QStringLiteral("Stretched"), true);
    keepAspectRatio = bag.takeBool(QStringLiteral("KeepAspectRatio"), true);
    transparent = bag.takeBool(QStringLiteral("Transparent"), false);
    if (auto hex = bag.take(QStringLiteral("Picture.PropData"))) {
        loadedPropData_ = *hex;
        PropData pd;
        pd.decodeHex(*hex);
        picture = PropData::imageFromBlob(pd.value(QStringLiteral("Data")));
        loadedKey_ = picture.cacheKey();
    }
}

void PictureView::writeAttributes(AttributeBag& out) const
{
    View::writeAttributes(out);
    if (center)
        out.putBool(QStringLiteral("Center"), true);
    if (!stretched)
        out.putBool(QStringLiteral("Stretched"), false);
    if (!keepAspectRatio)
        out.putBool(QStringLiteral("KeepAspectRatio"), false);
    if (transparent)
        out.putBool(QStringLiteral("Transparent"), true);
    if (!loadedPropData_.isEmpty() && picture.cacheKey() == loadedKey_) {
        out.putString(QStringLiteral("Picture.PropData"), loadedPropData_);
    } else if (!picture.isNull()) {
        PropData pd;
        pd.setValue(QStringLiteral("Data"), PropData::blobFromImage(picture));
        out.putString(QStringLiteral("Picture.PropData"), pd.encodeHex());
    }
}

} // namespace tarvex::engine
