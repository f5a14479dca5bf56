#pragma once

// A one-line progress strip: a sentence over a bar (known amount or a moving dash line)
// and, when the work can be stopped, a Stop pill. It keeps no state of its own.

#include "ZantrelUI/context/Environment.h"

#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QVBoxLayout;

namespace ZantrelUI {

class GlassProgress;
class PillButton;

class BusyBar final : public GlassWidget {
    Q_OBJECT
public:
    using Action = std::function<void()>;

    static constexpr qreal stripHeight = 36;
    static constexpr qreal barHeight = 6;

    // `value` absent: the amount of work is open. `stop` absent: the work cannot be stopped.
    BusyBar(QString sentence, std::optional<double> value, Action stop, QWidget* parent = nullptr);

    const QString& sentence() const { return sentence_; }
    const std::optional<double>& value() const { return value_; }

    void setSentence(const QString& sentence);
    void setValue(std::optional<double> value);
    void setStop(Action stop);

    // The known-amount bar while `value` is set, else none.
    GlassProgress* progress() const { return progress_; }
    // The moving bar while `value` is absent, else none.
    QWidget* indeterminateBar() const { return indeterminate_; }
    PillButton* stopButton() const { return stopButton_; }
    QLabel* sentenceLabel() const { return label_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuildBar();

    QString sentence_;
    std::optional<double> value_;
    Action stop_;
    QLabel* label_;
    QVBoxLayout* column_;
    GlassProgress* progress_ = nullptr;
    QWidget* indeterminate_ = nullptr;
    PillButton* stopButton_;
};

}  // namespace ZantrelUI
