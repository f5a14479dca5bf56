#include "Glyphnab/shell/ServiceProvider.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "platform/async/MainThread.h"

namespace Glyphnab {

bool ServiceProvider::copyText(const Platform::Pasteboard& board) const {
    Platform::assertMain();
    if (!model)
        return false;
    model->read(board);
    return true;
}

}  // namespace Glyphnab
