#pragma once

// Two pieces of the batch-work windows: the action bar along the bottom (a line that sums
// up the job and the button that starts it, or the busy bar while it runs) and the card for
// a finished job (a drawn check, a number that counts up, the skipped items and the next step).

#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/BusyBar.h"
#include "ZantrelUI/context/Environment.h"

#include <QPointer>
#include <QShortcut>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QShortcut;
class QVBoxLayout;

namespace Platform {
class Pasteboard;
}

namespace ZantrelUI {

class BusyBar;
class CheckDraw;
class GlassCard;
class PillButton;
class RollingNumber;

class ActionBar final : public GlassWidget {
    Q_OBJECT
public:
    struct Busy {
        QString sentence;
        std::optional<double> value;
        std::function<void()> stop;
    };

    ActionBar(QString line, QString action, bool enabled, bool returnKey, std::optional<Busy> busy,
              std::function<void()> run, QWidget* parent = nullptr);

    // The caller switches the bar between ready and busy.
    void setBusy(std::optional<Busy> busy);
    void setEnabled(bool enabled);
    void setLine(const QString& line);

    // None while busy.
    PillButton* startButton() const { return start_; }
    QLabel* lineLabel() const { return lineLabel_; }
    BusyBar* busyBar() const { return busyBar_; }
    QShortcut* returnShortcut() const { return returnKey_; }
    QShortcut* commandReturnShortcut() const { return commandReturn_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuild();
    void start();

    QString line_;
    QString action_;
    bool enabled_;
    bool returnKeyStarts_;
    std::optional<Busy> busy_;
    std::function<void()> run_;
    QWidget* content_ = nullptr;
    QPointer<PillButton> start_;
    QPointer<QLabel> lineLabel_;
    QPointer<BusyBar> busyBar_;
    QPointer<QShortcut> returnKey_;
    QPointer<QShortcut> commandReturn_;
};

class DoneCard final : public GlassWidget {
    Q_OBJECT
public:
    struct Skipped {
        QString name;
        QString reason;
    };
    struct Next {
        QString title;
        std::function<void()> run;
    };

    static constexpr int maxWidth = 440;

    DoneCard(double value, std::function<QString(double)> text, QString line, QList<Skipped> skipped,
             std::shared_ptr<Platform::Pasteboard> pasteboard, std::function<void()> putBack, Next next,
             QWidget* parent = nullptr);

    // The skipped list as copied: "name: reason" lines joined by line feeds.
    static QString skippedText(const QList<Skipped>& skipped);

    double shown() const { return shown_->value(); }
    const AnimatedValue& shownValue() const { return *shown_; }
    RollingNumber* number() const { return number_; }
    // None without skipped items.
    QWidget* skippedCard() const { return skippedCard_; }
    PillButton* copyButton() const { return copy_; }
    PillButton* putBackButton() const { return putBack_; }
    PillButton* nextButton() const { return next_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    double value_;
    std::function<QString(double)> text_;
    QList<Skipped> skipped_;
    std::shared_ptr<Platform::Pasteboard> pasteboard_;
    AnimatedValue* shown_;
    bool counted_ = false;
    RollingNumber* number_;
    QWidget* skippedCard_ = nullptr;
    PillButton* copy_ = nullptr;
    PillButton* putBack_ = nullptr;
    PillButton* next_;
};

}  // namespace ZantrelUI
