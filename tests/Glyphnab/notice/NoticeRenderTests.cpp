// Draws each kind of notice in both appearances to PNG files (next to the test program,
// in "notice-sheets/") so they can be looked at, and checks what a picture can show.

#include "Glyphnab/notice/NoticeView.h"

#include "GlyphnabCore/Words.h"

#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/pieces/BusyBar.h"
#include "ZantrelUI/pieces/GlassProgress.h"
#include "ZantrelUI/design/PillButton.h"

#include <QMouseEvent>

#include <QCoreApplication>
#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using GlyphnabCore::Outcome;
using ZantrelText::LineMode;
using ZantrelUI::ColorScheme;

class FixedProgress final : public NoticeProgress {
public:
    int pages() const override { return 4; }
    int done() const override { return 1; }
};

struct Sample {
    QString name;
    NoticeContent content;
};

QList<Sample> samples(FixedProgress* progress) {
    Outcome text;
    text.kind = Outcome::Kind::text();
    text.copied = QString(1234, QLatin1Char('a'));
    text.preview = QStringLiteral("The quick brown fox jumps over the lazy dog, and then it keeps running far beyond the "
                                  "edge of the notice so the preview has to cut.\nSecond line");
    text.otherWay = QStringLiteral("x");
    Outcome qr;
    qr.kind = Outcome::Kind::code(QStringLiteral("QR code"));
    qr.copied = QStringLiteral("https://www.example.com/menu");
    qr.link = QUrl(qr.copied);
    qr.alternate = QStringLiteral("Scan for the menu");
    qr.preview = qr.copied;
    Outcome table;
    table.kind = Outcome::Kind::table(12, 4);
    table.copied = QStringLiteral("a\tb");
    return {
        {QStringLiteral("text"), NoticeContent::done(text, LineMode::join, GrabSource::screen)},
        {QStringLiteral("qr"), NoticeContent::done(qr, LineMode::join, GrabSource::screen)},
        {QStringLiteral("table-cut"),
         NoticeContent::done(table, LineMode::keep, GrabSource::file, GlyphnabCore::PageCut{40, 150, 2, 30})},
        {QStringLiteral("nothing"), NoticeContent::done(Outcome(), LineMode::join, GrabSource::screen)},
        {QStringLiteral("failure"), NoticeContent::failure(QStringLiteral("Couldn't capture the screen"),
                                                           QStringLiteral("Check that screen capture is allowed."))},
        {QStringLiteral("busy"), NoticeContent::busy(progress)},
    };
}

QImage render(NoticeView& view, ColorScheme scheme) {
    view.adjustSize();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    // A mid-grey desktop behind, so the card's edge and shadow show.
    image.fill(scheme == ColorScheme::dark ? QColor(40, 44, 52) : QColor(200, 204, 210));
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

TEST(NoticeRenderTests, EveryNoticeDrawsItsCardInBothAppearances) {
    FixedProgress progress;
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/notice-sheets");
    QDir().mkpath(folder);
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        for (const auto& sample : samples(&progress)) {
            SCOPED_TRACE(sample.name.toStdString());
            NoticeView::Actions actions;
            actions.stop = [] {};
            NoticeView view(sample.content, actions, QStringLiteral("Glyphnab"), true);
            ZantrelUI::Environment::setColorScheme(&view, scheme);
            ZantrelUI::Environment::setOffscreen(&view, true);
            const QImage image = render(view, scheme);
            EXPECT_EQ(image.width(), NoticeView::cardWidth + 2 * NoticeView::margin);
            EXPECT_GE(image.height(), 60);
            const QString suffix = scheme == ColorScheme::dark ? QStringLiteral("-dark") : QStringLiteral("-light");
            EXPECT_TRUE(image.save(folder + QStringLiteral("/notice-") + sample.name + suffix + QStringLiteral(".png")));
            // Every button sits inside the card.
            for (const auto* button : view.buttons())
                EXPECT_TRUE(view.cardRect().contains(QRectF(button->geometry()))) << button->text().toStdString();
        }
    }
}

TEST(NoticeRenderTests, TitleNumbersAreOneRunEachWithTheirSeparators) {
    using Run = NoticeView::TitleRun;
    EXPECT_EQ(NoticeView::titleRuns(QStringLiteral("Copied 1,234 characters")),
              (QList<Run>{{QStringLiteral("Copied "), false}, {QStringLiteral("1,234"), true},
                          {QStringLiteral(" characters"), false}}));
    EXPECT_EQ(NoticeView::titleRuns(QStringLiteral("Copied 12\u202F345 characters"))[1].text, u"12\u202F345");
    // A trailing separator is not part of the number.
    EXPECT_EQ(NoticeView::titleRuns(QStringLiteral("Copied 3.")),
              (QList<Run>{{QStringLiteral("Copied "), false}, {QStringLiteral("3"), true}, {QStringLiteral("."), false}}));
    EXPECT_EQ(NoticeView::titleRuns(QStringLiteral("Copied a QR code")).size(), 1);
}

TEST(NoticeRenderTests, ShadowAndGlowFollowTheAppearance) {
    EXPECT_DOUBLE_EQ(NoticeView::shadowOpacity(ColorScheme::light), 0.16);
    EXPECT_DOUBLE_EQ(NoticeView::shadowOpacity(ColorScheme::dark), 0.45);
    EXPECT_DOUBLE_EQ(NoticeView::glowOpacity(ColorScheme::light), 0.14);
    EXPECT_DOUBLE_EQ(NoticeView::glowOpacity(ColorScheme::dark), 0.22);
}

TEST(NoticeRenderTests, BusyNoticeFollowsItsProgressAndStopEndsTheWork) {
    class MovingProgress final : public NoticeProgress {
    public:
        int pages() const override { return 4; }
        int done() const override { return done_; }
        void step() {
            ++done_;
            Q_EMIT doneChanged();
        }
        int done_ = 1;
    } progress;
    int stops = 0;
    NoticeView::Actions actions;
    actions.stop = [&] { ++stops; };
    NoticeView view(NoticeContent::busy(&progress), actions, QStringLiteral("Glyphnab"), true);
    ASSERT_NE(view.busyBar(), nullptr);
    ASSERT_NE(view.busyBar()->progress(), nullptr);
    EXPECT_DOUBLE_EQ(view.busyBar()->progress()->value(), 0.25);
    EXPECT_EQ(view.busyBar()->sentence(), u"Reading 4 pages");
    progress.step();
    EXPECT_DOUBLE_EQ(view.busyBar()->progress()->value(), 0.5);
    view.busyBar()->stopButton()->click();
    EXPECT_EQ(stops, 1);
}

TEST(NoticeRenderTests, TapClosesOnlyANoticeThatDoesNotLinger) {
    int closes = 0;
    NoticeView::Actions actions;
    actions.close = [&] { ++closes; };
    NoticeView failure(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")), actions, {}, true);
    QMouseEvent press(QEvent::MouseButtonRelease, QPointF(40, 40), QPointF(40, 40), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&failure, &press);
    EXPECT_EQ(closes, 1);
    NoticeView nothing(NoticeContent::done(Outcome(), LineMode::join, GrabSource::screen), actions, {}, true);
    QCoreApplication::sendEvent(&nothing, &press);
    EXPECT_EQ(closes, 1);
}

TEST(NoticeRenderTests, EachPreviewLineWrapsOnItsOwnAndDetailsAreNeverCut) {
    auto shown = [](const NoticeContent& content) {
        NoticeView view(content, NoticeView::Actions{}, QStringLiteral("Glyphnab"), true);
        return std::pair{view.previewText(), view.detailText()};
    };
    // A short first line and a long second one: the card shows the first as it is and the
    // start of the second, never a word of the second left between them.
    Outcome text;
    text.kind = Outcome::Kind::text();
    for (const QString& first : {QStringLiteral("Totals"), QStringLiteral("Quarterly figures for the region"),
                                 QStringLiteral("Quarterly figures for the northern and the western")}) {
        text.copied = first + QStringLiteral("\nThe totals are on the next page, and the notes are in the appendix");
        text.preview = Outcome::previewOf(text.copied);
        const QStringList lines = shown(NoticeContent::done(text, LineMode::keep, GrabSource::screen)).first.split(u'\n');
        SCOPED_TRACE(first.toStdString());
        ASSERT_EQ(lines.size(), 2) << lines.join(u'|').toStdString();
        EXPECT_TRUE(first.startsWith(lines[0])) << lines.join(u'|').toStdString();
        EXPECT_TRUE(lines[1].endsWith(u'…')) << lines.join(u'|').toStdString();
    }

    // The notices that say why nothing was copied give their advice whole.
    const QList<std::pair<QString, QString>> failures{
        {GlyphnabCore::Words::errorCapture(), GlyphnabCore::Words::errorCaptureDetail()},
        {GlyphnabCore::Words::errorRead(), GlyphnabCore::Words::errorReadDetail()},
        {GlyphnabCore::Words::errorClipboard(), GlyphnabCore::Words::errorClipboardDetail()},
        {GlyphnabCore::Words::errorFile(), GlyphnabCore::Words::errorFileDetail()},
    };
    for (const auto& [title, detail] : failures) {
        const QString laid = shown(NoticeContent::failure(title, detail)).second;
        EXPECT_FALSE(laid.contains(u'…')) << title.toStdString() << ": " << laid.toStdString();
        EXPECT_EQ(laid.simplified().toStdString(), detail.toStdString()) << title.toStdString();
    }
    for (const GrabSource source : {GrabSource::screen, GrabSource::clipboard, GrabSource::file}) {
        const QString laid = shown(NoticeContent::done(Outcome(), LineMode::keep, source)).second;
        EXPECT_FALSE(laid.contains(u'…')) << laid.toStdString();
    }
}

}  // namespace
}  // namespace Glyphnab
