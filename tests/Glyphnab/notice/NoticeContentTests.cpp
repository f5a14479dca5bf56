#include "Glyphnab/notice/NoticeContent.h"

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using GlyphnabCore::Outcome;
using GlyphnabCore::PageCut;
using ZantrelText::LineMode;

Outcome textOutcome(const QString& copied) {
    Outcome outcome;
    outcome.kind = Outcome::Kind::text();
    outcome.copied = copied;
    outcome.preview = copied;
    return outcome;
}

Outcome codeOutcome(const QString& name, const QString& payload) {
    Outcome outcome;
    outcome.kind = Outcome::Kind::code(name);
    outcome.copied = payload;
    return outcome;
}

class FakeProgress final : public NoticeProgress {
public:
    FakeProgress(int pages, int done) : pages_(pages), done_(done) {}
    int pages() const override { return pages_; }
    int done() const override { return done_; }

private:
    int pages_;
    int done_;
};

const QString app = QStringLiteral("Glyphnab");

TEST(NoticeContentTests, NothingFoundDependsOnWhereThePictureCameFrom) {
    const auto screen = NoticeContent::done(Outcome(), LineMode::join, GrabSource::screen);
    EXPECT_EQ(NoticeText::title(screen), u"No text found");
    EXPECT_EQ(NoticeText::detail(screen, app),
              u"Try a larger area or zoom in first. Protected video shows as black and has no text.");
    EXPECT_EQ(NoticeText::symbol(screen), u"text.magnifyingglass");
    EXPECT_FALSE(NoticeText::showsCheck(screen));
    const auto buttons = NoticeText::buttons(screen);
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0].title, u"Grab Again");
    EXPECT_FALSE(buttons[0].prominent);
    const auto* again = std::get_if<NoticeButton::GrabAgain>(&buttons[0].action);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->mode, LineMode::join);
    EXPECT_TRUE(screen.lingers());

    const auto file = NoticeContent::done(Outcome(), std::nullopt, GrabSource::file);
    EXPECT_EQ(NoticeText::title(file), u"No text found in that file");
    EXPECT_EQ(NoticeText::detail(file, app), u"The page may be too small or too blurred to read. Try a sharper copy.");
    EXPECT_TRUE(NoticeText::buttons(file).isEmpty());
    EXPECT_FALSE(file.lingers());

    const auto clipboard = NoticeContent::done(Outcome(), std::nullopt, GrabSource::clipboard);
    EXPECT_EQ(NoticeText::title(clipboard), u"No text found in the clipboard picture");
    ASSERT_TRUE(NoticeText::detail(clipboard, app));
    EXPECT_TRUE(NoticeText::detail(clipboard, app)->startsWith(u"Press "));
    EXPECT_FALSE(clipboard.lingers());
}

TEST(NoticeContentTests, TextGrabCountsCharactersAndNamesTheLineMode) {
    const auto joined = NoticeContent::done(textOutcome(QStringLiteral("Hello world")), LineMode::join,
                                            GrabSource::screen);
    EXPECT_EQ(NoticeText::title(joined), u"Copied 11 characters");
    EXPECT_EQ(NoticeText::detail(joined, app), u"Lines joined into paragraphs");
    EXPECT_TRUE(NoticeText::showsCheck(joined));
    EXPECT_FALSE(joined.lingers());
    EXPECT_EQ(NoticeText::announcement(joined, app), u"Copied 11 characters. Lines joined into paragraphs.");

    const auto one = NoticeContent::done(textOutcome(QStringLiteral("x")), LineMode::keep, GrabSource::file);
    EXPECT_EQ(NoticeText::title(one), u"Copied 1 character");
    EXPECT_EQ(NoticeText::detail(one, app), u"Line breaks kept");

    // A letter with a combining accent and a flag are one character each to a reader.
    const auto composed = NoticeContent::done(textOutcome(QStringLiteral("e\u0301\U0001F1E9\U0001F1EA")),
                                              std::nullopt, GrabSource::screen);
    EXPECT_EQ(NoticeText::title(composed), u"Copied 2 characters");

    // Without a line mode (a copy of a given text): no detail and no mode button.
    Outcome other = textOutcome(QStringLiteral("a\nb"));
    other.otherWay = QStringLiteral("a b");
    const auto plainCopy = NoticeContent::done(other, std::nullopt, GrabSource::screen);
    EXPECT_EQ(NoticeText::detail(plainCopy, app), std::nullopt);
    EXPECT_TRUE(NoticeText::buttons(plainCopy).isEmpty());
    EXPECT_FALSE(plainCopy.lingers());
}

TEST(NoticeContentTests, OtherWayButtonNamesTheOppositeMode) {
    Outcome outcome = textOutcome(QStringLiteral("a b"));
    outcome.otherWay = QStringLiteral("a\nb");
    const auto joined = NoticeContent::done(outcome, LineMode::join, GrabSource::screen);
    auto buttons = NoticeText::buttons(joined);
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0].title, u"Copy with Line Breaks");
    const auto* flip = std::get_if<NoticeButton::CopyOtherWay>(&buttons[0].action);
    ASSERT_NE(flip, nullptr);
    EXPECT_EQ(flip->mode, LineMode::join);
    EXPECT_EQ(flip->outcome, outcome);
    EXPECT_TRUE(joined.lingers());

    buttons = NoticeText::buttons(NoticeContent::done(outcome, LineMode::keep, GrabSource::screen));
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0].title, u"Copy Lines Joined");
}

TEST(NoticeContentTests, QrCodeWithLinkOffersTheTextAndOpensTheHostLast) {
    Outcome outcome = codeOutcome(QStringLiteral("QR code"), QStringLiteral("https://www.example.com/a"));
    outcome.link = QUrl(QStringLiteral("https://www.example.com/a"));
    outcome.alternate = QStringLiteral("Scan me");
    const auto content = NoticeContent::done(outcome, LineMode::join, GrabSource::screen);
    EXPECT_EQ(NoticeText::title(content), u"Copied a QR code");
    EXPECT_EQ(NoticeText::detail(content, app), std::nullopt);
    EXPECT_TRUE(content.lingers());
    const auto buttons = NoticeText::buttons(content);
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0].title, u"Copy the Text");
    EXPECT_FALSE(buttons[0].prominent);
    EXPECT_EQ(buttons[1].title, u"Open example.com");
    EXPECT_TRUE(buttons[1].prominent);

    Outcome micro = codeOutcome(QStringLiteral("Micro QR code"), QStringLiteral("x"));
    EXPECT_EQ(NoticeText::title(NoticeContent::done(micro, std::nullopt, GrabSource::file)), u"Copied a QR code");

    // A link without a host shows the whole address.
    Outcome mail = codeOutcome(QStringLiteral("QR code"), QStringLiteral("mailto:a@b.c"));
    mail.link = QUrl(QStringLiteral("mailto:a@b.c"));
    const auto mailButtons = NoticeText::buttons(NoticeContent::done(mail, std::nullopt, GrabSource::screen));
    ASSERT_EQ(mailButtons.size(), 1);
    EXPECT_EQ(mailButtons[0].title, u"Open mailto:a@b.c");
}

TEST(NoticeContentTests, PageCutDetailWinsOverTheTableDetail) {
    Outcome table;
    table.kind = Outcome::Kind::table(3, 2);
    table.copied = QStringLiteral("a\tb\nc\td\ne\tf");
    const auto whole = NoticeContent::done(table, LineMode::keep, GrabSource::file);
    EXPECT_EQ(NoticeText::title(whole), u"Copied a table, 3 rows by 2 columns");
    EXPECT_EQ(NoticeText::detail(whole, app), u"Pastes into a spreadsheet as rows and columns");

    const auto oneFile = NoticeContent::done(table, LineMode::keep, GrabSource::file, PageCut{30, 120, 1, 30});
    EXPECT_EQ(NoticeText::detail(oneFile, app), u"Copied the first 30 of 120 pages.");

    const auto many = NoticeContent::done(table, LineMode::keep, GrabSource::file, PageCut{40, 150, 2, 30});
    EXPECT_EQ(NoticeText::detail(many, app), u"Copied 40 of 150 pages. Glyphnab reads the first 30 pages of each PDF.");

    // Nothing found keeps its own detail even when pages were cut.
    const auto nothing = NoticeContent::done(Outcome(), LineMode::keep, GrabSource::file, PageCut{30, 120, 1, 30});
    EXPECT_EQ(NoticeText::detail(nothing, app), u"The page may be too small or too blurred to read. Try a sharper copy.");
}

TEST(NoticeContentTests, FailureNeverLingersAndHasNoButtons) {
    const auto failure = NoticeContent::failure(QStringLiteral("Couldn't read"), QStringLiteral("Try again."));
    EXPECT_FALSE(failure.lingers());
    EXPECT_TRUE(NoticeText::buttons(failure).isEmpty());
    EXPECT_EQ(NoticeText::symbol(failure), u"exclamationmark.triangle.fill");
    EXPECT_EQ(NoticeText::title(failure), u"Couldn't read");
    // The detail already ends with a full stop: no second one.
    EXPECT_EQ(NoticeText::announcement(failure, app), u"Couldn't read. Try again.");
}

TEST(NoticeContentTests, BusyNoticeNamesThePagesAndShowsTheFraction) {
    FakeProgress four(4, 1);
    const auto busy = NoticeContent::busy(&four);
    EXPECT_TRUE(busy.lingers());
    EXPECT_EQ(NoticeText::title(busy), u"Reading 4 pages");
    EXPECT_EQ(NoticeText::detail(busy, app), std::nullopt);
    EXPECT_EQ(NoticeText::symbol(busy), u"text.viewfinder");
    EXPECT_TRUE(NoticeText::buttons(busy).isEmpty());
    EXPECT_DOUBLE_EQ(NoticeText::busyFraction(*busy.asBusy()), 0.25);
    EXPECT_EQ(NoticeText::announcement(busy, app), u"Reading 4 pages.");

    FakeProgress one(1, 0);
    EXPECT_EQ(NoticeText::title(NoticeContent::busy(&one)), u"Reading the text");

    // No pages: the plural sentence and an empty bar, never a division by zero.
    FakeProgress none(0, 0);
    const auto empty = NoticeContent::busy(&none);
    EXPECT_EQ(NoticeText::title(empty), u"Reading 0 pages");
    EXPECT_DOUBLE_EQ(NoticeText::busyFraction(*empty.asBusy()), 0);

    // A progress record that is gone reads as no pages instead of crashing.
    std::optional<NoticeContent> orphan;
    {
        FakeProgress gone(3, 1);
        orphan = NoticeContent::busy(&gone);
    }
    EXPECT_EQ(NoticeText::title(*orphan), u"Reading 0 pages");
    EXPECT_DOUBLE_EQ(NoticeText::busyFraction(*orphan->asBusy()), 0);
}

}  // namespace
}  // namespace Glyphnab
