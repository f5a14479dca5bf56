#include "Categories.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Bench {
namespace {

QFont font(const QString& family, int pixels, bool bold = false) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

struct Theme {
    QColor ground;
    QColor ink;
};
const Theme light{Qt::white, QColor(0x1f, 0x23, 0x28)};
const Theme dark{QColor(0x1e, 0x1e, 0x1e), QColor(0xd4, 0xd4, 0xd4)};

// Lines of monospace code, indentation drawn as spaces.
CategorySample codeSample(const QString& name, const QStringList& code, const Theme& theme, int pixels) {
    const QFont mono = font(QStringLiteral("DejaVu Sans Mono"), pixels);
    const QFontMetricsF metrics(mono);
    const double step = pixels * 1.5;
    QImage picture(640, static_cast<int>(code.size() * step + 40), QImage::Format_RGB32);
    picture.fill(theme.ground);
    QPainter painter(&picture);
    painter.setFont(mono);
    painter.setPen(theme.ink);
    for (qsizetype i = 0; i < code.size(); ++i)
        painter.drawText(QPointF(20, 20 + metrics.ascent() + i * step), code[i]);
    painter.end();
    return {name, picture, code, 0, {}, {}};
}

// Items with a marker drawn as a shape (the way browsers draw list markers), each
// wrapped to a line of its own; `depth` indents an item one level.
struct Item {
    QString text;
    int depth = 0;
};
enum class Marker { disc, circle, square, number };

CategorySample listSample(const QString& name, const QList<Item>& items, const QString& family, int pixels,
                          const Theme& theme, Marker top, Marker nested) {
    const QFont text = font(family, pixels);
    const QFontMetricsF metrics(text);
    const double step = pixels * 1.6;
    QImage picture(760, static_cast<int>(items.size() * step + 40), QImage::Format_RGB32);
    picture.fill(theme.ground);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(text);
    QStringList lines;
    int number = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        const double baseline = 20 + metrics.ascent() + i * step;
        const double indent = 30 + item.depth * 2.5 * pixels;
        const double middle = baseline - metrics.xHeight() / 2;
        const double r = pixels * 0.18;
        const Marker marker = item.depth == 0 ? top : nested;
        painter.setPen(theme.ink);
        painter.setBrush(Qt::NoBrush);
        QString prefix;
        switch (marker) {
        case Marker::disc:
            painter.setPen(Qt::NoPen);
            painter.setBrush(theme.ink);
            painter.drawEllipse(QPointF(indent - 1.2 * pixels, middle), r, r);
            prefix = QStringLiteral("\u2022 ");
            break;
        case Marker::circle:
            painter.setPen(QPen(theme.ink, 1.2));
            painter.drawEllipse(QPointF(indent - 1.2 * pixels, middle), r, r);
            prefix = QStringLiteral("\u25e6 ");
            break;
        case Marker::square:
            painter.setPen(Qt::NoPen);
            painter.setBrush(theme.ink);
            painter.drawRect(QRectF(indent - 1.2 * pixels - r, middle - r, 2 * r, 2 * r));
            prefix = QStringLiteral("\u25aa ");
            break;
        case Marker::number:
            prefix = QStringLiteral("%1. ").arg(++number);
            painter.drawText(QPointF(indent - 1.6 * pixels, baseline), QStringLiteral("%1.").arg(number));
            break;
        }
        painter.setPen(theme.ink);
        painter.drawText(QPointF(indent, baseline), item.text);
        lines.append(prefix + item.text);
    }
    painter.end();
    return {name, picture, lines, static_cast<int>(items.size()), {}, {}};
}

const QList<Item>& packingItems() {
    static const QList<Item> items{
        {QStringLiteral("Charge the camera battery the night before you leave")},
        {QStringLiteral("Pack the passport, the tickets and the charger")},
        {QStringLiteral("Write down the address of the hotel in the city centre")},
        {QStringLiteral("Check the weather for the first three days of the trip")},
        {QStringLiteral("Leave a spare key with a neighbour")},
    };
    return items;
}

// Light text on coloured patches inside a page, and dark text on a bright one; on a
// screen-sized picture the patches are small beside it.
CategorySample patchSample(const QString& name, const QString& family, int pixels, const Theme& theme,
                           QSize size = QSize(820, 240)) {
    const QFont text = font(family, pixels);
    const QFontMetricsF metrics(text);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(theme.ground);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(text);
    QStringList lines;
    auto plain = [&](double y, const QString& line) {
        painter.setPen(theme.ink);
        painter.drawText(QPointF(24, y), line);
        lines.append(line);
    };
    auto patch = [&](double x, double y, const QString& label, QColor fill, QColor ink) {
        const QRectF box(x, y - metrics.ascent() - 8, metrics.horizontalAdvance(label) + 28, metrics.height() + 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(box, 6, 6);
        painter.setPen(ink);
        painter.drawText(QPointF(x + 14, y), label);
        return box.right();
    };
    plain(40, QStringLiteral("Your changes to the project settings have not been saved yet."));
    const double next = patch(24, 92, QStringLiteral("Save changes"), QColor(0x1a, 0x73, 0xe8), Qt::white);
    patch(next + 24, 92, QStringLiteral("Discard"), QColor(0xd9, 0x30, 0x25), Qt::white);
    lines.append(QStringLiteral("Save changes Discard"));
    patch(24, 148, QStringLiteral("Selected text stays readable when it is highlighted"), QColor(0x26, 0x4f, 0x78),
          Qt::white);
    lines.append(QStringLiteral("Selected text stays readable when it is highlighted"));
    patch(24, 204, QStringLiteral("Warning: the disk is almost full"), QColor(0xff, 0xe0, 0x3d), Qt::black);
    lines.append(QStringLiteral("Warning: the disk is almost full"));
    painter.end();
    return {name, picture, lines, 0, {}, {}};
}

// A small ruled table inside a page, its rules as light as a web page draws them; in a
// dark theme they turn dark with the page and stand between the cells.
CategorySample ruledPageSample(const QString& name, const QString& family, int pixels, const Theme& theme) {
    const QFont text = font(family, pixels);
    const QFontMetricsF metrics(text);
    const QList<QStringList> cells{{"Plan", "Q1", "Q2", "Storage"}, {"Basic", "4.99", "5.49", "50 GB"},
                                   {"Team", "12.00", "12.50", "1 TB"}, {"Business", "20.00", "21.00", "5 TB"}};
    QImage picture(960, 300, QImage::Format_RGB32);
    picture.fill(theme.ground);
    QPainter painter(&picture);
    painter.setFont(text);
    painter.setPen(theme.ink);
    const QString intro = QStringLiteral("Prices for every plan are listed below, per month.");
    painter.drawText(QPointF(24, 40), intro);
    QStringList lines{intro};
    // Columns as wide as their widest cell and its padding, as a browser draws them.
    QList<int> columns{24};
    for (qsizetype c = 0; c < cells.front().size(); ++c) {
        double widest = 0;
        for (const QStringList& row : cells)
            widest = std::max(widest, metrics.horizontalAdvance(row[c]));
        columns.append(columns.back() + static_cast<int>(std::ceil(widest)) + 21);
    }
    const int top = 70;
    const int rowHeight = static_cast<int>(std::lround(pixels * 2.0));
    painter.setPen(QColor(0xd0, 0xd7, 0xde));
    for (qsizetype r = 0; r <= cells.size(); ++r)
        painter.drawLine(columns.front(), top + r * rowHeight, columns.back(), top + r * rowHeight);
    for (const int x : columns)
        painter.drawLine(x, top, x, top + static_cast<int>(cells.size()) * rowHeight);
    painter.setPen(theme.ink);
    for (qsizetype r = 0; r < cells.size(); ++r) {
        for (qsizetype c = 0; c < cells[r].size(); ++c)
            painter.drawText(QPointF(columns[c] + 10, top + r * rowHeight + (rowHeight + metrics.capHeight()) / 2),
                             cells[r][c]);
        lines.append(cells[r].join(u' '));
    }
    painter.end();
    return {name, picture, lines, 0, {}, {}};
}

// A page drawn at twice the size, as a high-density screen shows it.
CategorySample headingSample(const QString& family) {
    const QFont heading = font(family, 48, true);
    const QFont body = font(family, 28);
    QImage picture(1200, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QColor(0x11, 0x11, 0x11));
    painter.setFont(heading);
    painter.drawText(QPointF(40, 80), QStringLiteral("Notes"));
    painter.setFont(body);
    const QStringList text{QStringLiteral("Keep the meeting short and send the summary to everyone."),
                           QStringLiteral("Open questions go to the next agenda.")};
    for (qsizetype i = 0; i < text.size(); ++i)
        painter.drawText(QPointF(40, 160 + i * 46), text[i]);
    painter.end();
    QStringList lines{QStringLiteral("Notes")};
    lines += text;
    return {QStringLiteral("heading-") + family.section(u' ', 0, 0).toLower(), picture, lines, 0, {}, {}};
}

// A ruled grid of cells, the first row a header.
CategorySample tableSample(const QString& name, const QList<QStringList>& cells, const QString& family, int pixels,
                           const QList<double>& widths) {
    const QFont text = font(family, pixels);
    const QFontMetricsF metrics(text);
    const double rowHeight = pixels * 2.4;
    double total = 0;
    for (double w : widths)
        total += w;
    QImage picture(static_cast<int>(total + 40), static_cast<int>(cells.size() * rowHeight + 40), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(text);
    QStringList lines;
    for (qsizetype r = 0; r < cells.size(); ++r) {
        double x = 20;
        const double top = 20 + r * rowHeight;
        if (r == 0)
            painter.fillRect(QRectF(20, top, total, rowHeight), QColor(0xf2, 0xf4, 0xf7));
        painter.setPen(QColor(0xc8, 0xcc, 0xd2));
        painter.drawLine(QPointF(20, top), QPointF(20 + total, top));
        for (qsizetype c = 0; c < cells[r].size(); ++c) {
            painter.setPen(QColor(0x1f, 0x23, 0x28));
            painter.drawText(QPointF(x + 10, top + (rowHeight + metrics.capHeight()) / 2), cells[r][c]);
            x += widths[c];
        }
        lines.append(cells[r].join(u'\t'));
    }
    painter.setPen(QColor(0xc8, 0xcc, 0xd2));
    painter.drawLine(QPointF(20, 20 + cells.size() * rowHeight), QPointF(20 + total, 20 + cells.size() * rowHeight));
    painter.end();
    return {name, picture, lines, 0, cells, {}};
}

CategorySample accentSample(const QString& family, int pixels, const Theme& theme) {
    const QFont text = font(family, pixels);
    const QFontMetricsF metrics(text);
    const QStringList lines{
        QStringLiteral("Café Müller – naïve façade, Straße"),
        QStringLiteral("Señor Muñoz pidió una canción en el jardín"),
        QStringLiteral("Größere Übungen sind schön für Jürgen"),
        QStringLiteral("Crème brûlée à la française, déjà vu"),
        QStringLiteral("São Paulo, coração e pão"),
    };
    QImage picture(760, static_cast<int>(lines.size() * pixels * 1.6 + 40), QImage::Format_RGB32);
    picture.fill(theme.ground);
    QPainter painter(&picture);
    painter.setFont(text);
    painter.setPen(theme.ink);
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(20, 20 + metrics.ascent() + i * pixels * 1.6), lines[i]);
    painter.end();
    return {QStringLiteral("accents-") + family.section(u' ', 0, 0).toLower(), picture, lines, 0, {},
            {QStringLiteral("en-US"), QStringLiteral("de-DE"), QStringLiteral("fr-FR")}};
}

}  // namespace

std::vector<CategorySample> categorySamples() {
    const QStringList javascript{
        QStringLiteral("function total(items) {"), QStringLiteral("  let sum = 0;"),
        QStringLiteral("  for (const item of items) {"), QStringLiteral("    if (item.price > 0) {"),
        QStringLiteral("      sum += item.price;"), QStringLiteral("    }"), QStringLiteral("  }"),
        QStringLiteral("  return sum;"), QStringLiteral("}"),
    };
    const QStringList python{
        QStringLiteral("def mean(values):"), QStringLiteral("    if not values:"),
        QStringLiteral("        return 0"), QStringLiteral("    total = 0"),
        QStringLiteral("    for v in values:"), QStringLiteral("        total += v"),
        QStringLiteral("    return total / len(values)"),
    };
    const QStringList c{
        QStringLiteral("int count(void)"), QStringLiteral("{"), QStringLiteral("    int n = 0;"),
        QStringLiteral("    while (n < 10) {"), QStringLiteral("        n++;"), QStringLiteral("    }"),
        QStringLiteral("    return n;"), QStringLiteral("}"),
    };
    const QList<Item> nested{
        {QStringLiteral("Fruit from the market on Saturday")},
        {QStringLiteral("Apples for the cake"), 1},
        {QStringLiteral("Pears if they look ripe"), 1},
        {QStringLiteral("Bread and butter for the week")},
        {QStringLiteral("Sourdough from the corner bakery"), 1},
        {QStringLiteral("Milk for the coffee")},
    };
    const QList<QStringList> longCells{
        {QStringLiteral("Task"), QStringLiteral("Owner"), QStringLiteral("Status"), QStringLiteral("Next step")},
        {QStringLiteral("Move the build to the new server"), QStringLiteral("Anna and the platform team"),
         QStringLiteral("waiting for the disk order"), QStringLiteral("ask the vendor for a date")},
        {QStringLiteral("Write the release notes for May"), QStringLiteral("Ben from the docs group"),
         QStringLiteral("first draft is ready now"), QStringLiteral("review it with the leads")},
        {QStringLiteral("Fix the login page on phones"), QStringLiteral("Chris in the web team"),
         QStringLiteral("blocked by the design review"), QStringLiteral("book a call on Monday")},
        {QStringLiteral("Plan the summer team event"), QStringLiteral("Dana with two helpers"),
         QStringLiteral("venue is booked for July"), QStringLiteral("send out the invitations")},
    };
    const QList<QStringList> quarters{
        {QStringLiteral("Region"), QStringLiteral("Q1"), QStringLiteral("Q2"), QStringLiteral("Q3"),
         QStringLiteral("Q4")},
        {QStringLiteral("North"), QStringLiteral("1,204"), QStringLiteral("1,310"), QStringLiteral("998"),
         QStringLiteral("1,451")},
        {QStringLiteral("South"), QStringLiteral("870"), QStringLiteral("912"), QStringLiteral("1,005"),
         QStringLiteral("1,120")},
        {QStringLiteral("East"), QStringLiteral("2,033"), QStringLiteral("1,876"), QStringLiteral("2,140"),
         QStringLiteral("2,297")},
        {QStringLiteral("West"), QStringLiteral("411"), QStringLiteral("467"), QStringLiteral("502"),
         QStringLiteral("588")},
    };
    const QString dejavu = QStringLiteral("DejaVu Sans");
    const QString noto = QStringLiteral("Noto Sans");
    return {
        codeSample(QStringLiteral("code-js-dark"), javascript, dark, 14),
        codeSample(QStringLiteral("code-js-light"), javascript, light, 13),
        codeSample(QStringLiteral("code-py-dark"), python, dark, 13),
        codeSample(QStringLiteral("code-c-light"), c, light, 14),
        listSample(QStringLiteral("list-disc"), packingItems(), dejavu, 14, light, Marker::disc, Marker::disc),
        listSample(QStringLiteral("list-circle-dark"), packingItems(), noto, 14, dark, Marker::circle, Marker::circle),
        listSample(QStringLiteral("list-square"), packingItems(), noto, 13, light, Marker::square, Marker::square),
        listSample(QStringLiteral("list-numbered"), packingItems(), dejavu, 13, light, Marker::number, Marker::number),
        listSample(QStringLiteral("list-nested"), nested, dejavu, 14, light, Marker::disc, Marker::circle),
        patchSample(QStringLiteral("patches-dejavu"), dejavu, 14, light),
        patchSample(QStringLiteral("patches-noto"), noto, 13, light),
        patchSample(QStringLiteral("patches-screen-dark"), noto, 14, dark, QSize(1600, 900)),
        ruledPageSample(QStringLiteral("ruled-page-dark"), noto, 14, dark),
        ruledPageSample(QStringLiteral("ruled-page-light"), dejavu, 14, light),
        headingSample(dejavu),
        headingSample(noto),
        tableSample(QStringLiteral("table-long"), longCells, dejavu, 13, {280, 230, 230, 220}),
        tableSample(QStringLiteral("table-quarters"), quarters, noto, 14, {140, 100, 100, 100, 100}),
        accentSample(dejavu, 14, light),
        accentSample(noto, 14, dark),
    };
}

}  // namespace Bench
