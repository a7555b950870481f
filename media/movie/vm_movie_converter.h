// Turning a still picture into a one-frame SWF movie, and fitting a picture for the preview.
#pragma once

class KZPicture;
class KZReporter;

// Largest preview picture: the preview window of the Display Properties dialog.
const int VM_PREVIEW_WIDTH = 152;
const int VM_PREVIEW_HEIGHT = 112;

// A file is a picture to convert unless its extension is ".swf" in any case.
bool VMIsPictureFile(const char* path);

// Loads the picture file and converts it. Shows "Unable to read image:\n" + path when the file
// cannot be loaded. Every failure has been reported when false comes back.
bool ConvertImageFileToMovie(const char* picture_path, const char* movie_path,
                             KZReporter* reporter);

// Takes ownership of picture and writes the movie file: the picture as a bitmap filling a
// rectangle of its own size, one frame, stopped. Every failure has been reported (error icon)
// when false comes back, and no partial file is left.
bool ConvertPictureToMovie(KZPicture* picture, const char* movie_path, KZReporter* reporter);

// The size a picture gets in the preview window: narrowed to 152, then lowered to 112, keeping
// the aspect (integer division, never below 1).
void FitPreviewSize(int* width, int* height);

// Takes ownership of picture: a palette picture is expanded to its entries' format, and a
// picture larger than the preview window is area-scaled into it. Null when a step fails.
KZPicture* PreparePreviewPicture(KZPicture* picture);
