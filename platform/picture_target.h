// platform/picture_target.h — the demo's picture at its internal size (scale × 640 by
// scale × 480), and how it reaches a drawable of any size.
//
// When the drawable has exactly the picture's size and no multisampling is asked for, the
// demo draws straight into the window, as it always has. Otherwise it draws into an offscreen
// framebuffer of the picture's size, which the swap copies into the largest centred 4:3
// rectangle of the drawable, with black bars around it. A driver without framebuffer objects
// draws into the window's 4:3 rectangle through the viewport instead.
#pragma once

#include <string>

#include "platform/letterbox.h"

namespace platform {

// Chooses the internal picture for a drawable of the given size; needs the GL context current.
// `samples` 0 means no multisampling. Returns false, with the reason in `note`, when the driver
// cannot give what was asked; the picture is then the nearest it can give (scale 1 without
// framebuffer objects, no multisampling without multisampled ones).
bool ConfigurePicture(int scale, int samples, int drawableWidth, int drawableHeight, std::string& note);

int PictureScale();
int PictureWidth();
int PictureHeight();
int PictureSamples();
// True while frames are drawn into the offscreen framebuffer.
bool PictureOffscreen();
// The viewport that frames are drawn with: the whole picture, or the window's 4:3 rectangle.
PixelRect PictureViewport();

// Picks where the next frame is drawn for a drawable of this size, binds it, and sets the
// viewport when the target or the drawable changed.
void PrepareFrame(int drawableWidth, int drawableHeight);

// With the offscreen picture finished: copies it into the drawable's 4:3 rectangle and clears
// the bars to black, leaving the window's framebuffer bound. Does nothing when drawing straight
// into the window.
void PresentPicture(int drawableWidth, int drawableHeight);

// Binds the finished picture (resolved when multisampled) for glReadPixels and returns where it
// lies: the whole offscreen picture, or in the window's back buffer (`front`: the buffer shown
// last). EndPictureRead binds the drawing target again.
PixelRect BeginPictureRead(bool front = false);
void EndPictureRead();

// The depth value at picture pixel (x, y) of the frame being drawn, also from a multisampled
// picture.
float ReadPictureDepth(int x, int y);

// Frees the framebuffers (with the context still current) and goes back to scale 1.
void ReleasePicture();

}  // namespace platform
