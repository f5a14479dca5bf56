#pragma once

// The settings of one reading.

#include <QStringList>

namespace ZantrelText {

struct ReadOptions {
    // BCP 47 identifiers in priority order; empty leaves the recognizer's default.
    QStringList languages;
    bool detectLanguage = true;
    bool correction = true;
    // Look for a table when the layout has tab-like rows.
    bool tables = true;

    friend bool operator==(const ReadOptions&, const ReadOptions&) = default;
};

}  // namespace ZantrelText
