#pragma once

#include "output/pdf/FoPdfObjects.h"

#include <QByteArray>

namespace fiscora {

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
