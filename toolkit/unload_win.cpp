#include "toolkit/fonts.h"
#include "toolkit/opacity.h"
#include "toolkit/unload.h"

void ReleaseToolkit() {
    ReleaseToolkitFonts();
    ReleaseOpacityModule();
}
