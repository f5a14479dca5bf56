#pragma once

// The compact pop-up picker: a capsule chip with the current choice and an up-and-down
// chevron; a click opens a menu of the choices, grouped into titled sections when asked,
// with a check mark at the current one.

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/pieces/Bound.h"

#include <QAbstractButton>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ZantrelUI {

// The drawn chip and its menu; the choices come from the typed chip below.
class MenuChipButton : public QAbstractButton, public AccessibleSource {
    Q_OBJECT
public:
    explicit MenuChipButton(QString title, QWidget* parent = nullptr);

    // The text of the current choice.
    virtual QString shownText() const = 0;
    // A fresh menu of the choices.
    virtual std::unique_ptr<QMenu> makeMenu() = 0;
    // The menu on screen, while one is.
    QMenu* openMenu() const { return menu_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::ComboBox; }
    QString accessibleText(QAccessible::Text kind) const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void popUp();

private:
    QString title_;
    QPointer<QMenu> menu_;
};

template <class Value>
class MenuChip final : public MenuChipButton {
public:
    struct Section {
        std::optional<QString> title;
        std::vector<Value> values;
    };

    MenuChip(QString title, BoundPtr<Value> selection, std::vector<Section> sections,
             std::function<QString(const Value&)> label, std::function<bool(const Value&)> disabled,
             QWidget* parent = nullptr)
        : MenuChipButton(std::move(title), parent), selection_(std::move(selection)), sections_(std::move(sections)),
          label_(std::move(label)), disabled_(std::move(disabled)) {
        selection_->watch(this, [this] {
            updateGeometry();
            update();
        });
    }

    // One section without a title; every item enabled.
    MenuChip(QString title, BoundPtr<Value> selection, std::vector<Value> values,
             std::function<QString(const Value&)> label, QWidget* parent = nullptr)
        : MenuChip(std::move(title), std::move(selection), {Section{std::nullopt, std::move(values)}}, std::move(label),
                   [](const Value&) { return false; }, parent) {}

    QString shownText() const override { return label_(selection_->get()); }

    std::unique_ptr<QMenu> makeMenu() override {
        auto menu = std::make_unique<QMenu>();
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            const Section& section = sections_[i];
            if (i > 0)
                menu->addSeparator();
            if (section.title && !section.title->isEmpty()) {
                // A header every style draws: a bold item that cannot be picked.
                QAction* header = menu->addAction(*section.title);
                header->setEnabled(false);
                header->setProperty("menuChipHeader", true);
                QFont bold = header->font();
                bold.setBold(true);
                header->setFont(bold);
            }
            for (const Value& value : section.values) {
                QAction* item = menu->addAction(label_(value));
                // Only the current choice is checkable: styles draw an empty box beside every
                // other checkable item. A disabled current one keeps its check.
                if (value == selection_->get()) {
                    item->setCheckable(true);
                    item->setChecked(true);
                }
                item->setEnabled(!disabled_(value));
                QObject::connect(item, &QAction::triggered, this, [this, value] { selection_->set(value); });
            }
        }
        return menu;
    }

private:
    BoundPtr<Value> selection_;
    std::vector<Section> sections_;
    std::function<QString(const Value&)> label_;
    std::function<bool(const Value&)> disabled_;
};

}  // namespace ZantrelUI
