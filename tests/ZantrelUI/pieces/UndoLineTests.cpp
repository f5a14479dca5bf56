#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/Announce.h"
#include "ZantrelUI/pieces/UndoLine.h"

#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/support/LayoutCheck.h"

#include <QAccessible>
#include <QTest>

#include <string>

namespace DesignTest {
namespace {

using namespace ZantrelUI;

class UndoLineTests : public DesignFixture {
protected:
    UndoLineTests() {
        Announce::observer() = [this](const QString& text) { spoken << text; };
    }
    ~UndoLineTests() override { Announce::observer() = nullptr; }

    PendingUndo note = Bound<std::optional<UndoNote>>::make(std::nullopt);
    QStringList spoken;
};

TEST_F(UndoLineTests, ANoteGoesAfterSixSecondsAndTheSameTextAgainStartsAfresh) {
    UndoLine host(new QWidget, note, true, true);
    host.resize(600, 400);
    host.show();
    note->set(UndoNote(QStringLiteral("Removed 3 files"), {}));
    ASSERT_NE(host.line(), nullptr);
    EXPECT_EQ(spoken, QStringList{QStringLiteral("Removed 3 files")});
    // Said in the line's own window, by a notification on screen there.
    QWidget* said = Announce::region(&host);
    ASSERT_NE(said, nullptr);
    EXPECT_TRUE(said->isVisible());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(said)->text(QAccessible::Name), u"Removed 3 files");
    advance(5.9);
    EXPECT_TRUE(note->get().has_value());
    advance(0.2);
    EXPECT_FALSE(note->get().has_value());

    note->set(UndoNote(QStringLiteral("Removed 3 files"), {}));
    advance(3);
    note->set(UndoNote(QStringLiteral("Removed 3 files"), {}));  // a new note, a new six seconds
    advance(4);
    EXPECT_TRUE(note->get().has_value()) << "the first note's timer must not clear the second";
    advance(2.1);
    EXPECT_FALSE(note->get().has_value());
    EXPECT_FALSE(host.clock().isScheduled());
}

TEST_F(UndoLineTests, TheLineCastsAShadowBelowItStrongerInDark) {
    // How much darker than the white content the pixels 6 points below the line's bottom are.
    auto shade = [this](ColorScheme scheme) {
        auto* content = new QWidget;
        content->setAutoFillBackground(true);
        content->setPalette(QPalette(Qt::white));
        UndoLine host(content, note, false, false);
        Environment::setColorScheme(&host, scheme);
        host.resize(600, 300);
        note->set(UndoNote(QStringLiteral("Removed 3 files"), {}));
        const QImage picture = host.grab().toImage();
        const QRect line = host.line()->geometry();
        const int below = 255 - qGray(picture.pixel(line.center().x(), line.bottom() + 6));
        const int far = 255 - qGray(picture.pixel(line.center().x(), line.top() - 40));
        note->set(std::nullopt);
        return std::pair{below, far};
    };
    const auto [light, lightFar] = shade(ColorScheme::light);
    const auto [dark, darkFar] = shade(ColorScheme::dark);
    EXPECT_GT(light, 3);
    EXPECT_GT(dark, light * 2);
    EXPECT_EQ(lightFar, 0);
    EXPECT_EQ(darkFar, 0);
}

TEST_F(UndoLineTests, ALongNoteLayoutStaysInsideTheLineAtEitherWidth) {
    for (int width : {360, 640}) {
        SCOPED_TRACE("width " + std::to_string(width));
        UndoLine host(new QWidget, note, true, true);
        Environment::setOffscreen(&host, true);
        host.resize(width, 400);
        host.show();
        note->set(UndoNote(QStringLiteral("Moved 1,204 receipts from Downloads/Scans 2026 to the Trash; the folders "
                                          "they came from stay where they were"),
                           {}));
        QCoreApplication::processEvents();
        ASSERT_NE(host.line(), nullptr);
        EXPECT_TRUE(host.rect().contains(host.line()->geometry()));
        EXPECT_EQ(TestSupport::layoutFaults(host.line()), std::vector<std::string>())
            << TestSupport::joined(TestSupport::layoutFaults(host.line()));
        note->set(std::nullopt);
    }
}

TEST_F(UndoLineTests, UndoClearsTheLineBeforeTheOwnersUndoRuns) {
    UndoLine host(new QWidget, note, true, false);
    host.resize(600, 400);
    host.show();
    bool clearedFirst = false;
    note->set(UndoNote(QStringLiteral("Moved to Trash"), [&] {
        clearedFirst = !note->get().has_value();
        note->set(UndoNote(QStringLiteral("Put back"), {}));
    }));
    host.line()->undoButton()->click();
    EXPECT_TRUE(clearedFirst);
    ASSERT_TRUE(note->get().has_value());
    EXPECT_EQ(note->get()->text, u"Put back");
    ASSERT_NE(host.line(), nullptr);
    EXPECT_EQ(host.line()->text(), u"Put back");
}

TEST_F(UndoLineTests, CtrlZWorksOnlyWhenAskedAndOnlyWithANote) {
    int undone = 0;
    auto undo = [&] { ++undone; };
    {
        UndoLine host(new QWidget, note, false, true);
        host.resize(600, 400);
        host.show();
        QApplication::setActiveWindow(&host);
        note->set(UndoNote(QStringLiteral("Removed"), undo));
        QTest::keyClick(&host, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(undone, 0);
        EXPECT_TRUE(note->get().has_value());
        note->set(std::nullopt);
    }
    UndoLine host(new QWidget, note, true, true);
    host.resize(600, 400);
    host.show();
    QApplication::setActiveWindow(&host);
    QTest::keyClick(&host, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undone, 0);
    note->set(UndoNote(QStringLiteral("Removed"), undo));
    QTest::keyClick(&host, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undone, 1);
    EXPECT_FALSE(note->get().has_value());
}

TEST_F(UndoLineTests, AReservedBandKeepsTheContentStillAndOffscreenNotesAreNotSpoken) {
    auto* content = new QWidget;
    UndoLine host(content, note, false, true);
    Environment::setOffscreen(&host, true);
    host.resize(600, 400);
    host.show();
    EXPECT_EQ(content->height(), 340);
    note->set(UndoNote(QString(200, QLatin1Char('w')) + QStringLiteral(" and more words that wrap"), {}));
    EXPECT_EQ(content->height(), 340);
    EXPECT_TRUE(spoken.isEmpty());
    ASSERT_NE(host.line(), nullptr);
    EXPECT_LE(host.line()->width(), 420);
    EXPECT_LE(host.line()->shownText().count(QLatin1Char('\n')), 1) << "two lines at most";
    EXPECT_TRUE(host.line()->shownText().endsWith(QChar(0x2026)));
    advance(6.1);
    EXPECT_FALSE(note->get().has_value()) << "still times out offscreen";
}

}  // namespace
}  // namespace DesignTest
