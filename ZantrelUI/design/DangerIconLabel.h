#pragma once

// A label whose icon is tinted with the danger ink while its title keeps its own colour,
// for destructive actions in settings.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/Tokens.h"

namespace ZantrelUI {

class DangerIconLabel final : public GlassWidget {
    Q_OBJECT
public:
    DangerIconLabel(QString symbol, QString title, QWidget* parent = nullptr);

    const QString& title() const { return title_; }
    QColor iconColor() const { return resolve(Ink::danger()); }
    QColor titleColor() const { return resolve(Ink::primary()); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    QString title_;
};

}  // namespace ZantrelUI
