// PDF images: every picture is a JPEG stream encoded through libjpeg.
#include "output/pdf/FoPdfImages.h"

#include "output/pdf/FoPdfFormat.h"

namespace fiscora {

using pdf::FmtLn;
using pdf::Ln;

void TFoPDFXObject::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /XObject");
    Ln(out, "/Subtype /Image");
    FmtLn(out, "/Name /%s", FObjectName);
    FmtLn(out, "/Width %d /Height %d ", FWidth, FHeight);
    Ln(out, "/BitsPerComponent 8");
    FmtLn(out, "/ColorSpace /DeviceRGB /Length %d /Filter %s", int(FImage.size()), "[/DCTDecode ]");
    Ln(out, ">>");
    Ln(out, "stream");
    out.append(FImage);
    Ln(out);
    Ln(out, "endstream");
    Ln(out, "endobj");
    Ln(out);
}

} // namespace fiscora
