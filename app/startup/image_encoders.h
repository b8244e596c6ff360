#ifndef TALVERO_APP_IMAGE_ENCODERS_H
#define TALVERO_APP_IMAGE_ENCODERS_H

// Hands the image savers of the view the encoders of the image codecs: PNG
// now; JPEG has no encoder yet, so saving as JPEG reports the format as
// unsupported.
void InstallImageEncoders();

#endif
