#pragma once

// The app's main menu: the app menu (Settings…, Quit), Edit and Window. A tray app on a
// Linux desktop has no menu bar to put it in, so the menus are never shown: their actions
// are attached to every ordinary window of the app as it appears, which makes the command
// keys (Ctrl-based) work in Settings, Onboarding and the grant panel.

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace Glyphnab {

class MainMenu final : public QObject {
    Q_OBJECT
public:
    MainMenu(const QString& productName, std::function<void()> openSettings, QObject* parent = nullptr);
    ~MainMenu() override;

    // The app menu (titled with the product name), "Edit" and "Window", in that order.
    const QList<QMenu*>& menus() const { return menus_; }
    // Every item with a key, in menu order.
    QList<QAction*> actions() const;

    // Attaches the actions to each ordinary window of the application when it is shown.
    void install();
    // The same for one window now.
    void attach(QWidget* window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QMenu*> menus_;
};

}  // namespace Glyphnab
