#pragma once

// The placeholder of a list or area with nothing in it yet: an accent tile on a soft glow,
// a heading, a line under it and, when the owner gives one, the button of the first step.

#include "ZantrelUI/context/Environment.h"

#include <QString>

#include <functional>
#include <optional>

class QLabel;

namespace ZantrelUI {

class PillButton;

class EmptyState final : public GlassWidget {
    Q_OBJECT
public:
    struct Action {
        QString title;
        std::function<void()> run;
    };

    static constexpr int lineWidth = 340;
    static constexpr int artHeight = 96;

    EmptyState(QString symbol, QString title, QString line, std::optional<Action> action, bool prominent,
               QWidget* parent = nullptr);

    const QString& symbol() const { return symbol_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* lineLabel() const { return line_; }
    // None without an action.
    PillButton* button() const { return button_; }

    void setLine(const QString& line);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    QWidget* art_;
    QLabel* title_;
    QLabel* line_;
    PillButton* button_ = nullptr;
};

}  // namespace ZantrelUI
