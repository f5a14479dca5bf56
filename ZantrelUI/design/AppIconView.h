#pragma once

// The running application's icon at a fixed size. An app without an icon shows a rounded
// accent tile with the viewfinder symbol, so the header keeps its shape.

#include "ZantrelUI/context/Environment.h"

namespace ZantrelUI {

class AppIconView final : public GlassWidget {
public:
    explicit AppIconView(int side, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {side_, side_}; }
    // True when the application has an icon of its own to draw.
    static bool applicationHasIcon();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int side_;
};

}  // namespace ZantrelUI
