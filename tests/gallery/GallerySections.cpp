#include "GallerySections.h"

const TGallerySection GallerySections[] = {
    {"lamps", GalleryLamps},
    {"indicators", GalleryIndicators},
    {"switches", GallerySwitches},
    {"number edit", GalleryNumberEdit},
    {"number dialogs", GalleryNumberDialogs},
};
const int GallerySectionCount = int(sizeof GallerySections / sizeof GallerySections[0]);
