#pragma once

// Synthetic recognized pieces for the layout tests: boxes in pixels, 10 px tall unless
// given, so one layout unit is 10 px.

#include "text/TextPiece.h"

#include <QString>

#include <string>

namespace LayoutTestPieces {

inline ZantrelText::TextPiece piece(const QString& text, double x, double y, double width,
                                    double height = 10)
{
    return {text, QRectF(x, y, width, height)};
}

inline QString u16(const char16_t* text) { return QString::fromUtf16(text); }

inline std::string utf8(const QString& text) { return text.toStdString(); }

// Five words, enough for a line of running text.
inline QString sentence(int n) { return QStringLiteral("words of running line %1").arg(n); }

}  // namespace LayoutTestPieces
