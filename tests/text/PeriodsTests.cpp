// A period that starts a word is read as drawn, not as a hyphen; a hyphen stays one.

#include "text/TextReader.h"

#include "tests/text/AwaitResult.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

using namespace ZantrelText;

TEST(Periods, AMethodCallOnItsOwnLineStartsWithItsPeriod) {
    const QStringList code{QStringLiteral("  return items.filter((x) => x.ready)"),
                           QStringLiteral("    .map((x) => x.total * 12);"),
                           QStringLiteral("  const gap = width - 2;")};
    for (const QString& family : {QStringLiteral("Noto Sans Mono"), QStringLiteral("DejaVu Sans Mono")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const int pixels : {12, 18}) {
            QFont mono(family);
            mono.setPixelSize(pixels);
            const QFontMetricsF metrics(mono);
            QImage picture(40 + static_cast<int>(metrics.horizontalAdvance(code.front()) * 1.2),
                           static_cast<int>(code.size() * metrics.height() * 1.5 + 40), QImage::Format_RGB32);
            picture.fill(QColor(0x28, 0x2c, 0x34));
            QPainter painter(&picture);
            painter.setFont(mono);
            painter.setPen(QColor(0xab, 0xb2, 0xbf));
            for (qsizetype i = 0; i < code.size(); ++i)
                painter.drawText(QPointF(20, 20 + metrics.ascent() + i * metrics.height() * 1.5), code[i]);
            painter.end();
            QStringList lines = TestAwait::result(TextReader::read(picture, {})).text(LineMode::keep).split(u'\n');
            lines.removeAll(QString());
            ASSERT_EQ(lines.size(), code.size()) << family.toStdString() << " " << pixels;
            EXPECT_EQ(lines[1].trimmed().toStdString(), code[1].trimmed().toStdString()) << family.toStdString() << " " << pixels;
            EXPECT_TRUE(lines[2].contains(QStringLiteral(" - 2"))) << lines[2].toStdString();
        }
    }
}
