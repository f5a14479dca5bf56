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

// The window's alert region that speaks its announcements, made on first use.
QWidget* region(QWidget* window);

// Has a screen reader say `text` at once: the posting window's alert region takes it as
// its name and shows again; without a window an alert goes to the application. Main
// thread only.
void post(const QString& text);

}  // namespace ZantrelUI::Announce
