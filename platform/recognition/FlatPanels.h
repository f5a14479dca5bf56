#pragma once

// Controls drawn in one flat colour with light text on them (a selected segment, a
// suggested-action button) inside a page whose ground is no one gray (a window's soft
// tint). Flattening the ground measures each pixel against the ground of the cells
// around it; a control a few cells big pulls those cells' ground half way to its own
// colour, and its text comes out as gray on a gray blur. Such a control is turned to
// dark text on a light ground first, while it is still one flat colour.

#include <QImage>

namespace Platform::Recognition {

// Turns them in place (gray, before the ground is flattened); the number turned.
int invertFlatPanels(QImage& gray);

}  // namespace Platform::Recognition
