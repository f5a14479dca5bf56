#include "ZantrelUI/pieces/BulkBar.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/PillButton.h"
#include "platform/async/MainThread.h"

#include <QHBoxLayout>
#include <QLabel>

namespace ZantrelUI {

namespace {

PillButton* pill(const QString& title, std::function<void()> run, QWidget* parent) {
    auto* button = new PillButton(title, false, false, parent);
    QObject::connect(button, &QAbstractButton::clicked, parent, [run = std::move(run)] {
        Platform::assertMain();
        if (run)
            run();
    });
    return button;
}

}  // namespace

BulkBar::BulkBar(std::int64_t ticked, std::int64_t total, std::optional<QString> size,
                 std::function<void()> tickAllShown, std::function<void()> untickAll, QWidget* trailing,
                 QWidget* parent)
    : GlassWidget(parent), line_(ZantrelKit::Copy::Ticks::count(ticked, total, size)) {
    build(std::move(tickAllShown), std::move(untickAll), ticked > 0, {}, trailing);
}

BulkBar::BulkBar(std::int64_t selected, QList<Action> actions, QWidget* parent)
    : GlassWidget(parent), line_(ZantrelKit::Copy::Ticks::selected(selected)) {
    // The bar has room for three actions; the owner's further ones are dropped.
    build({}, {}, false, actions.mid(0, maxActions), nullptr);
}

int BulkBar::lineInset() const { return label_->contentsMargins().left(); }

void BulkBar::build(std::function<void()> tickAllShown, std::function<void()> untickAll, bool canUntick,
                    QList<Action> actions, QWidget* trailing) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    setMinimumHeight(28);
    if (tickAllShown) {
        tickAll_ = pill(ZantrelKit::Copy::Ticks::allShown(), std::move(tickAllShown), this);
        row->addWidget(tickAll_);
    }
    if (untickAll) {
        untick_ = pill(ZantrelKit::Copy::Ticks::none(), std::move(untickAll), this);
        untick_->setEnabled(canUntick);
        row->addWidget(untick_);
    }
    // Counts change under the pointer: digits of one width keep the buttons beside still.
    label_ = new InkLabel(line_, Fonts::monospacedDigits(Fonts::roundedCaption()), Ink::secondary(), this);
    label_->setContentsMargins(tickAll_ ? 4 : 0, 0, 0, 0);
    row->addWidget(label_);
    row->addSpacing(8);
    row->addStretch(1);
    if (trailing != nullptr)
        row->addWidget(trailing);
    for (Action& action : actions) {
        actions_ << pill(action.title, std::move(action.run), this);
        row->addWidget(actions_.back());
    }
}

}  // namespace ZantrelUI
