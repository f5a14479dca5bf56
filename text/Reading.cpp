#include "text/Reading.h"

namespace ZantrelText {

QString Reading::text(LineMode mode) const {
    if (table)
        return table->tabSeparated();
    return layout.text(mode);
}

bool Reading::isEmpty() const { return layout.isEmpty() && codes.isEmpty() && (!table || table->isBlank()); }

}  // namespace ZantrelText
