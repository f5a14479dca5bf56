#pragma once

// One grant watch on the model for as long as a view is on screen: taken when the view is
// shown, given back when it is hidden or destroyed, and never held twice.

#include <QObject>
#include <QPointer>

class QWidget;

namespace Glyphnab {

class GlyphnabModel;

class GrantWatchHold final : public QObject {
    Q_OBJECT
public:
    // Lives as a child of `view`.
    GrantWatchHold(GlyphnabModel& model, QWidget* view);
    ~GrantWatchHold() override;

    bool holds() const { return holding_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hold(bool on);

    QPointer<GlyphnabModel> model_;
    bool holding_ = false;
};

}  // namespace Glyphnab
