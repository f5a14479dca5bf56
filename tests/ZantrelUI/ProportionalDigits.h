#pragma once

// The application font switched, for one test, to an installed face whose digits have
// different widths (as some desktops' fonts do), so a piece must ask for digits of one width
// to get them.

#include "ZantrelUI/design/Tokens.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

#include <optional>

namespace DesignTest {

class ProportionalDigits {
public:
    ProportionalDigits() : before_(QGuiApplication::font()) {
        for (const QString& family : QFontDatabase::families()) {
            QFont font(family);
            font.setPointSizeF(before_.pointSizeF());
            if (QFontDatabase::isFixedPitch(family) || !QFontDatabase::writingSystems(family).contains(QFontDatabase::Latin))
                continue;
            if (!ZantrelUI::Fonts::sameAdvances(font, QStringLiteral("0123456789"))) {
                family_ = family;
                QGuiApplication::setFont(font);
                return;
            }
        }
    }
    ~ProportionalDigits() { QGuiApplication::setFont(before_); }
    ProportionalDigits(const ProportionalDigits&) = delete;
    ProportionalDigits& operator=(const ProportionalDigits&) = delete;

    // None when no installed face has such digits.
    const std::optional<QString>& family() const { return family_; }

private:
    QFont before_;
    std::optional<QString> family_;
};

}  // namespace DesignTest
