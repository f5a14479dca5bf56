#pragma once

// One notice as drawn inside the presenter's panel: a 380-wide card with an icon or a
// check, a title, an optional preview and detail, pill buttons, and for work under way a
// busy bar with a Stop button. All texts come from the content's rules.

#include "Glyphnab/notice/NoticeContent.h"
#include "ZantrelUI/context/Environment.h"

#include <QRegularExpression>

#include <functional>

namespace ZantrelUI {
class BusyBar;
class PillButton;
}  // namespace ZantrelUI

class QLabel;

namespace Glyphnab {

class NoticeView final : public ZantrelUI::GlassWidget {
    Q_OBJECT
public:
    // What the buttons, the busy bar and a tap call; built by the presenter.
    struct Actions {
        std::function<void(const QUrl&)> open;
        std::function<void(const QString&)> copyText;
        std::function<void()> close;
        std::function<void()> stop;
        std::function<void(std::optional<ZantrelText::LineMode>)> grabAgain;
        std::function<void(const GlyphnabCore::Outcome&, ZantrelText::LineMode)> copyOtherWay;
    };

    static constexpr int cardWidth = 380;
    static constexpr int margin = 18;  // room for the card's shadow
    static constexpr int iconSide = 32;

    NoticeView(NoticeContent content, Actions actions, QString name, bool reduceMotion, QWidget* parent = nullptr);

    const NoticeContent& content() const { return content_; }
    const QString& name() const { return name_; }
    bool reduceMotion() const { return reduceMotion_; }

    // Told when the pointer enters (true) or leaves (false) the notice.
    void setHoverHandler(std::function<void(bool)> handler) { hover_ = std::move(handler); }

    QList<ZantrelUI::PillButton*> buttons() const { return buttons_; }
    ZantrelUI::BusyBar* busyBar() const { return busyBar_; }
    QRectF cardRect() const;
    // The preview and the detail as laid out, one line of the card per line of text;
    // empty when the notice has none.
    QString previewText() const;
    QString detailText() const;

    // One run of a title: digits (with separators between them) or other text.
    struct TitleRun {
        QString text;
        bool number = false;
        friend bool operator==(const TitleRun&, const TitleRun&) = default;
    };
    static QList<TitleRun> titleRuns(const QString& title);

    // The card's shadow and accent-glow opacities for a scheme.
    static double shadowOpacity(ZantrelUI::ColorScheme scheme);
    static double glowOpacity(ZantrelUI::ColorScheme scheme);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void environmentChanged() override;

private:
    void build();
    void run(const NoticeButton::Action& action);

    NoticeContent content_;
    Actions actions_;
    QString name_;
    bool reduceMotion_;
    std::function<void(bool)> hover_;
    QList<ZantrelUI::PillButton*> buttons_;
    ZantrelUI::BusyBar* busyBar_ = nullptr;
    QWidget* icon_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* detail_ = nullptr;
    // Text labels and their colour tokens, coloured again when the appearance changes.
    QList<std::pair<QWidget*, const ZantrelUI::DynamicColor*>> inks_;
};

}  // namespace Glyphnab
