#pragma once

// The family's heads-up notice: a rounded card that says what a piece of work did, with a
// round badge, the title, an optional preview and detail, an optional button that shows the
// output folder, and up to two actions. It announces its title when it appears.
//
// Its backdrop is the opaque form: an X11 desktop offers no blur behind a window, so the
// tinted gradient is drawn fully opaque (as the window backdrop does offscreen).

#include "ZantrelUI/context/Environment.h"

#include <QAbstractButton>
#include <QList>

#include <functional>
#include <optional>

class QLabel;
class QPainter;

namespace ZantrelUI {

class PillButton;

enum class NoticeOutcome { done, failed };

class NoticeCard final : public GlassWidget {
    Q_OBJECT
public:
    struct Action {
        QString title;
        bool prominent = false;
        std::function<void()> run;
    };
    struct Folder {
        QString name;
        std::function<void()> open;
    };
    // What the backdrop draws: the blur surface, and the gradient's two opacities.
    struct Backing {
        bool blur;
        double topOpacity;
        double bottomOpacity;
        friend bool operator==(const Backing&, const Backing&) = default;
    };
    static constexpr int maxActions = 2;
    static constexpr qreal radius = 18;

    // `blurAvailable`: whether the desktop can blur what lies behind the card.
    static Backing backing(bool offscreen, bool blurAvailable);
    // On this platform's windows: never.
    static bool blurAvailable() { return false; }

    NoticeCard(NoticeOutcome outcome, std::optional<QString> symbol, QString title, std::optional<QString> preview,
               std::optional<QString> detail, std::optional<Folder> folder, QList<Action> actions, qreal width,
               QWidget* parent = nullptr);

    NoticeOutcome outcome() const { return outcome_; }
    // The badge's symbol: none for a done card without one (the drawn check shows instead).
    std::optional<QString> badgeSymbol() const;
    QWidget* badge() const { return badge_; }
    QLabel* previewLabel() const { return preview_; }
    QLabel* detailLabel() const { return detail_; }
    QAbstractButton* folderButton() const { return folder_; }
    const QList<PillButton*>& actionButtons() const { return actions_; }
    // The card's own rectangle, inside the room its shadow needs.
    QRectF cardRect() const;
    Backing currentBacking() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void paintBadgeShadow(QPainter& painter) const;

    NoticeOutcome outcome_;
    std::optional<QString> symbol_;
    QString title_;
    QWidget* badge_;
    QLabel* preview_ = nullptr;
    QLabel* detail_ = nullptr;
    QAbstractButton* folder_ = nullptr;
    QList<PillButton*> actions_;
};

}  // namespace ZantrelUI
