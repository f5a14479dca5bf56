#pragma once

// The family's single-line text field in the glass look: a faintly filled rounded box
// with an optional leading symbol, the text, and a clear button while there is text. The
// border lights in the accent while the field has keyboard focus.

#include "ZantrelUI/context/Environment.h"

#include <QString>

#include <functional>
#include <optional>

class QLineEdit;
class QToolButton;

namespace ZantrelUI {

class GlassField final : public GlassWidget {
    Q_OBJECT
public:
    enum class Kind { plain, secure, monospaced };

    GlassField(QString prompt, QString text, std::optional<QString> symbol, Kind kind,
               std::function<void()> onSubmit, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    const QString& prompt() const { return prompt_; }
    const std::optional<QString>& symbol() const { return symbol_; }
    Kind kind() const { return kind_; }

    QLineEdit* editor() const { return editor_; }
    // Shown only while there is text; the last item of the row.
    QToolButton* clearButton() const { return clear_; }
    // What assistive technology calls the clear button.
    void setClearLabel(const QString& label);

    // The keyboard focus of the text itself.
    bool isFieldFocused() const;
    void focusField();

    // The border as drawn now: width and colour.
    std::pair<qreal, QColor> border() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void textEdited(const QString& text);
    void focusChanged(bool focused);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void environmentChanged() override;

private:
    void recolor();
    void syncClear();

    QString prompt_;
    std::optional<QString> symbol_;
    Kind kind_;
    std::function<void()> onSubmit_;
    QLineEdit* editor_;
    QToolButton* clear_;
};

}  // namespace ZantrelUI
