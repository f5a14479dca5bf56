#include "Glyphnab/model/ReadProgress.h"

namespace Glyphnab {

void ReadProgress::advance() {
    ++done_;
    Q_EMIT doneChanged();
}

}  // namespace Glyphnab
