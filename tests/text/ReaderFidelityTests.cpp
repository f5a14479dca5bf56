// What the reader gives for screen content it used to get wrong: list markers drawn as
// shapes, code with lone braces, light text on coloured patches, tables of long cells
// and of short codes, accented words. Drawn in both DejaVu and Noto where installed,
// so no test leans on one font's glyphs.

#include "platform/recognition/ListMarkers.h"
#include "platform/recognition/PagePreparation.h"
#include "platform/recognition/SolidShapes.h"
#include "platform/recognition/TesseractLanguages.h"
#include "text/TextReader.h"

#include "tests/text/AwaitResult.h"

#include <cmath>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <array>

using namespace ZantrelText;
using namespace Platform::Recognition;

namespace {

QFont font(const QString& family, int pixels, bool bold = false) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QStringList families() {
    QStringList found{QStringLiteral("DejaVu Sans")};
    if (QFontDatabase::hasFamily(QStringLiteral("Noto Sans")))
        found.append(QStringLiteral("Noto Sans"));
    return found;
}

Reading read(const QImage& picture, ReadOptions options = {}) {
    return TestAwait::result(TextReader::read(picture, std::move(options)));
}

QStringList linesOf(const QString& text) {
    QStringList lines = text.split(u'\n');
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    return lines;
}

enum class Marker { disc, ring, square, number };

const QStringList items{
    QStringLiteral("Charge the camera battery the night before you leave"),
    QStringLiteral("Pack the passport, the tickets and the charger"),
    QStringLiteral("Write down the address of the hotel in the city centre"),
    QStringLiteral("Leave a spare key with a neighbour"),
};

// Items with their markers drawn as shapes, the way a browser draws them; `levels`
// indents items.
QImage drawList(const QString& family, Marker marker, QColor ground, QColor ink, const QList<int>& levels = {}) {
    const QFont f = font(family, 14);
    const QFontMetricsF metrics(f);
    QImage picture(720, static_cast<int>(items.size() * 23 + 40), QImage::Format_RGB32);
    picture.fill(ground);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(f);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const double baseline = 20 + metrics.ascent() + i * 23;
        const double x = 40 + (i < levels.size() ? levels[i] : 0) * 32;
        const QPointF centre(x - 17, baseline - metrics.xHeight() / 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        switch (marker) {
        case Marker::disc:
            painter.drawEllipse(centre, 2.6, 2.6);
            break;
        case Marker::ring:
            painter.setPen(QPen(ink, 1.2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(centre, 2.6, 2.6);
            break;
        case Marker::square:
            painter.drawRect(QRectF(centre - QPointF(2.5, 2.5), QSizeF(5, 5)));
            break;
        case Marker::number:
            painter.setPen(ink);
            painter.drawText(QPointF(x - 22, baseline), QStringLiteral("%1.").arg(i + 1));
            break;
        }
        painter.setPen(ink);
        painter.drawText(QPointF(x, baseline), items[i]);
    }
    return picture;
}

TEST(ReaderFidelity, ListMarkersDrawnAsShapesStartTheirItemsInJoinMode) {
    const std::vector<std::pair<Marker, QString>> markers{{Marker::disc, QStringLiteral("\u2022 ")},
                                                          {Marker::ring, QStringLiteral("\u25e6 ")},
                                                          {Marker::square, QStringLiteral("\u25aa ")},
                                                          {Marker::number, QString()}};
    for (const QString& family : families()) {
        for (const auto& [marker, prefix] : markers) {
            for (const bool dark : {false, true}) {
                const QImage picture = dark ? drawList(family, marker, QColor(0x1e, 0x1e, 0x1e), QColor(0xd4, 0xd4, 0xd4))
                                            : drawList(family, marker, Qt::white, QColor(0x20, 0x20, 0x20));
                const QStringList lines = linesOf(read(picture).text(LineMode::join));
                ASSERT_EQ(lines.size(), items.size())
                    << family.toStdString() << " " << int(marker) << " " << dark << "\n" << lines.join(u'\n').toStdString();
                for (qsizetype i = 0; i < items.size(); ++i) {
                    const QString expected =
                        (marker == Marker::number ? QStringLiteral("%1. ").arg(i + 1) : prefix) + items[i];
                    // A square of a few pixels, blurred at its edges, may pass for a disc:
                    // either marker starts the item.
                    const QString line = marker == Marker::square && lines[i].startsWith(u'\u2022')
                                             ? QStringLiteral("\u25aa") + lines[i].mid(1)
                                             : lines[i];
                    EXPECT_EQ(line.toStdString(), expected.toStdString()) << family.toStdString() << " " << dark;
                }
            }
        }
    }
}

TEST(ReaderFidelity, NestedItemsKeepTheirIndentInKeepMode) {
    const QStringList lines = linesOf(
        read(drawList(QStringLiteral("DejaVu Sans"), Marker::disc, Qt::white, Qt::black, {0, 1, 1, 0}))
            .text(LineMode::keep));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\u2022 Charge")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("   ")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("   ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("\u2022 Leave")));
}

TEST(ReaderFidelity, MarkerShapesAreToldApartFromLettersAndDots) {
    // Shapes drawn around an x-height of 10 px over a baseline at y = 40.
    QImage picture(200, 60, QImage::Format_Grayscale8);
    picture.fill(255);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::black);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(20, 35), 3, 3);                  // disc
        painter.drawRect(QRectF(57, 32, 6, 6));                      // square
        painter.drawRect(QRectF(95, 34, 10, 2));                     // dash
        painter.drawEllipse(QPointF(140, 38.5), 1.5, 1.5);           // a period on the baseline
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1.5));
        painter.drawEllipse(QPointF(170, 35), 3.2, 3.2);             // ring
    }
    const int threshold = inkThreshold(picture);
    std::vector<std::optional<MarkerShape>> found;
    std::vector<InkShape> shapes = inkShapes(picture, threshold);
    std::sort(shapes.begin(), shapes.end(), [](const InkShape& a, const InkShape& b) { return a.box.left() < b.box.left(); });
    for (const InkShape& shape : shapes)
        found.push_back(markerShape(picture, threshold, shape, 10, 40));
    const std::vector<std::optional<MarkerShape>> expected{MarkerShape::disc, MarkerShape::square, MarkerShape::dash,
                                                           std::nullopt, MarkerShape::circle};
    EXPECT_EQ(found, expected);
    // A disc as tall as the letters is a letter "o" or a picture, not a marker.
    EXPECT_FALSE(markerShape(picture, threshold, shapes[0], 6, 40).has_value());
}

// Rows of a mail list: an accent-blue unread dot before some senders, their names
// lined up with the others'.
QImage drawInbox(const QString& family, int pixels, const QStringList& rows, const QList<bool>& unread) {
    QImage picture(560, 40 + static_cast<int>(rows.size()) * 2 * pixels, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font(family, pixels));
    const QFontMetricsF metrics(painter.font());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const double baseline = 20 + pixels + i * 2 * pixels;
        if (unread[i]) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x1a, 0x73, 0xe8));
            painter.drawEllipse(QRectF(16, baseline - metrics.xHeight() / 2 - 4.5, 9, 9));
        }
        painter.setPen(QColor(0x1c, 0x1c, 0x1e));
        painter.drawText(QPointF(36, baseline), rows[i]);
    }
    return picture;
}

TEST(ReaderFidelity, UnreadDotsBeforeARowAreNoText) {
    const QStringList rows{QStringLiteral("Maria Lopez sent the quarterly report"),
                           QStringLiteral("Jonas Weber asked about the invoice"),
                           QStringLiteral("Aiko Tanaka shared three photos"),
                           QStringLiteral("Priya Shah moved the meeting to noon")};
    const QList<bool> unread{true, false, true, true};
    for (const QString& family : families()) {
        for (const int pixels : {10, 13, 17}) {
            const QStringList got = linesOf(read(drawInbox(family, pixels, rows, unread)).text(LineMode::keep));
            EXPECT_EQ(got.join(u'\n').toStdString(), rows.join(u'\n').toStdString())
                << family.toStdString() << " " << pixels;
        }
    }
    // A marker drawn in the text's own colour still starts its item.
    QImage list = drawInbox(QStringLiteral("DejaVu Sans"), 14, rows, {false, false, false, false});
    {
        QPainter painter(&list);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1c, 0x1c, 0x1e));
        const QFontMetricsF metrics(font(QStringLiteral("DejaVu Sans"), 14));
        for (int i = 0; i < 4; ++i)
            painter.drawEllipse(QRectF(20, 20 + 14 + i * 28 - metrics.xHeight() / 2 - 2.5, 5, 5));
    }
    for (const QString& line : linesOf(read(list).text(LineMode::keep)))
        EXPECT_TRUE(line.startsWith(QStringLiteral("\u2022 "))) << line.toStdString();
}

// A banner: white text over a soft gradient with blurred blobs, a white pill button
// with dark text, a small date line.
QImage drawBanner(const QString& family) {
    QImage picture(720, 260, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 720, 260);
    ground.setColorAt(0, QColor(0x2e, 0x7d, 0x32));
    ground.setColorAt(0.5, QColor(0x3b, 0xd8, 0xb0));
    ground.setColorAt(1, QColor(0x3f, 0x2f, 0xb8));
    painter.fillRect(picture.rect(), ground);
    for (const QPointF centre : {QPointF(180, 90), QPointF(560, 180)}) {
        QRadialGradient blob(centre, 120);
        blob.setColorAt(0, QColor(0x6a, 0x6a, 0xd0, 200));
        blob.setColorAt(1, QColor(0x6a, 0x6a, 0xd0, 0));
        painter.fillRect(picture.rect(), blob);
    }
    painter.setPen(Qt::white);
    painter.setFont(font(family, 34, true));
    painter.drawText(QPointF(40, 70), QStringLiteral("Filter notice summary"));
    painter.setFont(font(family, 16));
    painter.drawText(QPointF(40, 110), QStringLiteral("Follow the package from the store to your door"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(40, 135, 170, 34), 17, 17);
    painter.setPen(QColor(0x11, 0x11, 0x11));
    painter.setFont(font(family, 14));
    painter.drawText(QRectF(40, 135, 170, 34), Qt::AlignCenter, QStringLiteral("Track delivery"));
    painter.setPen(Qt::white);
    painter.setFont(font(family, 13));
    painter.drawText(QPointF(40, 205), QStringLiteral("June 16, 2026 at 6:31 PM"));
    return picture;
}

TEST(ReaderFidelity, LinesOfABannerOverAGradientAreRead) {
    // The heading, the subtitle and the small date line, each over another part of
    // the gradient.
    const QStringList expected{QStringLiteral("Filter notice summary"),
                               QStringLiteral("Follow the package from the store to your door"),
                               QStringLiteral("June 16, 2026 at 6:31 PM")};
    for (const QString& family : families()) {
        const QStringList got = linesOf(read(drawBanner(family)).text(LineMode::keep));
        for (const QString& line : expected)
            EXPECT_TRUE(got.contains(line)) << family.toStdString() << ": " << got.join(u'|').toStdString();
    }
}

// Code drawn in a monospace font; `dark` draws an editor's dark theme, `hinted` the
// narrower glyphs of a desktop set to full hinting.
QImage drawCode(const QStringList& code, bool dark, bool hinted) {
    QFont mono = font(QStringLiteral("DejaVu Sans Mono"), 14);
    if (hinted)
        mono.setHintingPreference(QFont::PreferFullHinting);
    const QFontMetricsF metrics(mono);
    QImage picture(640, static_cast<int>(code.size() * 21 + 40), QImage::Format_RGB32);
    picture.fill(dark ? QColor(0x1e, 0x1e, 0x1e) : Qt::white);
    QPainter painter(&picture);
    painter.setFont(mono);
    painter.setPen(dark ? QColor(0xd4, 0xd4, 0xd4) : QColor(0x1f, 0x23, 0x28));
    for (qsizetype i = 0; i < code.size(); ++i)
        painter.drawText(QPointF(20, 20 + metrics.ascent() + i * 21), code[i]);
    return picture;
}

TEST(ReaderFidelity, ADashThatAWordStartsWithIsNoListMarker) {
    // A directory listing and command options in a terminal: each line starts with a
    // dash that belongs to its word.
    const QStringList listing{QStringLiteral("-rw-r--r-- 1 anna anna 812 CMakeCache.txt"),
                              QStringLiteral("-rwxr-xr-x 1 anna anna 4096 configure"),
                              QStringLiteral("--verbose prints every step")};
    const QImage picture = drawCode(listing, true, false);
    for (const QString& line : linesOf(read(picture).text(LineMode::keep)))
        EXPECT_TRUE(line.startsWith(u'-')) << line.toStdString();
}

TEST(ReaderFidelity, NoLineOfCodeIsLostInEitherThemeOrMode) {
    const std::vector<QStringList> programs{
        {"function total(items) {", "  let sum = 0;", "  for (const item of items) {", "    if (item.price > 0) {",
         "      sum += item.price;", "    }", "  }", "  return sum;", "}"},
        {"int count(void)", "{", "    int n = 0;", "    while (n < 10) {", "        n++;", "    }", "    return n;",
         "}"},
        {"def mean(values):", "    if not values:", "        return 0", "    return sum(values) / len(values)"},
    };
    for (const QStringList& program : programs) {
        for (const auto& [dark, hinted] : {std::pair(false, false), std::pair(true, false), std::pair(false, true)}) {
            const Reading reading = read(drawCode(program, dark, hinted));
            for (const LineMode mode : {LineMode::keep, LineMode::join}) {
                const QStringList lines = linesOf(reading.text(mode));
                ASSERT_EQ(lines.size(), program.size())
                    << program.front().toStdString() << " dark " << dark << " hinted " << hinted << "\n"
                    << lines.join(u'\n').toStdString();
                for (qsizetype i = 0; i < lines.size(); ++i) {
                    // Lone braces, the lines most easily lost, come back exactly.
                    if (program[i].trimmed().size() == 1) {
                        EXPECT_EQ(lines[i].trimmed().toStdString(), program[i].trimmed().toStdString());
                    }
                    // No glyph is read twice ("int n n=0;") or dropped: spaces aside, a
                    // line is as long as the code drawn.
                    EXPECT_EQ(QString(lines[i]).remove(u' ').size(), QString(program[i]).remove(u' ').size())
                        << lines[i].toStdString();
                }
            }
        }
    }
}

// Buttons, a selection and a badge on a page of `size`, light or dark: a panel is only
// a little taller than its text, however large the screen.
QImage drawPatches(const QString& family, QSize size, bool dark) {
    const QFont f = font(family, 14);
    const QFontMetricsF metrics(f);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(dark ? QColor(0x1e, 0x1e, 0x1e) : Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(f);
    painter.setPen(dark ? QColor(0xd4, 0xd4, 0xd4) : Qt::black);
    painter.drawText(QPointF(20, 30), QStringLiteral("Your changes have not been saved yet."));
    auto patch = [&](double x, double y, const QString& label, QColor fill, QColor ink, double padding) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(x, y - metrics.ascent() - padding / 2,
                                       metrics.horizontalAdvance(label) + 2 * padding, metrics.height() + padding),
                                6, 6);
        painter.setPen(ink);
        painter.drawText(QPointF(x + padding, y), label);
    };
    patch(20, 80, QStringLiteral("Save changes"), QColor(0x25, 0x63, 0xeb), Qt::white, 14);
    patch(20, 130, QStringLiteral("Selected text stays readable"), QColor(0x26, 0x4f, 0x78), Qt::white, 12);
    patch(20, 175, QStringLiteral("Beta"), QColor(0xfd, 0xe0, 0x47), QColor(0x11, 0x11, 0x11), 8);
    painter.end();
    return picture;
}

TEST(ReaderFidelity, LightTextOnColouredPatchesReadsWithoutSpecks) {
    const QStringList expected{"Your changes have not been saved yet.", "Save changes", "Selected text stays readable",
                               "Beta"};
    for (const QString& family : families()) {
        for (const auto& [size, dark] : {std::pair(QSize(700, 200), false), std::pair(QSize(1600, 900), false),
                                         std::pair(QSize(1600, 900), true)}) {
            EXPECT_EQ(linesOf(read(drawPatches(family, size, dark)).text(LineMode::keep)).join(u'\n').toStdString(),
                      expected.join(u'\n').toStdString())
                << family.toStdString() << " " << size.width() << " dark " << dark;
        }
    }
}

// A ruled table; its first row a header.
QImage drawTable(const QList<QStringList>& cells, const QList<int>& widths) {
    const QFont f = font(QStringLiteral("DejaVu Sans"), 13);
    int total = 0;
    for (const int w : widths)
        total += w;
    QImage picture(total + 40, static_cast<int>(cells.size() * 32 + 40), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(f);
    for (qsizetype r = 0; r <= cells.size(); ++r) {
        painter.setPen(QColor(0xc8, 0xcc, 0xd2));
        painter.drawLine(20, 20 + r * 32, 20 + total, 20 + r * 32);
        if (r == cells.size())
            break;
        painter.setPen(Qt::black);
        int x = 20;
        for (qsizetype c = 0; c < cells[r].size(); ++c) {
            painter.drawText(QPointF(x + 10, 20 + r * 32 + 21), cells[r][c]);
            x += widths[c];
        }
    }
    return picture;
}

TEST(ReaderFidelity, ATableOfLongCellsStaysATable) {
    const QList<QStringList> cells{
        {"Task", "Owner", "Next step"},
        {"Move the build to the new server", "Anna and the platform team", "ask the vendor for a date"},
        {"Write the release notes for May", "Ben from the docs group", "review it with the leads"},
        {"Plan the summer team event", "Dana with two helpers", "send out the invitations"},
    };
    const Reading reading = read(drawTable(cells, {280, 240, 230}));
    ASSERT_TRUE(reading.table.has_value());
    EXPECT_EQ(reading.table->rows, cells);
}

TEST(ReaderFidelity, CodesAndNumbersOfATableAreReadAsDrawn) {
    const QList<QStringList> cells{
        {"Region", "Q1", "Q2", "Q3", "Q4"},
        {"North", "1,204", "1,310", "998", "1,451"},
        {"South", "870", "912", "1,005", "1,120"},
        {"West", "411", "467", "502", "588"},
    };
    const Reading reading = read(drawTable(cells, {120, 90, 90, 90, 90}));
    ASSERT_TRUE(reading.table.has_value());
    EXPECT_EQ(reading.table->rows, cells);
}

TEST(ReaderFidelity, ATablesRulesOnADarkPageAreNotReadAsBars) {
    // A page in a dark theme with a small ruled table in it: the light rules turn dark
    // with the page and stand between the cells like "|".
    const QList<QStringList> cells{{"Plan", "Price", "Storage"}, {"Basic", "4.99", "50 GB"},
                                   {"Team", "12.00", "1 TB"}, {"Business", "20.00", "5 TB"}};
    for (const QString& family : families()) {
        const QFont f = font(family, 14);
        QImage picture(960, 320, QImage::Format_RGB32);
        picture.fill(QColor(0x1e, 0x1e, 0x1e));
        QPainter painter(&picture);
        painter.setFont(f);
        painter.setPen(QColor(0xd4, 0xd4, 0xd4));
        painter.drawText(QPointF(24, 40), QStringLiteral("Prices for every plan are listed below, per month."));
        // Columns as wide as their widest cell and its padding, as a browser draws them.
        const QFontMetricsF metrics(f);
        QList<int> columns{24};
        for (qsizetype c = 0; c < cells.front().size(); ++c) {
            double widest = 0;
            for (const QStringList& row : cells)
                widest = std::max(widest, metrics.horizontalAdvance(row[c]));
            columns.append(columns.back() + static_cast<int>(std::ceil(widest)) + 21);
        }
        const int top = 70;
        const int rowHeight = 28;
        painter.setPen(QColor(0xd0, 0xd7, 0xde));
        for (qsizetype r = 0; r <= cells.size(); ++r)
            painter.drawLine(columns.front(), top + r * rowHeight, columns.back(), top + r * rowHeight);
        for (const int x : columns)
            painter.drawLine(x, top, x, top + cells.size() * rowHeight);
        painter.setPen(QColor(0xd4, 0xd4, 0xd4));
        for (qsizetype r = 0; r < cells.size(); ++r)
            for (qsizetype c = 0; c < cells[r].size(); ++c)
                painter.drawText(QPointF(columns[c] + 10, top + r * rowHeight + 19), cells[r][c]);
        painter.end();
        const QString text = read(picture).text(LineMode::keep);
        EXPECT_FALSE(text.contains(u'|')) << family.toStdString() << "\n" << text.toStdString();
        for (const QStringList& row : cells)
            for (const QString& cell : row)
                EXPECT_TRUE(text.contains(cell.section(u' ', 0, 0))) << cell.toStdString() << "\n" << text.toStdString();
    }
}

// Lines of prose, black on white, two text heights apart.
QImage drawLines(const QStringList& lines, const QString& family, int pixels, int width) {
    QImage picture(width, 40 + static_cast<int>(lines.size()) * 2 * pixels, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(font(family, pixels));
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(16, 20 + pixels + i * 2 * pixels), lines[i]);
    return picture;
}

TEST(ReaderFidelity, DashesBetweenWordsAreReadAsDrawn) {
    const QString enDash(QChar(0x2013));
    const QString emDash(QChar(0x2014));
    const QStringList lines{QStringLiteral("The well-known result - which nobody expected - came at last"),
                            QStringLiteral("Pages are missing ") + enDash + QStringLiteral(" so the report is short"),
                            QStringLiteral("She waited ") + emDash + QStringLiteral(" and waited for the bus")};
    for (const QString& family : families()) {
        for (const int pixels : {13, 16}) {
            const QStringList got = linesOf(read(drawLines(lines, family, pixels, 620)).text(LineMode::keep));
            ASSERT_EQ(got.size(), lines.size()) << family.toStdString() << " " << pixels;
            EXPECT_TRUE(got[0].contains(QStringLiteral("result - which"))) << got[0].toStdString();
            EXPECT_TRUE(got[1].contains(QStringLiteral("missing ") + enDash)) << got[1].toStdString();
            EXPECT_TRUE(got[2].contains(QStringLiteral("waited ") + emDash)) << got[2].toStdString();
        }
    }
}

TEST(ReaderFidelity, AListingsModesOfSmallLettersAndDashesAreNotLost) {
    // In a monospace font whose dashes touch, "-rw-r--r--" holds no letter of full
    // height and its dashes look like rules to the page layout, which leaves them out.
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Mono")))
        GTEST_SKIP() << "Liberation Mono is not installed";
    const QStringList lines{QStringLiteral("$ ls -l"),
                            QStringLiteral("total 135"),
                            QStringLiteral("-rwxr-xr-x 4 mia users  402809 Mar 28 16:36 model.txt"),
                            QStringLiteral("-rw-r--r-- 8 mia users  483300 Mar 25 02:28 message.txt"),
                            QStringLiteral("-rw-r--r-- 7 mia staff  766914 2026-04-05 17:00 range.cpp"),
                            QStringLiteral("drwxr-xr-x 5 alex staff    4096 Mar  1 12:09 order")};
    for (const int pixels : {16, 20}) {
        const int step = pixels * 13 / 10;
        QImage picture(40 * pixels, 40 + static_cast<int>(lines.size()) * step, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setFont(font(QStringLiteral("Liberation Mono"), pixels));
        painter.setPen(QColor(0x1f, 0x23, 0x28));
        for (qsizetype i = 0; i < lines.size(); ++i)
            painter.drawText(QPointF(20, 20 + pixels + i * step), lines[i]);
        painter.end();
        const QStringList got = linesOf(read(picture).text(LineMode::keep));
        ASSERT_EQ(got.size(), lines.size()) << got.join(u'\n').toStdString();
        // A glyph of a mode may still be misread or dropped, but not its run of dashes.
        for (qsizetype i = 2; i < lines.size(); ++i) {
            const QString mode = got[i].section(u' ', 0, 0);
            EXPECT_TRUE(mode.size() >= 9 && mode.front() == lines[i].front()) << pixels << ": " << got[i].toStdString();
        }
    }
}

TEST(ReaderFidelity, MiddleDotsBetweenWordsAreReadAsDrawn) {
    const QString dot(QChar(0x00b7));
    const QStringList lines{QStringLiteral("Maria Lopez ") + dot + QStringLiteral(" 09:41"),
                            QStringLiteral("Privacy ") + dot + QStringLiteral(" Terms ") + dot + QStringLiteral(" Help"),
                            QStringLiteral("The build passed. The notes follow soon.")};
    for (const QString& family : families()) {
        for (const int pixels : {13, 16}) {
            const QStringList got = linesOf(read(drawLines(lines, family, pixels, 520)).text(LineMode::keep));
            EXPECT_EQ(got.join(u'\n').toStdString(), lines.join(u'\n').toStdString())
                << family.toStdString() << " " << pixels;
        }
    }
}

TEST(ReaderFidelity, AccentedWordsComeThroughWithTheLatinScriptModel) {
    if (!installedTraineddata().contains(QString::fromLatin1(latinScriptModel)))
        GTEST_SKIP() << "the Latin-script model is not installed";
    const QStringList lines{QStringLiteral("Café Müller, Straße"), QStringLiteral("Señor Muñoz pidió una canción"),
                            QStringLiteral("Größere Übungen für Jürgen")};
    for (const QString& family : families()) {
        const QFont f = font(family, 15);
        QImage picture(520, 120, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setFont(f);
        for (qsizetype i = 0; i < lines.size(); ++i)
            painter.drawText(QPointF(20, 35 + i * 26), lines[i]);
        painter.end();
        ReadOptions options;
        options.languages = {QStringLiteral("de-DE"), QStringLiteral("es-ES")};
        EXPECT_EQ(linesOf(read(picture, options).text(LineMode::keep)), lines) << family.toStdString();
    }
}

}  // namespace

namespace {

// A terminal: light mono text on a dark ground, each line drawn as it stands, spaces
// and all, at `scale` times 12 px.
QImage drawTerminal(const QStringList& lines, int scale) {
    const QFont mono = font(QStringLiteral("DejaVu Sans Mono"), 12 * scale);
    const QFontMetricsF metrics(mono);
    QImage picture(620 * scale, static_cast<int>((lines.size() * 16 + 24) * scale), QImage::Format_RGB32);
    picture.fill(QColor(0x1e, 0x1e, 0x1e));
    QPainter painter(&picture);
    painter.setFont(mono);
    painter.setPen(QColor(0xd0, 0xd0, 0xd0));
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(12 * scale, (12 + i * 16) * scale + metrics.ascent()), lines[i]);
    painter.end();
    return picture;
}

// The runs of spaces of a line, in order: where its words start.
QList<qsizetype> spaceRuns(const QString& line) {
    QList<qsizetype> runs;
    qsizetype run = 0;
    for (const QChar c : line) {
        if (c == u' ') {
            ++run;
        } else {
            runs.append(run);
            run = 0;
        }
    }
    runs.removeAll(0);
    return runs;
}

}  // namespace

TEST(ReaderFidelity, TerminalTextKeepsItsIndentsAndSpacesAsDrawn) {
    const QStringList page{
        QStringLiteral("NAME"),
        QStringLiteral("       grep - print lines that match patterns"),
        QStringLiteral(""),
        QStringLiteral("OPTIONS"),
        QStringLiteral("       --count"),
        QStringLiteral("              Print a count of matching lines for each file."),
        QStringLiteral("       --quiet"),
        QStringLiteral("              Do not write anything to standard output."),
        QStringLiteral(""),
        QStringLiteral("drwxr-xr-x  3 anna staff  4096 Nov  2 10:02 photos"),
        QStringLiteral("-rwxr-xr-x  2 anna staff 18320 Oct 28 17:45 backup.sh"),
    };
    QStringList drawn = page;
    drawn.removeAll(QString());
    for (const int scale : {1, 2}) {
        const Reading reading = read(drawTerminal(page, scale));
        const QStringList lines = linesOf(reading.text(LineMode::keep));
        ASSERT_EQ(lines.size(), drawn.size()) << "scale " << scale << "\n" << lines.join(u'\n').toStdString();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            EXPECT_FALSE(lines[i].contains(u'\t')) << lines[i].toStdString();
            EXPECT_EQ(spaceRuns(lines[i]), spaceRuns(drawn[i])) << "scale " << scale << ": " << lines[i].toStdString();
        }
    }
}

namespace {

// A docs page: a side menu, a heading level with its items over paragraphs, and a
// contents list on the right.
QImage drawDocsPage(const QString& family) {
    QImage picture(1920, 420, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(0x1f, 0x23, 0x28));
    const QStringList menu{"Getting started", "Installation", "Quick start", "Configuration", "Accounts and roles",
                           "Dashboards", "Scheduled reports", "Exporting data", "Sharing links", "Webhooks",
                           "Command line tool", "Billing", "Audit log"};
    painter.setFont(font(family, 14));
    for (qsizetype i = 0; i < menu.size(); ++i)
        painter.drawText(QPointF(25, 38 + i * 28), menu[i]);
    const QStringList contents{"On this page", "Creating a schedule", "Formats and limits", "Troubleshooting"};
    for (qsizetype i = 0; i < contents.size(); ++i)
        painter.drawText(QPointF(1340, 38 + i * 24), contents[i]);
    painter.setFont(font(family, 30, true));
    painter.drawText(QPointF(341, 64), QStringLiteral("Scheduled reports"));
    painter.setFont(font(family, 14));
    const QStringList text{
        "A scheduled report sends a dashboard to a list of people at a fixed time. Each run renders",
        "the dashboard with the filters you saved and attaches it to an email message or posts it.",
        "Reports run in the time zone of the workspace. When a run fails, the owner of the report",
        "gets a notice and the next run is tried at the usual time, so nobody gets it twice.",
        "Schedules can be paused at any time from the list of reports. A paused schedule keeps its",
        "settings and starts again when you resume it, without sending the runs it missed.",
    };
    for (qsizetype i = 0; i < text.size(); ++i)
        painter.drawText(QPointF(340, 110 + i * 22 + (i / 2) * 16), text[i]);
    painter.end();
    return picture;
}

}  // namespace

TEST(ReaderFidelity, APagesMenuAndContentsAreBlocksBesideItsText) {
    for (const QString& family : families()) {
        const Reading reading = read(drawDocsPage(family));
        const QString text = reading.text(LineMode::keep);
        EXPECT_FALSE(reading.table.has_value()) << family.toStdString();
        const QStringList lines = linesOf(text);
        // No row glues a menu item to a line of the text.
        for (const QString& line : lines)
            EXPECT_FALSE(line.contains(u'\t') && (line.contains(QStringLiteral("Installation")) ||
                                                  line.contains(QStringLiteral("Quick start"))))
                << family.toStdString() << "\n" << text.toStdString();
        // The heading, level with a menu item, is read whole.
        EXPECT_TRUE(lines.contains(QStringLiteral("Scheduled reports"))) << text.toStdString();
        // The menu first, then the text, then the contents.
        EXPECT_LT(text.indexOf(QStringLiteral("Audit log")), text.indexOf(QStringLiteral("scheduled report sends")))
            << text.toStdString();
        EXPECT_LT(text.indexOf(QStringLiteral("runs it missed")), text.indexOf(QStringLiteral("On this page")));
    }
}

namespace {

const QStringList sideMenu{"Getting started", "Installation", "Quick start", "Configuration", "Accounts and roles",
                           "Dashboards", "Scheduled reports", "Exporting data", "Sharing links", "Webhooks",
                           "Command line tool", "Billing", "Audit log", "Release notes"};
const QStringList sideContents{"On this page", "Creating a schedule", "Formats and limits"};
const QStringList columnText{
    "Every scheduled report sends a dashboard to a list of people at a fixed time.",
    "Each run renders the dashboard with the filters you saved and attaches it.",
    "Reports run in the time zone of the workspace. When a run fails, the owner",
    "gets a notice and the next run is tried at the usual time, never twice.",
    "Schedules can be paused at any time from the list of reports. A paused one",
    "keeps its settings and starts again when you resume it, without the runs",
    "it missed while it was paused, so nobody gets a pile of old reports.",
};

// A docs page whose menu, text and contents each keep their own line spacing, the text
// broken by headings, so few lines stand level with each other across the columns.
QImage drawSpacedDocsPage(const QString& family) {
    QImage picture(1180, 460, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(0x55, 0x5b, 0x66));
    painter.setFont(font(family, 14));
    for (qsizetype i = 0; i < sideMenu.size(); ++i)
        painter.drawText(QPointF(20, 34 + i * 29), sideMenu[i]);
    for (qsizetype i = 0; i < sideContents.size(); ++i)
        painter.drawText(QPointF(950, 34 + i * 25), sideContents[i]);
    painter.setPen(QColor(0x1f, 0x23, 0x28));
    painter.setFont(font(family, 28, true));
    painter.drawText(QPointF(260, 48), QStringLiteral("Scheduled reports"));
    double baseline = 72;
    for (qsizetype i = 0; i < columnText.size(); ++i) {
        if (i % 3 == 0) {
            painter.setFont(font(family, 20, true));
            baseline += 38;
            painter.drawText(QPointF(260, baseline), QStringLiteral("Section %1").arg(i / 3 + 1));
            baseline += 8;
            painter.setFont(font(family, 16));
        }
        baseline += 24;
        painter.drawText(QPointF(260, baseline), columnText[i]);
    }
    painter.end();
    return picture;
}

}  // namespace

TEST(ReaderPageColumns, ColumnsWithTheirOwnLineSpacingAreReadLineByLine) {
    for (const QString& family : families()) {
        const Reading reading = read(drawSpacedDocsPage(family));
        const QString text = reading.text(LineMode::keep);
        EXPECT_FALSE(reading.table.has_value()) << family.toStdString();
        const QStringList lines = linesOf(text);
        for (const QStringList& column : {sideMenu, columnText, sideContents})
            for (const QString& line : column)
                EXPECT_TRUE(lines.contains(line)) << family.toStdString() << ": " << line.toStdString() << "\n"
                                                  << text.toStdString();
        EXPECT_LT(text.indexOf(QStringLiteral("Release notes")), text.indexOf(columnText.front())) << text.toStdString();
        EXPECT_LT(text.indexOf(columnText.back()), text.indexOf(QStringLiteral("On this page"))) << text.toStdString();
    }
}

namespace {

// Chat messages: a round avatar in its own colour beside each sender's bold name and
// time, the message under them.
QImage drawChat(const QString& family, int pixels, bool dark, const QList<QStringList>& messages) {
    const double row = 1.5 * pixels;
    const int avatar = 32 * pixels / 15;
    QImage picture(680, 30 + static_cast<int>(messages.size() * (2 * row + 14)), QImage::Format_RGB32);
    picture.fill(dark ? QColor(0x1e, 0x1f, 0x22) : Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor discs[] = {QColor(0x5c, 0xc8, 0x6a), QColor(0xd0, 0x4f, 0x8c), QColor(0xd6, 0xc8, 0x4a)};
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const double top = 20 + i * (2 * row + 14);
        painter.setPen(Qt::NoPen);
        painter.setBrush(discs[i % 3]);
        painter.drawEllipse(QRectF(20, top, avatar, avatar));
        painter.setPen(dark ? QColor(0xee, 0xee, 0xee) : QColor(0x1c, 0x1c, 0x1e));
        painter.setFont(font(family, pixels, true));
        painter.drawText(QPointF(30 + avatar, top + pixels), messages[i][0]);
        painter.setFont(font(family, pixels));
        painter.drawText(QPointF(30 + avatar, top + pixels + row), messages[i][1]);
    }
    return picture;
}

}  // namespace

TEST(ReaderAvatars, MessagesBesideRoundAvatarsAreReadWithoutMarks) {
    const QList<QStringList> messages{
        {QStringLiteral("Aiko Tanaka 09:46"), QStringLiteral("The build passed on every runner.")},
        {QStringLiteral("Ben Carter 07:47"), QStringLiteral("Moved the review to Friday at noon.")},
        {QStringLiteral("Lea Martin 22:48"), QStringLiteral("Thanks, the invoice is paid now.")},
    };
    QStringList expected;
    for (const QStringList& message : messages)
        expected << message;
    for (const QString& family : families())
        for (const bool dark : {false, true})
            for (const int pixels : {13, 19}) {
                // No avatar read as "@" or "r" before a name, no message glued to one.
                const Reading reading = read(drawChat(family, pixels, dark, messages));
                EXPECT_EQ(linesOf(reading.text(LineMode::keep)).join(u'\n').toStdString(),
                          expected.join(u'\n').toStdString())
                    << family.toStdString() << " " << pixels << (dark ? " dark" : " light");
            }
}

TEST(ReaderAvatars, OnlyFilledShapesLargerThanTheTextAreTakenForPictures) {
    QImage gray(300, 80, QImage::Format_Grayscale8);
    gray.fill(255);
    QPainter painter(&gray);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 200, 200));  // a pale avatar counts as much as a dark one
    painter.drawEllipse(QRectF(10, 10, 32, 32));
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRectF(60, 20, 6, 6));  // a list's disc marker
    painter.drawRect(QRectF(80, 20, 60, 6));    // a bar
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(160, 10, 32, 32));  // a ring holds ground
    painter.setFont(font(QStringLiteral("DejaVu Sans"), 40, true));
    painter.drawText(QPointF(210, 50), QStringLiteral("O"));
    painter.end();
    const std::vector<QRect> found = solidShapes(gray, 10.0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found.front().contains(QRect(10, 10, 32, 32)));
}

TEST(ReaderLookAlikes, AnLAndAOneAreToldApartByTheirLookOnThePage) {
    // In these fonts "l" and "1" differ by a serif or a flag, and "ls -l" alone gives the
    // recognizer no hint; the page's other words show both glyphs.
    const QStringList lines{QStringLiteral("$ ls -l /var/log"),
                            QStringLiteral("total 118"),
                            QStringLiteral("-rw-r--r-- 1 alex users  148211 2026-11-20 19:22 model.json"),
                            QStringLiteral("-rwxr-xr-x 1 mia  staff   12118 Jan 11 10:41 release.log"),
                            QStringLiteral("drwxr-xr-x 2 root staff    4096 Nov 21 12:17 local"),
                            QStringLiteral("$ sleep 1; echo -1")};
    for (const QString& family : {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const int pixels : {14, 18}) {
            const int step = pixels * 13 / 10;
            QImage picture(36 * pixels, 40 + static_cast<int>(lines.size()) * step, QImage::Format_RGB32);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            painter.setFont(font(family, pixels));
            painter.setPen(QColor(0x1f, 0x23, 0x28));
            for (qsizetype i = 0; i < lines.size(); ++i)
                painter.drawText(QPointF(20, 20 + pixels + i * step), lines[i]);
            painter.end();
            const QStringList got = linesOf(read(picture).text(LineMode::keep));
            ASSERT_EQ(got.size(), lines.size()) << got.join(u'\n').toStdString();
            EXPECT_TRUE(got.front().startsWith(QStringLiteral("$ ls -l")))
                << family.toStdString() << " " << pixels << ": " << got.front().toStdString();
            // A figure one stays a one.
            EXPECT_TRUE(got.back().contains(QStringLiteral("1;")) && got.back().endsWith(QStringLiteral("echo -1")))
                << family.toStdString() << " " << pixels << ": " << got.back().toStdString();
        }
    }
}

TEST(ReaderFidelityOfUnsureWords, AWordTheRecognizerGaveUpOnIsReadAgainWhole) {
    // Light on dark, small serif type: in the line, "élèves" comes back as "lèves", its
    // box still holding the "é", and with no confidence.
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Serif")))
        GTEST_SKIP() << "Liberation Serif is not installed";
    QImage picture(700, 60, QImage::Format_RGB32);
    picture.fill(QColor(30, 30, 35));
    QPainter painter(&picture);
    painter.setFont(font(QStringLiteral("Liberation Serif"), 11));
    painter.setPen(QColor(230, 230, 230));
    painter.drawText(QPointF(10, 35),
                     QStringLiteral("Les élèves ont présenté leurs résultats avec beaucoup d\u2019assurance."));
    painter.end();
    ReadOptions options;
    options.languages = {QStringLiteral("fr-FR")};
    const QString text = read(picture, options).text(LineMode::keep);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Les élèves "))) << text.toStdString();
}

TEST(ListMarkerGaps, AWordsFirstLetterBesideItsNextIsNoMarker) {
    // A man page's synopsis: one word of small letters before capitals in brackets. Its
    // "e" is ring-shaped, and few words show no word space to measure the gap by.
    const QStringList synopsis{QStringLiteral("SYNOPSIS"), QStringLiteral("       export [OPTION]... [FILE]..."),
                               QStringLiteral("       merge [OPTION]... [FILE]...")};
    for (const QString& family : {QStringLiteral("Liberation Mono"), QStringLiteral("Noto Sans Mono")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const int pixels : {16, 20, 26}) {
            QFont mono = font(family, pixels);
            const QFontMetricsF metrics(mono);
            QImage picture(40 + static_cast<int>(metrics.horizontalAdvance(synopsis[1]) * 1.3),
                           static_cast<int>(synopsis.size() * metrics.height() * 1.4 + 40), QImage::Format_RGB32);
            picture.fill(QColor(0x12, 0x13, 0x15));
            QPainter painter(&picture);
            painter.setFont(mono);
            painter.setPen(QColor(0xd8, 0xd8, 0xd8));
            for (qsizetype i = 0; i < synopsis.size(); ++i)
                painter.drawText(QPointF(20, 20 + metrics.ascent() + i * metrics.height() * 1.4), synopsis[i]);
            painter.end();
            const QStringList lines = linesOf(read(picture).text(LineMode::keep));
            ASSERT_EQ(lines.size(), synopsis.size()) << family.toStdString() << " " << pixels;
            EXPECT_TRUE(lines[1].trimmed().startsWith(QStringLiteral("export ["))) << lines[1].toStdString();
            EXPECT_TRUE(lines[2].trimmed().startsWith(QStringLiteral("merge ["))) << lines[2].toStdString();
        }
    }
}

TEST(LargeListMarkers, ARingAsWideAsAnOIsAMarkerWhenRaisedOffTheBaselineOrShorterThanTheLetters) {
    // An x-height of 10 px over a baseline at y = 40; every ring as wide as an "o".
    QImage picture(160, 60, QImage::Format_Grayscale8);
    picture.fill(255);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1.2));
        painter.drawEllipse(QPointF(20, 33), 4.2, 4.2);     // raised
        painter.drawEllipse(QPointF(70, 36), 4.6, 3.0);     // on the baseline, short
        painter.drawEllipse(QPointF(120, 35), 4.2, 4.2);    // on the baseline, full height: a letter "o"
    }
    const int threshold = inkThreshold(picture);
    std::vector<InkShape> shapes = inkShapes(picture, threshold);
    ASSERT_EQ(shapes.size(), 3u);
    std::sort(shapes.begin(), shapes.end(), [](const InkShape& a, const InkShape& b) { return a.box.left() < b.box.left(); });
    ASSERT_GT(shapes[0].box.width(), 9);
    ASSERT_GT(shapes[1].box.width(), 9);
    EXPECT_EQ(markerShape(picture, threshold, shapes[0], 10, 40), std::optional(MarkerShape::circle));
    EXPECT_EQ(markerShape(picture, threshold, shapes[1], 10, 40), std::optional(MarkerShape::circle));
    EXPECT_FALSE(markerShape(picture, threshold, shapes[2], 10, 40).has_value());
}

namespace {

// A banner's heading drawn large and bold, its strokes wider than a small heading's,
// over the same gradient.
QImage drawLargeHeading(const QString& family) {
    QImage picture = drawBanner(family);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 720, 260);
    ground.setColorAt(0, QColor(0x3f, 0x5f, 0xd8));
    ground.setColorAt(1, QColor(0xb8, 0x3f, 0xc8));
    painter.fillRect(QRect(0, 0, 720, 84), ground);
    painter.setPen(Qt::white);
    painter.setFont(font(family, 60, true));
    painter.drawText(QPointF(30, 72), QStringLiteral("Owner address"));
    return picture;
}

// An app window under a soft tint (a light pink fading to white) with gray text on it and
// a white card, like a desktop's first-run page.
QImage drawTintedWindow(const QString& family) {
    QImage picture(600, 300, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient tint(0, 0, 200, 300);
    tint.setColorAt(0, QColor(0xf2, 0xd4, 0xe2));
    tint.setColorAt(1, QColor(0xfb, 0xf4, 0xf7));
    painter.fillRect(picture.rect(), tint);
    painter.setPen(QColor(0x1c, 0x1c, 0x1c));
    painter.setFont(font(family, 26, true));
    painter.drawText(QPointF(30, 50), QStringLiteral("Your shortcuts"));
    painter.setPen(QColor(0x5a, 0x5a, 0x5a));
    painter.setFont(font(family, 13));
    painter.drawText(QPointF(30, 85), QStringLiteral("This desktop does not let apps set global shortcuts. In its"));
    painter.drawText(QPointF(30, 103), QStringLiteral("keyboard settings, add a custom shortcut for each command."));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(30, 125, 540, 90), 10, 10);
    painter.setPen(QColor(0x22, 0x22, 0x22));
    painter.drawText(QPointF(50, 160), QStringLiteral("Grab text (line breaks kept)"));
    painter.drawText(QPointF(50, 192), QStringLiteral("Grab text (lines joined)"));
    painter.setPen(QColor(0x5a, 0x5a, 0x5a));
    painter.drawText(QPointF(30, 250), QStringLiteral("Start Glyphnab again from your apps to open its Settings."));
    return picture;
}

// A sheet as a spreadsheet draws it: a grey header row of column letters over a grid,
// each row numbered in a grey first column.
QImage drawSheet(const QString& family, int pixels, const QList<QStringList>& rows) {
    const QFont f = font(family, pixels);
    const int height = pixels * 3;
    const int widths[] = {pixels * 3, pixels * 9, pixels * 9, pixels * 9, pixels * 9};
    QImage picture(pixels * 39 + 40, static_cast<int>((rows.size() + 1) * height + 40), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(f);
    for (qsizetype r = 0; r <= rows.size(); ++r) {
        int x = 20;
        for (int c = 0; c < 5; ++c) {
            const QRect cell(x, 20 + static_cast<int>(r) * height, widths[c], height);
            if (r == 0 || c == 0)
                painter.fillRect(cell, QColor(0xf3, 0xf4, 0xf6));
            painter.setPen(QColor(0xd0, 0xd3, 0xd8));
            painter.drawRect(cell);
            painter.setPen(r == 0 || c == 0 ? QColor(0x70, 0x74, 0x7a) : QColor(0x20, 0x20, 0x20));
            const QString text = r == 0 ? (c == 0 ? QString() : QString(QChar(u'A' + c - 1)))
                                        : (c == 0 ? QString::number(r) : rows[r - 1][c - 1]);
            painter.drawText(cell.adjusted(pixels, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
            x += widths[c];
        }
    }
    return picture;
}

}  // namespace

TEST(BannerGround, AButtonOnTheGradientALargeBoldHeadingAndATintedWindowAreRead) {
    for (const QString& family : families()) {
        // Dark text on a white pill: read as drawn, the pill's edge no bracket around it.
        const QStringList banner = linesOf(read(drawBanner(family)).text(LineMode::keep));
        EXPECT_TRUE(banner.contains(QStringLiteral("Track delivery")))
            << family.toStdString() << ": " << banner.join(u'|').toStdString();
        const QStringList heading = linesOf(read(drawLargeHeading(family)).text(LineMode::keep));
        EXPECT_TRUE(heading.contains(QStringLiteral("Owner address")))
            << family.toStdString() << ": " << heading.join(u'|').toStdString();
        // A soft tint is no banner: its gray paragraph and its card keep every line.
        const QStringList window = linesOf(read(drawTintedWindow(family)).text(LineMode::keep));
        for (const QString& line :
             {QStringLiteral("Your shortcuts"), QStringLiteral("This desktop does not let apps set global shortcuts. In its"),
              QStringLiteral("keyboard settings, add a custom shortcut for each command."),
              QStringLiteral("Grab text (line breaks kept)"), QStringLiteral("Grab text (lines joined)"),
              QStringLiteral("Start Glyphnab again from your apps to open its Settings.")})
            EXPECT_TRUE(window.contains(line)) << family.toStdString() << ": " << window.join(u'|').toStdString();
    }
}

// A listing's modes ("-rw-------") whose run of dashes the page layout leaves out, wholly
// or in front of the line's first word, on light and dark terminals.
TEST(ReaderListingModes, ModesInFrontOfALineAreReadWithIt) {
    const QStringList lines{QStringLiteral("$ ls -l ~/notes"),
                            QStringLiteral("total 96"),
                            QStringLiteral("-rw-r--r-- 5 anna staff   33747 Jan 20 09:06 draft.txt"),
                            QStringLiteral("-rw------- 9 omar staff  785588 Nov 10 23:53 plan.log"),
                            QStringLiteral("-rw------- 5 anna staff  273657 2026-01-23 12:35 budget.json"),
                            QStringLiteral("-rw------- 6 omar staff  118673 2026-06-07 14:46 week.json"),
                            QStringLiteral("-rw-r--r-- 4 omar users  259878 2026-12-08 21:02 menu.cpp"),
                            QStringLiteral("drw------- 7 anna users    4096 2026-06-22 22:26 trips")};
    for (const QString& family : {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const bool dark : {false, true}) {
            for (const int pixels : {12, 20}) {
                const int step = pixels * 13 / 10;
                QImage picture(44 * pixels, 40 + static_cast<int>(lines.size()) * step, QImage::Format_RGB32);
                picture.fill(dark ? QColor(0x12, 0x14, 0x16) : QColor(Qt::white));
                QPainter painter(&picture);
                painter.setFont(font(family, pixels));
                painter.setPen(dark ? QColor(0xd8, 0xdc, 0xe0) : QColor(0x1f, 0x23, 0x28));
                for (qsizetype i = 0; i < lines.size(); ++i)
                    painter.drawText(QPointF(20, 20 + pixels + i * step), lines[i]);
                painter.end();
                const QStringList got = linesOf(read(picture).text(LineMode::keep));
                ASSERT_EQ(got.size(), lines.size()) << got.join(u'\n').toStdString();
                // A mode may still be lost now and then, not most of them.
                qsizetype whole = 0;
                for (qsizetype i = 2; i < lines.size(); ++i) {
                    const QString mode = got[i].section(u' ', 0, 0);
                    whole += mode.size() == 10 && mode.front() == lines[i].front() ? 1 : 0;
                }
                EXPECT_GE(whole, lines.size() - 3) << family.toStdString() << " " << pixels
                                                   << (dark ? " dark:\n" : " light:\n") << got.join(u'\n').toStdString();
            }
        }
    }
}

TEST(ReaderSheetHeaders, EveryColumnLetterOfTheHeaderIsReadInCapitals) {
    // Alone in its cell a "C" has nothing to tell its case by: read alone it comes back
    // as "Cc", unsure.
    const QList<QStringList> rows{{"Ticket", "Build", "Link", "Release"},
                                  {"Order", "5.50", "1.26", "2026-04-10"},
                                  {"Answer", "7486", "9831", "89%"}};
    for (const QString& family : {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const int pixels : {13, 17}) {
            const Reading reading = read(drawSheet(family, pixels, rows));
            ASSERT_TRUE(reading.table.has_value()) << family.toStdString() << " " << pixels;
            ASSERT_FALSE(reading.table->rows.isEmpty());
            QStringList header = reading.table->rows.front();
            header.removeAll(QString());
            EXPECT_EQ(header.join(u' ').toStdString(), "A B C D") << family.toStdString() << " " << pixels;
        }
    }
}

TEST(ReaderFidelityEquals, AnEqualsSignTheLayoutTookForALineOfItsOwnIsReadInItsLine) {
    // The two bars of an "=" between short words: the page layout can box them as a line
    // of blanks, and the sign is lost from its statement.
    const QStringList code{"static int window(const char *s, int n)", "{", "    int count = 5;",
                           "    for (int i = 0; i < n; ++i) {", "        if (s[i] == 'x')", "            count++;",
                           "    }", "    return count;", "}"};
    // At 19 px the layout boxes "i = 0;"'s sign as blanks of its own.
    for (const int pixels : {19}) {
        QFont mono = font(QStringLiteral("DejaVu Sans Mono"), pixels);
        const QFontMetricsF metrics(mono);
        const double pitch = metrics.height() * 1.4;
        QImage picture(40 + static_cast<int>(metrics.horizontalAdvance(code.front()) * 1.3),
                       static_cast<int>(code.size() * pitch + 40), QImage::Format_RGB32);
        picture.fill(QColor(0x28, 0x2c, 0x34));
        QPainter painter(&picture);
        painter.setFont(mono);
        painter.setPen(QColor(0xab, 0xb2, 0xbf));
        for (qsizetype i = 0; i < code.size(); ++i)
            painter.drawText(QPointF(20, 20 + metrics.ascent() + double(i) * pitch), code[i]);
        painter.end();
        const QString text = read(picture).text(LineMode::keep);
        EXPECT_TRUE(text.contains(QStringLiteral("(int i = 0;"))) << pixels << ": " << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("count = 5;"))) << pixels << ": " << text.toStdString();
    }
}

namespace {

// The tinted window's controls: a selected segment and a suggested-action button, white
// text on one flat deep pink, beside a light segment.
QImage drawTintedControls(const QString& family) {
    QImage picture = drawTintedWindow(family);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font(family, 13, true));
    painter.setPen(QColor(0xd8, 0xc8, 0xd0));
    painter.setBrush(QColor(0xf4, 0xee, 0xf1));
    painter.drawRoundedRect(QRectF(30, 262, 320, 28), 14, 14);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xb0, 0x1f, 0x58));
    painter.drawRoundedRect(QRectF(32, 264, 136, 24), 12, 12);
    painter.drawRoundedRect(QRectF(470, 258, 100, 34), 17, 17);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(44, 281), QStringLiteral("Keep line breaks"));
    painter.drawText(QPointF(498, 280), QStringLiteral("Done"));
    painter.setPen(QColor(0x33, 0x33, 0x33));
    painter.setFont(font(family, 13));
    painter.drawText(QPointF(180, 281), QStringLiteral("Join lines"));
    return picture;
}

}  // namespace

TEST(TintedControls, LightTextOnAFlatColouredControlInATintedWindowIsRead) {
    for (const QString& family : families()) {
        const QString text = read(drawTintedControls(family)).text(LineMode::keep);
        for (const QString& words : {QStringLiteral("Keep line breaks"), QStringLiteral("Done"),
                                     QStringLiteral("Join lines"), QStringLiteral("Grab text (lines joined)")})
            EXPECT_TRUE(text.contains(words)) << family.toStdString() << ": " << text.toStdString();
    }
}

namespace {

// A dialog's foot: a pager's two dots and bar, filled blobs as tall as the text, beside
// buttons; above it a line of bold short words.
QImage drawPagerFoot(const QString& family) {
    QImage picture(480, 120, QImage::Format_RGB32);
    picture.fill(QColor(0xf6, 0xf4, 0xf5));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x22, 0x22, 0x22));
    painter.setFont(font(family, 13, true));
    painter.drawText(QPointF(30, 36), QStringLiteral("Go on if it is so"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x44, 0x44, 0x44));
    painter.drawEllipse(QRectF(30, 82, 7, 7));
    painter.drawEllipse(QRectF(43, 82, 7, 7));
    painter.setBrush(QColor(0xb0, 0x1f, 0x58));
    painter.drawRoundedRect(QRectF(56, 82, 22, 7), 3.5, 3.5);
    painter.setPen(QColor(0x22, 0x22, 0x22));
    painter.drawText(QPointF(330, 91), QStringLiteral("Back"));
    painter.drawText(QPointF(400, 91), QStringLiteral("Done"));
    return picture;
}

}  // namespace

TEST(IconWords, APagersBlobsAreNoWordsAndShortBoldWordsStay) {
    for (const QString& family : families()) {
        const QStringList got = linesOf(read(drawPagerFoot(family)).text(LineMode::keep));
        ASSERT_EQ(got.size(), 2) << family.toStdString() << ": " << got.join(u'|').toStdString();
        EXPECT_EQ(got[0].toStdString(), "Go on if it is so") << family.toStdString();
        QStringList foot = got[1].split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        foot.removeAll(QStringLiteral("\u2022"));  // a dot alone reads as the bullet it looks like
        EXPECT_EQ(foot.join(u' ').toStdString(), "Back Done") << family.toStdString();
    }
}

TEST(ReaderLoneGlyphs, EveryColumnLetterAndRowNumberOfASheetIsRead) {
    // Alone in its cell a letter or figure can come back as two characters over its ink
    // ("E" as "[3", "5" as "5)"), or as a mark its one shape cannot be ("=").
    QList<QStringList> rows;
    for (int r = 1; r <= 10; ++r)
        rows.append({QStringLiteral("Item %1").arg(r), QStringLiteral("%1.5").arg(r), QStringLiteral("Note"),
                     QStringLiteral("%1%").arg(r * 7)});
    for (const QString& family : {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const int pixels : {12, 18}) {
            const Reading reading = read(drawSheet(family, pixels, rows));
            const std::string look = family.toStdString() + " " + std::to_string(pixels);
            ASSERT_TRUE(reading.table.has_value()) << look;
            QStringList letters = reading.table->rows.value(0);
            letters.removeAll(QString());
            QStringList numbers;
            for (const QStringList& row : reading.table->rows)
                if (!row.isEmpty() && !row.front().isEmpty())
                    numbers.append(row.front());
            EXPECT_EQ(letters.join(u' ').toStdString(), "A B C D") << look;
            EXPECT_EQ(numbers.join(u' ').toStdString(), "1 2 3 4 5 6 7 8 9 10") << look;
        }
    }
}

namespace {

// A C function in an editor's theme, by default light and large (a 20 px font on a
// screen at twice the scale): keywords, figures and strings each in a colour of their
// own. Each line is drawn token by token, "|" between the tokens, the tokens alternating
// plain and coloured.
struct CodeLook {
    int pixels = 40;
    double letterSpacing = 0.6;
    double pitch = 1.4;
    int width = 1300;
    int margin = 40;
    bool dark = false;
};

QImage drawColouredCode(const QString& family, const QStringList& code, const CodeLook& look = {}) {
    QFont mono = font(family, look.pixels);
    mono.setLetterSpacing(QFont::AbsoluteSpacing, look.letterSpacing);
    const QFontMetricsF metrics(mono);
    const double pitch = look.pitch * mono.pixelSize();
    QImage picture(look.width, static_cast<int>(code.size() * pitch + 2 * look.margin), QImage::Format_RGB32);
    picture.fill(look.dark ? QColor(0x28, 0x2c, 0x34) : QColor(0xf1, 0xec, 0xe2));
    QPainter painter(&picture);
    painter.setFont(mono);
    using Palette = std::array<QColor, 3>;
    const Palette colours = look.dark
                                ? Palette{QColor(0xc6, 0x78, 0xdd), QColor(0xd1, 0x9a, 0x66), QColor(0x98, 0xc3, 0x79)}
                                : Palette{QColor(0xa6, 0x26, 0xa4), QColor(0x98, 0x68, 0x01), QColor(0x50, 0xa1, 0x4f)};
    const QColor plain = look.dark ? QColor(0xab, 0xb2, 0xbf) : QColor(0x2b, 0x26, 0x20);
    for (qsizetype i = 0; i < code.size(); ++i) {
        double x = look.margin;
        const double y = look.margin + metrics.ascent() + double(i) * pitch;
        const QStringList tokens = code[i].split(u'|');
        for (qsizetype t = 0; t < tokens.size(); ++t) {
            painter.setPen(t % 2 == 0 ? plain : colours[static_cast<std::size_t>(i + t) % 3]);
            painter.drawText(QPointF(x, y), tokens[t]);
            x += metrics.horizontalAdvance(tokens[t]);
        }
    }
    return picture;
}

// A C function counting in a loop whose line holds coloured tokens far apart.
QStringList colouredLoop() {
    return {"#include <stdio.h>", "", "|static| |int| detail(|const| char *s, |int| n)", "{",
            "    |int| count = |5|;", "    |for| (|int| i = |0|; i < n; ++i) {",
            "        |if| (s[i] == |'x'|)", "            count++;", "    }", "    |return| count;", "}"};
}

}  // namespace

TEST(ReaderLineTails, ALinesTailTheLayoutCutOffAtAWideGapIsReadWithIt) {
    // The layout can break a line of large code at the gap before a coloured token and
    // drop what follows ("'x')") as noise.
    const QStringList code = colouredLoop();
    if (!QFontDatabase::hasFamily(QStringLiteral("Noto Sans Mono")))
        GTEST_SKIP() << "the layout breaks this line in Noto Sans Mono";
    const QString text = read(drawColouredCode(QStringLiteral("Noto Sans Mono"), code)).text(LineMode::keep);
    EXPECT_TRUE(text.contains(QStringLiteral("if (s[i] == 'x')"))) << text.toStdString();
}

TEST(ReaderEdgeGlyphs, ACharacterWhoseCellsMiddleIsPastThePicturesEdgeIsNotRead) {
    // The long lines run past the edge, cut a third of a cell into their 47th character;
    // only the first two hold the slim letters that tell a fixed-width font.
    const QStringList page{
        QStringLiteral("$ ls -l ~/build"),
        QStringLiteral("-rw-r--r-- 1 lina staff  2048 Jan 12 09:41 install.log"),
        QStringLiteral("-rwxr-xr-x 2 root users 50210 Mar  8 14:05 outputs"),
        QStringLiteral("-rw-r--r-- 3 root users  9170 Mar 22 18:30 sources.tar"),
        QStringLiteral("total 3"),
    };
    for (const int scale : {1, 2}) {
        const QImage whole = drawTerminal(page, scale);
        const double advance = QFontMetricsF(font(QStringLiteral("DejaVu Sans Mono"), 12 * scale)).horizontalAdvance(u'm');
        const int edge = static_cast<int>(std::lround(12 * scale + advance * (46 + 1.0 / 3.0)));
        const QStringList lines = linesOf(read(whole.copy(0, 0, edge, whole.height())).text(LineMode::keep));
        QStringList expected;
        for (const QString& line : page)
            expected.append(line.left(46).trimmed());
        EXPECT_EQ(lines.join(u'\n').toStdString(), expected.join(u'\n').toStdString()) << "scale " << scale;
    }
}

TEST(ReaderSwallowedGlyphs, TwoLettersOfAFixedWidthLineBoxedAsOneAreReadEach) {
    // Slightly spaced, as a terminal with letter spacing draws them; the listing's slim
    // letters tell the page's cell.
    const QStringList page{
        QStringLiteral("$ ls -l"),
        QStringLiteral("total 337"),
        QStringLiteral("drw-r--r-- 7 root staff    4096 Jun 16 12:50 address"),
        QStringLiteral("-rw-r--r-- 1 lina users   21830 Jan  4 09:12 install.log"),
        QStringLiteral("-rwxr-xr-x 2 mia  staff    8120 Mar 22 18:30 build.sh"),
    };
    for (const auto& [pixels, dark] : {std::pair{20, true}, std::pair{14, false}}) {
        QFont mono = font(QStringLiteral("DejaVu Sans Mono"), pixels);
        mono.setLetterSpacing(QFont::AbsoluteSpacing, 0.015 * pixels);
        const int step = pixels * 33 / 20;
        QImage picture(pixels * 40, static_cast<int>(page.size() * step + 56), QImage::Format_RGB32);
        picture.fill(dark ? QColor(0x1e, 0x1e, 0x1e) : QColor(0xfa, 0xfa, 0xfa));
        QPainter painter(&picture);
        painter.setFont(mono);
        painter.setPen(dark ? QColor(0xd0, 0xd0, 0xd0) : QColor(0x24, 0x29, 0x2e));
        for (qsizetype i = 0; i < page.size(); ++i)
            painter.drawText(QPointF(28, 28 + i * step + QFontMetricsF(mono).ascent()), page[i]);
        painter.end();
        const QStringList lines = linesOf(read(picture).text(LineMode::keep));
        ASSERT_EQ(lines.size(), page.size()) << pixels << "px\n" << lines.join(u'\n').toStdString();
        EXPECT_EQ(lines.front().toStdString(), "$ ls -l") << pixels << "px";
    }
}

namespace {

// A gray picture of `rows` of levels, placed at (10, 10) on white ground.
QImage grayFromRows(const std::vector<std::vector<int>>& rows) {
    QImage picture(40, 40, QImage::Format_Grayscale8);
    picture.fill(255);
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            picture.scanLine(static_cast<int>(y) + 10)[x + 10] = static_cast<uchar>(rows[y][x]);
    return picture;
}

std::optional<MarkerShape> onlyShape(const QImage& picture, int threshold, double xHeight, double baseline) {
    const std::vector<InkShape> shapes = inkShapes(picture, threshold);
    if (shapes.size() != 1)
        return std::nullopt;
    return markerShape(picture, threshold, shapes.front(), xHeight, baseline);
}

}  // namespace

TEST(SmallListRings, ARingOfASmallFontIsAMarkerWhereAnOIsNot) {
    // A ring as a small font draws it: one side two pixels thick, the other one.
    const QImage uneven = grayFromRows({{230, 170, 85, 117, 123, 104, 114, 206},
                                        {181, 114, 158, 184, 189, 173, 140, 109},
                                        {147, 109, 255, 255, 255, 255, 202, 67},
                                        {145, 145, 255, 255, 255, 255, 215, 110},
                                        {145, 145, 255, 255, 255, 255, 215, 110},
                                        {147, 103, 255, 255, 255, 255, 200, 60},
                                        {190, 120, 132, 165, 171, 151, 126, 126},
                                        {234, 183, 110, 128, 131, 120, 136, 213}});
    EXPECT_EQ(onlyShape(uneven, 168, 12, 20), std::optional(MarkerShape::circle));
    // Ten pixels round beside an x-height of eleven, a pixel clear of the baseline.
    std::vector<std::vector<int>> round(10, std::vector<int>(10, 255));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const double d = std::hypot(x - 4.5, y - 4.5);
            if (d >= 3.0 && d <= 5.0)
                round[y][x] = 30;
        }
    const QImage ring = grayFromRows(round);
    EXPECT_EQ(onlyShape(ring, 164, 11, 21), std::optional(MarkerShape::circle));
    // The same ring on the baseline is a letter "o".
    EXPECT_FALSE(onlyShape(ring, 164, 11, 20).has_value());
    // A small "«" blurred shut, its arms' ends a pixel and a half right of its points.
    std::vector<std::vector<int>> quote;
    for (const char* row : {"...###.###", "..########", ".########.", "####.###..", "####.###..", "########..",
                            ".#########", ".#########", "...###.###", "....#....."}) {
        quote.emplace_back();
        for (const char* c = row; *c; ++c)
            quote.back().push_back(*c == '#' ? 30 : 255);
    }
    EXPECT_FALSE(onlyShape(grayFromRows(quote), 128, 13, 21).has_value());
}

TEST(LargeBannerGround, ABannerDrawnLargeKeepsItsBoldHeadingsStems) {
    // Three times the size, the heading's stems and the button's height alike.
    for (const QString& family : families()) {
        const QImage banner = drawBanner(family);
        const QStringList got = linesOf(
            read(banner.scaled(banner.size() * 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)).text(LineMode::keep));
        for (const QString& line : {QStringLiteral("Filter notice summary"), QStringLiteral("Track delivery"),
                                    QStringLiteral("Follow the package from the store to your door")})
            EXPECT_TRUE(got.contains(line)) << family.toStdString() << ": " << got.join(u'|').toStdString();
    }
}

TEST(ReaderLineTailSpacing, WordsReadAgainInALinesTailAreSpacedByItsGrid) {
    // The layout cuts the loop's line at the gap before its coloured figure; what is read
    // again there comes back spaced as the recognizer guessed ("i= 0;").
    const QStringList code = colouredLoop();
    if (!QFontDatabase::hasFamily(QStringLiteral("Noto Mono")))
        GTEST_SKIP() << "the layout cuts this line in Noto Mono";
    // An 18 px font at twice the scale on a dark theme, a little letter-spaced, lines apart.
    const CodeLook look{36, 0.54, 1.65, 1224, 36, true};
    const QString text = read(drawColouredCode(QStringLiteral("Noto Mono"), code, look)).text(LineMode::keep);
    EXPECT_TRUE(text.contains(QStringLiteral("    for (int i = 0; "))) << text.toStdString();
}

TEST(ReaderLineTails, ATailReadAgainWithItsLinesOwnWordsIsKeptThoughReadLessSurely) {
    // The layout cuts the loop's line after "i"; read again whole, the line's own words
    // come back as before but "= 0;" far less surely, and the tail was lost.
    const QStringList code = colouredLoop();
    if (!QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans Mono")))
        GTEST_SKIP() << "the layout cuts this line in DejaVu Sans Mono";
    // 19 px on a dark theme, lines apart.
    const CodeLook look{19, 0.0, 1.5, 627, 38, true};
    const QString text = read(drawColouredCode(QStringLiteral("DejaVu Sans Mono"), code, look)).text(LineMode::keep);
    EXPECT_TRUE(text.contains(QStringLiteral("    for (int i = 0; i < n; ++i) {"))) << text.toStdString();
}
