// The print settings shared by printing the preview and printing the basket.
#include "browser/PrintSettings.h"

#include "core/setup/modSetup.h"
#include "platform/imagebox/ImageBox.h"

namespace picbasket {

void putPrintSettings(ImageBox& box, const typPrint& p) {
    box.setPrintProperty8D(p.P8D);
    box.setPrintProperty8C(p.P8C);
    box.setPrintProperty8A(p.P8A);
    box.setPrintProperty87(p.P87);
    box.setPrintProperty85(p.P85);
    box.setPrintProperty86(p.P86);
    box.setPrintProperty84(p.P84);
    box.setPrintProperty11B(p.P11B);
    box.setPrintProperty8B(p.P8B);
    box.setPrintProperty88(p.P88);
}

void takePrintSettings(const ImageBox& box, typPrint& p) {
    p.P8D = box.PrintProperty8D();
    p.P8C = box.PrintProperty8C();
    p.P8A = box.PrintProperty8A();
    p.P87 = box.PrintProperty87();
    p.P85 = box.PrintProperty85();
    p.P86 = box.PrintProperty86();
    p.P84 = box.PrintProperty84();
    p.P11B = box.PrintProperty11B();
    p.P8B = box.PrintProperty8B();
    p.P88 = box.PrintProperty88();
}

} // namespace picbasket
