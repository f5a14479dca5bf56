#pragma once

// File names as the command line receives them: bytes that need not be UTF-8. A byte
// that is not part of valid UTF-8 is kept as the lone surrogate U+DC00 + byte, so that
// the name finds its file again; and a name is shown with its control characters and
// such bytes escaped, so that it cannot move the cursor or change the terminal.

#include <QByteArray>
#include <QString>

namespace Glyphnab::ArgumentNames {

QString fromNative(const QByteArray& bytes);
QByteArray toNative(const QString& name);
// True when the name holds bytes that are not UTF-8: Qt's file classes cannot open it.
bool hasForeignBytes(const QString& name);
// "\n", "\t", "\e" and "\xHH" in place of what a terminal would act on.
QString shown(const QString& name);

}  // namespace Glyphnab::ArgumentNames
