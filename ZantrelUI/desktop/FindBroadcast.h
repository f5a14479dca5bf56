#pragma once

#include <QObject>
#include <QString>

namespace ZantrelUI {

// The in-process "zantrel.find" notice: the menu's Find command posts it with the window
// it is meant for; each find field in that very window takes the keyboard.
class FindBroadcast final : public QObject {
    Q_OBJECT
public:
    static const QString& name();
    static FindBroadcast& shared();

    // `window` may be none (no field reacts then).
    void post(QObject* window);

Q_SIGNALS:
    void posted(QObject* window);
};

}  // namespace ZantrelUI
