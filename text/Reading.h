#pragma once

// The result of recognizing one picture: the text in reading order, a table when the
// document pass found one, and the codes.

#include "text/FoundCode.h"
#include "text/LineMode.h"
#include "text/TableText.h"
#include "text/TextLayout.h"

#include <QList>

#include <optional>

namespace ZantrelText {

struct Reading {
    TextLayout layout;
    std::optional<TableText> table;
    // De-duplicated, in detection order.
    QList<FoundCode> codes;

    // The table as tab-separated rows when there is one (in either mode), else the
    // layout's text.
    QString text(LineMode mode) const;
    // No text, no codes, and no table or a blank one.
    bool isEmpty() const;

    friend bool operator==(const Reading&, const Reading&) = default;
};

}  // namespace ZantrelText
