#pragma once

// The family's tabbed settings layout: a header with the app's icon, the window's name and
// one chip per tab, the selected tab's page in a height-capped scrolling area, and the
// backdrop behind it all. Everything inside draws its glass look (`settingsGlass`).

#include "ZantrelKit/DefaultsStore.h"
#include "ZantrelUI/context/Environment.h"

#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

class QLabel;

namespace ZantrelUI {

class AppIconView;
class Backdrop;
class ChipPicker;
class TabScroll;

// One tab of a settings shell.
struct SettingsShellTab {
    QVariant id;                       // compared with the selection
    QString title;                     // the chip's label
    std::function<QWidget*()> page;    // a fresh page each time the tab is shown
};

class SettingsShell final : public GlassWidget {
    Q_OBJECT
public:
    static constexpr int headerLeading = 18;
    static constexpr int sideInset = 18;

    // `selection` should name one of the tabs; otherwise the first is shown.
    SettingsShell(QString name, std::vector<SettingsShellTab> tabs, QVariant selection, qreal width,
                  QWidget* parent = nullptr, std::function<QList<qreal>()> screenHeights = {});

    // The tabs of a typed tab list, labelled and built by the given functions.
    template <class Tab>
    static std::vector<SettingsShellTab> tabsOf(const std::vector<Tab>& tabs, const std::function<QString(Tab)>& label,
                                                const std::function<QWidget*(Tab)>& content) {
        std::vector<SettingsShellTab> list;
        for (const Tab& tab : tabs)
            list.push_back({QVariant::fromValue(tab), label(tab), [content, tab] { return content(tab); }});
        return list;
    }

    const QString& name() const { return name_; }
    const QVariant& selection() const { return selection_; }
    // Shows another tab with a fresh page; a tab that is not in the list is ignored.
    void setSelection(const QVariant& tab);
    // The next tab (`by` 1) or the previous one (-1), wrapping around at the ends.
    void stepSelection(int by);

    QWidget* page() const;
    TabScroll* scroll() const { return scroll_; }
    ChipPicker* chips() const { return chips_; }
    QLabel* nameLabel() const { return nameLabel_; }
    AppIconView* icon() const { return icon_; }

Q_SIGNALS:
    void selectionChanged(const QVariant& tab);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::optional<std::size_t> indexOf(const QVariant& tab) const;
    void showPage();

    QString name_;
    std::vector<SettingsShellTab> tabs_;
    QVariant selection_;
    Backdrop* backdrop_;
    AppIconView* icon_;
    QLabel* nameLabel_;
    ChipPicker* chips_;
    TabScroll* scroll_;
};

// The family's shared tabs of a settings window.
enum class SettingsTab { general, about };

namespace SettingsTabs {

// The defaults key under which a window that remembers its tab keeps the tab's raw value.
QString defaultsKey();
QString rawValue(SettingsTab tab);
// "general" or "about" exactly; anything else names no tab.
std::optional<SettingsTab> fromRawValue(const QString& raw);
// The remembered tab; none stored, or one that names no tab, gives `general`.
SettingsTab remembered(const ZantrelKit::DefaultsStore& defaults);
void remember(ZantrelKit::DefaultsStore& defaults, SettingsTab tab);

// A shell of the two shared tabs that opens on the remembered tab and remembers each
// choice. `defaults` must outlive the shell (the app context's store does).
SettingsShell* rememberingShell(const QString& name, std::function<QWidget*()> general,
                                std::function<QWidget*()> about, ZantrelKit::DefaultsStore& defaults, qreal width,
                                QWidget* parent = nullptr);

}  // namespace SettingsTabs

}  // namespace ZantrelUI

Q_DECLARE_METATYPE(ZantrelUI::SettingsTab)
