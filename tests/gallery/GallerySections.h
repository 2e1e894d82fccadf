// The gallery's sections, one per widget family. Adding a family: write its function in a file
// of its own, declare it here and add it to the list in GallerySections.cpp.
#pragma once

class TGallery;

struct TGallerySection {
  const char* Name;
  void (*Run)(TGallery& gallery);
};

void GalleryLamps(TGallery& gallery);
void GalleryIndicators(TGallery& gallery);
void GallerySwitches(TGallery& gallery);
void GalleryNumberEdit(TGallery& gallery);
void GalleryNumberDialogs(TGallery& gallery);
void GalleryFrameDialogs(TGallery& gallery);
void GalleryTallis(TGallery& gallery);

extern const TGallerySection GallerySections[];
extern const int GallerySectionCount;
