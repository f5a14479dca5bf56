#pragma once

// A plain-text label drawn in one of the ink colours, following the appearance of the
// window it is in.

#include "ZantrelUI/Tokens.h"

#include <QLabel>

namespace Glyphnab {

class InkLabel final : public QLabel {
    Q_OBJECT
public:
    InkLabel(const QString& text, const ZantrelUI::DynamicColor& ink, const QFont& font, QWidget* parent = nullptr);

    void setInk(const ZantrelUI::DynamicColor& ink);

protected:
    bool event(QEvent* event) override;

private:
    void recolor();

    ZantrelUI::DynamicColor ink_;
};

}  // namespace Glyphnab
