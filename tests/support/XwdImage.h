#pragma once

// Reads what `xwd -root` writes: the real framebuffer, as the screen shows it (a window's
// own pixels, as `import` or a window grab gives them, would hide what compositing does).

#include <QByteArray>
#include <QImage>

namespace TestSupport {

// A 24- or 32-bit ZPixmap dump as an RGB32 image; a null image for anything else.
QImage readXwd(const QByteArray& dump);

}  // namespace TestSupport
