#include "text/TableSurroundings.h"

#include <gtest/gtest.h>

using namespace ZantrelText;

TEST(TableSurroundings, LinesAboveComeFirstTheRestAfterAndNoneIsLost) {
    TableText list;
    list.rows = {{"Name", "Size"}, {"notes.txt", "3 kB"}};
    const QRectF tableBox(20, 100, 200, 60);
    auto piece = [](const QString& text, double x, double y) {
        return TextPiece{text, QRectF(x, y, 8.0 * text.size(), 12)};
    };
    EXPECT_EQ(TableSurroundings::withTextAround(list, tableBox, {piece("Name", 24, 104), piece(" ", 10, 10)}), list);
    const QList<TextPiece> pieces{piece("Cancel", 140, 180),  piece("Choose a file", 20, 10),
                                  piece("Name", 24, 104),      piece("notes.txt", 24, 130),
                                  piece("Pick one.", 20, 50),  piece("Sidebar", 300, 120)};
    const QString read = TableSurroundings::withTextAround(list, tableBox, pieces).tabSeparated();
    EXPECT_TRUE(read.startsWith(QStringLiteral("Choose a file\t\nPick one.\t\nName\tSize\nnotes.txt\t3 kB\n")))
        << read.toStdString();
    // Text beside the table is not dropped either.
    EXPECT_TRUE(read.contains(QStringLiteral("Cancel")) && read.contains(QStringLiteral("Sidebar")))
        << read.toStdString();
    EXPECT_EQ(read.count(u'\n'), 5) << read.toStdString();
}
