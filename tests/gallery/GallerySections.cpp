#include "GallerySections.h"

const TGallerySection GallerySections[] = {
    {"lamps", GalleryLamps},
    {"indicators", GalleryIndicators},
    {"switches", GallerySwitches},
    {"number edit", GalleryNumberEdit},
    {"number dialogs", GalleryNumberDialogs},
    {"frame dialogs", GalleryFrameDialogs},
    {"tallis window", GalleryTallis},
};
const int GallerySectionCount = int(sizeof GallerySections / sizeof GallerySections[0]);
