#include "Glyphnab/model/PictureSource.h"

#include "ZantrelKit/Permission.h"
#include "ZantrelUI/desktop/AreaSelector.h"
#include "ZantrelUI/desktop/PermissionProbe.h"
#include "capture/ScreenGrab.h"

#include <QPointer>

namespace Glyphnab {
namespace {

QCoro::Task<std::optional<QRectF>> noArea() { co_return std::nullopt; }

}  // namespace

PictureSource PictureSource::live(ZantrelUI::AreaSelector& selector) {
    QPointer<ZantrelUI::AreaSelector> held(&selector);
    return PictureSource{
        [] { return ZantrelUI::PermissionProbe::isGrantedOnMain(ZantrelKit::Permission::screenRecording()); },
        [held](QColor color, QString hint) {
            if (!held)
                return noArea();
            return held->pick(ZantrelUI::AreaSelector::Look{color, std::move(hint)});
        },
        [](QRectF area) { return ZantrelCapture::ScreenGrab::capture(area); },
        [held] {
            if (held)
                held->cancel();
        },
    };
}

}  // namespace Glyphnab
