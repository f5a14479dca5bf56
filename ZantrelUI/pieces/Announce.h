#pragma once

// The one way a view asks assistive technology to speak a short sentence.

#include <QString>

#include <functional>

class QObject;

namespace ZantrelUI::Announce {

// Called with each text before it is posted; none by default. For tests and tools.
std::function<void(const QString&)>& observer();

// The object an announcement is posted for: the active window when there is one, else
// the first visible top-level window, else the application object.
QObject* poster();

// Posts `text` as a high-priority announcement. Main thread only.
void post(const QString& text);

}  // namespace ZantrelUI::Announce
