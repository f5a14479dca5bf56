#pragma once

// The tray app's program: the application delegate on the event loop until the app quits.

#include <QList>
#include <QStringList>
#include <QUrl>

class QApplication;

namespace Glyphnab {

// The files a start of the program was handed ("glyphnab FILE…", the desktop's Open With):
// every argument after the program that is not an option or an option's value, as a file
// URL of its absolute path. "--state-dir" takes a value; other options stand alone.
QList<QUrl> launchFiles(const QStringList& arguments);

// The option of the desktop entry's "Read Text in a File" action: the app (started, or the
// running one) asks for pictures or PDFs to read, as its "Text from File…" does.
inline const QString chooseFilesOption = QStringLiteral("--read-file");
bool asksToChooseFiles(const QStringList& arguments);

// Call with the application object made; returns the event loop's exit code.
int runApp(QApplication& app);

}  // namespace Glyphnab
