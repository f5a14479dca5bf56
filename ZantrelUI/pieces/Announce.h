#pragma once

// The one way a view asks assistive technology to speak a short sentence.

#include <QString>

#include <functional>

class QObject;
class QWidget;

namespace ZantrelUI::Announce {

// Called with each text before it is posted; none by default. For tests and tools.
std::function<void(const QString&)>& observer();

// The object an announcement is posted for: the active window when there is one, else
// the first visible top-level window, else the application object.
QObject* poster();

// The window's notification that holds its last announcement, or none.
QWidget* region(QWidget* window);

// Has a screen reader say `text` at once: a notification of the posting window, named by
// the text and holding it as its label, comes on screen in place of the last one; without
// a window an alert goes to the application. A piece that shows the sentence passes itself,
// so the notification comes on screen with it in its window; otherwise `poster()` decides.
// Main thread only.
void post(const QString& text, QWidget* from = nullptr);

}  // namespace ZantrelUI::Announce
