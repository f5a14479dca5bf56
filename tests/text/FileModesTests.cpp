// Modes at the head of a long directory listing, misread between their dashes.

#include "platform/recognition/FileModes.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

constexpr double cell = 8.0;

// A word of monospace text starting at cell `column`, as wide as its characters.
WordBox cells(const QString& text, int column, qsizetype width = -1) {
    const double count = static_cast<double>(width < 0 ? text.size() : width);
    return {text, QRectF(column * cell, 10, count * cell - 1, 12), 0.6f};
}

LineWords row(std::vector<WordBox> words) {
    QRectF box;
    for (const WordBox& word : words)
        box = box.united(word.box);
    return {box, std::move(words)};
}

TEST(FileModes, MisreadLettersTakeTheOnlyLetterTheirPlaceCanHold) {
    EXPECT_EQ(fileModeFor("-TW-------"), "-rw-------");
    EXPECT_EQ(fileModeFor("-fw-r--r--"), "-rw-r--r--");
    EXPECT_EQ(fileModeFor("-rWXrWxr-X"), "-rwxrwxr-x");
    EXPECT_EQ(fileModeFor("-TW-r--r-~"), "-rw-r--r--");
    // Set-id and sticky bits keep their case, a trailing attribute mark stays.
    EXPECT_EQ(fileModeFor("drwxrwxrwT"), "drwxrwxrwT");
    EXPECT_EQ(fileModeFor("-rwsr-xr-x@"), "-rwsr-xr-x@");
    // One glyph too many, and only one glyph whose loss leaves a mode.
    EXPECT_EQ(fileModeFor("-rW-r--1r--"), "-rw-r--r--");
}

TEST(FileModes, WordsThatOnlyLookLikeModesStay) {
    for (const QString text : {"describes!", "sweetheart", "----------", "-rw--ee-ee", "-w-------", "Xrw-r--r--"})
        EXPECT_FALSE(fileModeFor(text)) << text.toStdString();
    // Too many misread places to tell it from another word.
    EXPECT_FALSE(fileModeFor("-T~-T~-T~~"));
    // Either of two glyphs could be the extra one, and the modes differ.
    EXPECT_FALSE(fileModeFor("-rw-r--r--x"));
}

// A letter read as a tilde is boxed as tall as the letters; a dash is boxed flat.
TEST(FileModes, ADashLikeMarkAsTallAsTheLettersIsItsPlacesLetter) {
    const auto read = [](bool tallTilde) {
        WordBox mode = cells("-~w-------", 0);
        for (qsizetype place = 0; place < mode.text.size(); ++place) {
            const bool tall = mode.text[place].isLetter() || (place == 1 && tallTilde);
            mode.glyphs.push_back({mode.text.mid(place, 1), QRectF(place * cell, tall ? 12 : 17, cell - 1, tall ? 10 : 2)});
        }
        std::vector<LineWords> lines{row({mode, cells("4", 11), cells("root", 13)})};
        restoreFileModes(lines);
        return lines.front().words.front().text;
    };
    EXPECT_EQ(read(true), "-rw-------");
    EXPECT_EQ(read(false), "--w-------");
}

TEST(FileModes, ARepairStandsOnlyWhereTheWordSpansTenCells) {
    std::vector<LineWords> lines{
        row({cells("-TW-------", 0), cells("8", 11), cells("alex", 13), cells("staff", 18), cells("signal.cpp", 24)}),
        // Broken at a gap the recognizer took for a space.
        row({cells("drwxr", 0), cells("-xr-x", 5), cells("stream", 13)}),
        // The recognizer lost glyphs the ink still holds: no mode fills twelve cells.
        row({cells("-TW-------", 0, 12), cells("users", 13)}),
        // The mode's column read as a line of its own.
        row({cells("-rW-r--1r--", 0, 10)}),
    };
    restoreFileModes(lines);
    EXPECT_EQ(lines[0].words.front().text, "-rw-------");
    ASSERT_EQ(lines[1].words.size(), 2u);
    EXPECT_EQ(lines[1].words.front().text, "drwxr-xr-x");
    EXPECT_EQ(lines[1].words.front().box.right(), lines[1].words.front().box.left() + 10 * cell - 1);
    EXPECT_EQ(lines[2].words.front().text, "-TW-------");
    EXPECT_EQ(lines[3].words.front().text, "-rw-r--r--");
}

}  // namespace

namespace {

// A listing row at `top`: its mode's ink drawn cell by cell ("-" a flat bar, any other a
// letter of x-height), the words read for it, and one more column after it.
LineWords listingRow(QImage& page, double top, const QString& mode, std::vector<WordBox> read) {
    QPainter painter(&page);
    for (int place = 0; place < mode.size(); ++place) {
        const int left = static_cast<int>(place * cell);
        if (mode[place] == u'-')
            painter.fillRect(QRect(left, static_cast<int>(top) + 7, 7, 1), Qt::black);
        else if (mode[place] != u' ')
            painter.fillRect(QRect(left + 1, static_cast<int>(top) + 3, 5, 8), Qt::black);
    }
    for (WordBox& word : read) {
        word.box.moveTop(top + 2);
        // A mode read whole places the column's cells.
        if (word.text.size() == 10)
            for (int place = 0; place < 10; ++place)
                word.glyphs.push_back({word.text.mid(place, 1), QRectF(place * cell, top + 3, cell - 1, 8)});
    }
    read.push_back({"alex", QRectF(12 * cell, top + 2, 4 * cell - 1, 10), 0.9f});
    LineWords line = row(std::move(read));
    line.box = QRectF(0, top, 16 * cell, 14);
    return line;
}

TEST(FileModesFromInk, ARowThatLostItsModeReadsItCellByCellInTheListingsColumn) {
    QImage page(static_cast<int>(16 * cell), 80, QImage::Format_Grayscale8);
    page.fill(255);
    std::vector<LineWords> lines{
        listingRow(page, 0, "-rw-r--r--", {cells("-rw-r--r--", 0)}),
        listingRow(page, 20, "drwxr-xr-x", {cells("drwxr-xr-x", 0)}),
        // Read as scraps with blanks between them.
        listingRow(page, 40, "-rw-------", {cells("-rw-", 0), cells("-", 9)}),
        // A blank cell: not a mode, whatever the row says.
        listingRow(page, 60, "$ ls -l", {cells("$", 0), cells("ls", 2), cells("-l", 5)}),
    };
    const std::vector<LineWords> read = lines;
    // The scraps of a mode can be a line of their own beside the rest of the row.
    LineWords scraps{QRectF(0, 42, 5 * cell, 10), {lines[2].words.front()}};
    lines[2].words.erase(lines[2].words.begin());
    lines.push_back(scraps);

    rebuildFileModes(lines, page, 128);
    ASSERT_EQ(lines.size(), 4u);
    ASSERT_EQ(lines[2].words.size(), 2u);
    EXPECT_EQ(lines[2].words.front().text, "-rw-------");
    EXPECT_EQ(lines[2].words.back().text, "alex");
    EXPECT_EQ(lines[3].words.front().text, "$");

    // A word read surely in the column is no mode: "12:Meeting" from grep stays.
    std::vector<LineWords> grep = read;
    QImage wider(page.width(), 100, QImage::Format_Grayscale8);
    wider.fill(255);
    grep.push_back(listingRow(wider, 80, "12:Meeting", {WordBox{"12:Meeting", QRectF(0, 0, 10 * cell - 1, 12), 0.92f}}));
    rebuildFileModes(grep, wider, 128);
    EXPECT_EQ(grep.back().words.front().text, "12:Meeting");
    // A dash read surely is still a scrap of the mode.
    std::vector<LineWords> dash = read;
    dash[2].words.front().text = QStringLiteral("\u2013");
    dash[2].words.front().confidence = 0.95f;
    rebuildFileModes(dash, page, 128);
    EXPECT_EQ(dash[2].words.front().text, "-rw-------");
    // Not read at all, the mode is still in the ink.
    std::vector<LineWords> lost = read;
    lost[2].words.erase(lost[2].words.begin(), lost[2].words.end() - 1);
    rebuildFileModes(lost, page, 128);
    EXPECT_EQ(lost[2].words.front().text, "-rw-------");

    // One mode alone makes no column: nothing is read from ink.
    std::vector<LineWords> alone{read[0], read[2]};
    rebuildFileModes(alone, page, 128);
    EXPECT_EQ(alone[1].words.front().text, "-rw-");
}

}  // namespace

namespace {

TEST(FileModesGrid, AGlyphBoxedOffItsCellMovesNoCellOfTheColumn) {
    QImage page(static_cast<int>(16 * cell), 60, QImage::Format_Grayscale8);
    page.fill(255);
    std::vector<LineWords> lines{
        listingRow(page, 0, "-rw-r--r--", {cells("-rw-r--r--", 0)}),
        listingRow(page, 20, "drwxr-xr-x", {cells("drwxr-xr-x", 0)}),
        listingRow(page, 40, "-rw-------", {cells("-rw-", 0), cells("-", 9)}),
    };
    // The glyph after "w" boxed half over the "w" it touches, in every mode read whole.
    for (std::size_t row = 0; row < 2; ++row)
        lines[row].words.front().glyphs[3].box.translate(-cell / 2, 0);

    rebuildFileModes(lines, page, 128);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].words.front().text, "-rw-------");
}

}  // namespace
