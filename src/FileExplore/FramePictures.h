#pragma once
// The frame's two toolbar pictures, drawn at run time at the size the monitor's scale asks for.

#include <windows.h>
#include <commctrl.h>

#include "UniqueResource.h"

namespace korvex {

// An image list of two size x size pictures: 0 a folder with an arrow up (up one level),
// 1 a grid of four tiles (choice of view).
platform::UniqueImageList MakeFramePictures(int size);

}  // namespace korvex
