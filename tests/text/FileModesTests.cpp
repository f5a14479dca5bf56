// Modes at the head of a long directory listing, misread between their dashes.

#include "platform/recognition/FileModes.h"

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
