#pragma once

#include "FoPdfObjects.h"

#include <QByteArray>
#include <QImage>

namespace fiscora {

// JPEG bytes of an image (composited over white, 24-bit RGB) at a quality 1..100, through libjpeg.
QByteArray EncodeJpeg(const QImage &Image, int Quality);

// An image object: a JPEG stream named "G" + number.
class TFoPDFXObject : public TFoPDFObject {
public:
    using TFoPDFObject::TFoPDFObject;
    void WriteObject(TFoPDFFile &File) override;
    QByteArray FObjectName;
    QByteArray FImage; // JPEG bytes
    int FWidth = 0;
    int FHeight = 0;
};

} // namespace fiscora
