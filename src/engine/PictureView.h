#pragma once
// A picture object: an image read from the template or assigned from code.

#include "View.h"

#include <QImage>

namespace tarvex::engine {

class PictureView : public View {
public:
    explicit PictureView(const QString& typeName = QStringLiteral("TfrxPictureView"));

    QImage picture;             ///< the image drawn; a null image draws nothing
    bool center = false;        ///< centre the image in the object when it is not stretched
    bool stretched = true;      ///< scale the image to the object
    bool keepAspectRatio = true;
    bool transparent = false;

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;

private:
    QString loadedPropData_; // written back unchanged while the picture is the one that was read
    qint64 loadedKey_ = 0;
};

} // namespace tarvex::engine
