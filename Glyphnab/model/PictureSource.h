#pragma once

// What the model needs of the screen: whether it may be read, the area pick, the capture
// of an area and ending a pick. The app passes the live value; tests pass closures.

#include <QColor>
#include <QCoroTask>
#include <QImage>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

namespace ZantrelUI {
class AreaSelector;
}

namespace Glyphnab {

struct PictureSource {
    // Screen Recording granted; never prompts.
    std::function<bool()> allowed;
    // A colour and a hint in; the dragged area in global screen points, or nothing.
    std::function<QCoro::Task<std::optional<QRectF>>(QColor, QString)> pick;
    // Throws when the area cannot be read.
    std::function<QCoro::Task<QImage>(QRectF)> capture;
    std::function<void()> cancelPick;

    // Over one area selector, which must outlive its picks; a pick after it is gone
    // yields nothing.
    static PictureSource live(ZantrelUI::AreaSelector& selector);
};

}  // namespace Glyphnab
