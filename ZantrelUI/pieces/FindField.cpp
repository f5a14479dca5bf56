#include "ZantrelUI/pieces/FindField.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QVBoxLayout>

namespace ZantrelUI {

FindField::FindField(QString prompt, QString text, QWidget* list, QWidget* parent)
    : QWidget(parent),
      field_(new GlassField(std::move(prompt), std::move(text), QStringLiteral("magnifyingglass"),
                            GlassField::Kind::plain, [] {}, this)),
      list_(list),
      home_(std::make_shared<WindowHome>()),
      shortcut_(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this)) {
    // The field's clear button empties the search, not a shortcut.
    field_->setClearLabel(ZantrelKit::Copy::Find::clear());
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(field_);
    new WindowReader(home_, this);
    setFocusProxy(field_);
    setSizePolicy(field_->sizePolicy());

    shortcut_->setContext(Qt::WindowShortcut);
    connect(shortcut_, &QShortcut::activated, this, [this] {
        Platform::assertMain();
        focusField();
    });
    field_->editor()->installEventFilter(this);
    connect(field_->editor(), &QLineEdit::textChanged, this, &FindField::textChanged);
    connect(field_, &GlassField::focusChanged, this, &FindField::focusChanged);
    connect(&FindBroadcast::shared(), &FindBroadcast::posted, this, &FindField::findPosted);
}

void FindField::findPosted(QObject* window) {
    Platform::assertMain();
    if (window != nullptr && home_->window && home_->window.data() == window)
        focusField();
}

void FindField::leaveForList() {
    field_->editor()->clearFocus();
    if (list_)
        list_->setFocus(Qt::OtherFocusReason);
}

bool FindField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_->editor() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && key->key() == Qt::Key_Escape) {
            // Always ours: a window that closes on Escape must not see it while searching.
            event->accept();
            if (event->type() == QEvent::ShortcutOverride)
                return false;
            Platform::assertMain();
            if (!field_->text().isEmpty()) {
                field_->setText(QString());
                Q_EMIT field_->textEdited(QString());
            } else {
                leaveForList();
            }
            return true;
        }
        if (plain && key->key() == Qt::Key_Down && list_ && event->type() == QEvent::KeyPress) {
            Platform::assertMain();
            leaveForList();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

NothingMatches::NothingMatches(std::function<void()> clear, QWidget* parent)
    : GlassWidget(parent), clear_(std::move(clear)) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(6);
    stack->setAlignment(Qt::AlignCenter);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("zantrel.nothingSymbol"));
    icon->setFixedSize(28, 28);
    icon->setAccessibleName(QString());
    auto* title = new QLabel(ZantrelKit::Copy::Find::nothing(), this);
    title->setObjectName(QStringLiteral("zantrel.nothingTitle"));
    title->setFont(Fonts::headline());
    auto* line = new QLabel(ZantrelKit::Copy::Find::nothingLine(), this);
    line->setObjectName(QStringLiteral("zantrel.nothingLine"));
    line->setFont(Fonts::footnote());
    line->setWordWrap(true);
    for (QLabel* label : {title, line}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
    }
    auto* button = new PillButton(ZantrelKit::Copy::Find::clear(), true, false, this);
    button_ = button;
    connect(button, &QAbstractButton::clicked, this, [this] {
        Platform::assertMain();
        if (clear_)
            clear_();
    });
    stack->addWidget(icon, 0, Qt::AlignHCenter);
    stack->addWidget(title);
    stack->addWidget(line);
    stack->addSpacing(6);
    stack->addWidget(button, 0, Qt::AlignHCenter);
    recolor();
}

void NothingMatches::environmentChanged() {
    recolor();
    update();
}

void NothingMatches::recolor() {
    const ColorScheme s = scheme();
    if (auto* icon = findChild<QLabel*>(QStringLiteral("zantrel.nothingSymbol")))
        icon->setPixmap(QPixmap::fromImage(
            Symbols::image(QStringLiteral("magnifyingglass"), 28, Ink::tertiary().resolve(s), devicePixelRatioF())));
    for (auto [name, token] : {std::pair{QStringLiteral("zantrel.nothingTitle"), &Ink::primary()},
                               std::pair{QStringLiteral("zantrel.nothingLine"), &Ink::secondary()}}) {
        if (auto* label = findChild<QLabel*>(name)) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, token->resolve(s));
            label->setPalette(palette);
        }
    }
}

}  // namespace ZantrelUI
