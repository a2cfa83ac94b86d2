#pragma once
// The program's icon: an open book on a blue rounded square, an "A" on its
// left page and "中" on its right, drawn from shapes at any size.

#include "Icons.h"

IconPixels DrawAppIcon(int size);
