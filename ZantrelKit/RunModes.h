#pragma once

// The two run-mode flags. Both are constants of the program (false in the shipping app,
// TestHost true in test programs); code that would reach the live system reads them and
// refuses or skips that work.

#include <QMap>
#include <QString>
#include <QStringList>

namespace ZantrelKit {

using Environment = QMap<QString, QString>;

namespace TestHost {
bool isActive() noexcept;
bool detect(const Environment& environment, bool known, bool enabled);
}  // namespace TestHost

namespace ScriptedRun {
bool isActive() noexcept;
bool detect(const Environment& environment, const QStringList& arguments, bool forced);
}  // namespace ScriptedRun

// The process's environment and command-line arguments, readable before any Qt
// application object exists.
Environment processEnvironment();
QStringList processArguments();

}  // namespace ZantrelKit
