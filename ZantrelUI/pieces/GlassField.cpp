#include "ZantrelUI/pieces/GlassField.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

namespace ZantrelUI {

namespace {

QFont fieldFont(GlassField::Kind kind) {
    QFont font = Fonts::body();
    return kind == GlassField::Kind::monospaced ? Fonts::monospaced(font) : font;
}

}  // namespace

GlassField::GlassField(QString prompt, QString text, std::optional<QString> symbol, Kind kind,
                       std::function<void()> onSubmit, QWidget* parent)
    : GlassWidget(parent),
      prompt_(std::move(prompt)),
      symbol_(std::move(symbol)),
      kind_(kind),
      onSubmit_(std::move(onSubmit)),
      editor_(new QLineEdit(this)),
      clear_(new QToolButton(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 0, 10, 0);
    row->setSpacing(8);
    if (symbol_) {
        auto* icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("zantrel.fieldSymbol"));
        icon->setFixedSize(15, 15);
        row->addWidget(icon);
    }
    editor_->setFrame(false);
    editor_->setText(text);
    editor_->setPlaceholderText(prompt_);
    editor_->setAccessibleName(prompt_);
    editor_->setFont(fieldFont(kind_));
    editor_->setEchoMode(kind_ == Kind::secure ? QLineEdit::Password : QLineEdit::Normal);
    editor_->setAttribute(Qt::WA_MacShowFocusRect, false);
    editor_->installEventFilter(this);
    row->addWidget(editor_, 1);

    clear_->setAutoRaise(true);
    clear_->setCursor(Qt::ArrowCursor);
    clear_->setFocusPolicy(Qt::NoFocus);
    clear_->setFixedSize(16, 16);
    clear_->setIconSize(QSize(12, 12));
    clear_->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"));
    setClearLabel(ZantrelKit::Copy::Shortcuts::clear());
    row->addWidget(clear_);
    connect(clear_, &QToolButton::clicked, this, [this] {
        Platform::assertMain();
        editor_->clear();
        Q_EMIT textEdited(QString());
    });
    connect(editor_, &QLineEdit::textChanged, this, [this] { syncClear(); });
    connect(editor_, &QLineEdit::textEdited, this, &GlassField::textEdited);
    connect(editor_, &QLineEdit::returnPressed, this, [this] {
        if (onSubmit_)
            onSubmit_();
    });
    setFocusProxy(editor_);
    setMinimumHeight(28);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    syncClear();
    recolor();
}

QString GlassField::text() const { return editor_->text(); }

void GlassField::setText(const QString& text) {
    if (editor_->text() != text)
        editor_->setText(text);
}

void GlassField::setClearLabel(const QString& label) {
    clear_->setAccessibleName(label);
    clear_->setToolTip(label);
}

bool GlassField::isFieldFocused() const { return editor_->hasFocus(); }

void GlassField::focusField() { editor_->setFocus(Qt::ShortcutFocusReason); }

std::pair<qreal, QColor> GlassField::border() const {
    const ColorScheme s = scheme();
    if (isFieldFocused()) {
        QColor top = environment().accent.top.resolve(s);
        top.setAlphaF(top.alphaF() * 0.8f);
        return {1.5, top};
    }
    return {1.0, Surface::track().resolve(s)};
}

QSize GlassField::sizeHint() const { return {200, 28}; }

void GlassField::syncClear() { clear_->setVisible(!editor_->text().isEmpty()); }

void GlassField::recolor() {
    const ColorScheme s = scheme();
    const QColor tertiary = Ink::tertiary().resolve(s);
    QPalette palette = editor_->palette();
    palette.setColor(QPalette::Text, Ink::primary().resolve(s));
    palette.setColor(QPalette::PlaceholderText, tertiary);
    palette.setColor(QPalette::Base, Qt::transparent);
    editor_->setPalette(palette);
    clear_->setIcon(QIcon(QPixmap::fromImage(
        Symbols::image(QStringLiteral("xmark.circle.fill"), 12, tertiary, devicePixelRatioF()))));
    if (symbol_) {
        if (auto* icon = findChild<QLabel*>(QStringLiteral("zantrel.fieldSymbol")))
            icon->setPixmap(QPixmap::fromImage(Symbols::image(*symbol_, 13, tertiary, devicePixelRatioF())));
    }
}

void GlassField::environmentChanged() {
    recolor();
    update();
}

bool GlassField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        update();
        Q_EMIT focusChanged(event->type() == QEvent::FocusIn);
    }
    return GlassWidget::eventFilter(watched, event);
}

void GlassField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect());
    painter.fillPath(roundedPath(box, Radius::field), Surface::faintFill().resolve(scheme()));
    const auto [width, color] = border();
    strokeRoundedInside(painter, box, Radius::field, color, width);
}

}  // namespace ZantrelUI
