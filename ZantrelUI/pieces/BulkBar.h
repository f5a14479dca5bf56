#pragma once

// The bar above a list whose rows can be ticked or highlighted: how many are chosen, Tick
// All Shown and Untick All, the owner's actions for the chosen rows and an optional trailing
// view. It holds no selection: the owner rebuilds it with new counts.

#include "ZantrelUI/context/Environment.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QLabel;

namespace ZantrelUI {

class PillButton;

class BulkBar final : public GlassWidget {
    Q_OBJECT
public:
    struct Action {
        QString title;
        std::function<void()> run;
    };
    static constexpr int maxActions = 3;

    // A ticks bar: "2 of 7 ticked" (with the size text after it), the two buttons given,
    // and the owner's trailing view (none for an empty one).
    BulkBar(std::int64_t ticked, std::int64_t total, std::optional<QString> size, std::function<void()> tickAllShown,
            std::function<void()> untickAll, QWidget* trailing = nullptr, QWidget* parent = nullptr);
    // A selection bar: "3 selected" and the first three of the actions.
    BulkBar(std::int64_t selected, QList<Action> actions, QWidget* parent = nullptr);

    const QString& line() const { return line_; }
    QLabel* lineLabel() const { return label_; }
    // The count's leading inset: 4 beside Tick All Shown, else 0.
    int lineInset() const;
    PillButton* tickAllShownButton() const { return tickAll_; }
    PillButton* untickAllButton() const { return untick_; }
    const QList<PillButton*>& actionButtons() const { return actions_; }

private:
    void build(std::function<void()> tickAllShown, std::function<void()> untickAll, bool canUntick,
               QList<Action> actions, QWidget* trailing);

    QString line_;
    QLabel* label_ = nullptr;
    PillButton* tickAll_ = nullptr;
    PillButton* untick_ = nullptr;
    QList<PillButton*> actions_;
};

}  // namespace ZantrelUI
