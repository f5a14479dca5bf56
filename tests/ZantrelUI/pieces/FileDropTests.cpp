#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/EmptyState.h"
#include "ZantrelUI/pieces/FileDrop.h"

#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/support/LayoutCheck.h"

#include <QAccessible>
#include <QApplication>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMimeData>
#include <QMimeDatabase>
#include <QVBoxLayout>

namespace DesignTest {
namespace {

using namespace ZantrelUI;

// The kind of rule the family's apps pass: pictures and PDFs.
bool pictureOrPdf(const QUrl& url) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(url.toLocalFile(), QMimeDatabase::MatchExtension);
    return type.name().startsWith(QLatin1String("image/")) || type.inherits(QStringLiteral("application/pdf"));
}

QUrl file(const char* path) { return QUrl::fromLocalFile(QString::fromLatin1(path)); }

class FileDropTests : public DesignFixture {
protected:
    QList<QList<QUrl>> taken;
    FileDrop drop{pictureOrPdf, [this](const QList<QUrl>& urls) { taken << urls; }};

    std::unique_ptr<QMimeData> drag(const QList<QUrl>& urls) {
        auto data = std::make_unique<QMimeData>();
        data->setUrls(urls);
        return data;
    }
    // A real drag over the surface: enter, then drop, then the queued delivery.
    void dropOn(FileDropSurface& surface, const QMimeData& data) {
        const QPoint at = surface.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&surface, &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&surface, &dropped);
        lastDropAccepted = dropped.isAccepted();
        QCoreApplication::processEvents();
    }
    bool lastDropAccepted = false;
};

TEST_F(FileDropTests, RejectedFilesAreLeftOutAndTheRestArriveInDropOrder) {
    drop.deliver({file("/tmp/a.png"), file("/tmp/notes.txt"), file("/tmp/c.pdf")});
    ASSERT_EQ(taken.size(), 1);
    EXPECT_EQ(taken[0], (QList<QUrl>{file("/tmp/a.png"), file("/tmp/c.pdf")}));
    EXPECT_FALSE(drop.refused());
}

TEST_F(FileDropTests, AllRefusedSetsTheRefusalUntilADropBringsSomethingOrNothingReadable) {
    drop.deliver({file("/tmp/a.txt"), file("/tmp/b.zip")});
    EXPECT_TRUE(taken.isEmpty());
    EXPECT_TRUE(drop.refused());
    drop.deliver({});  // nothing readable: clears the refusal, calls nothing
    EXPECT_FALSE(drop.refused());
    EXPECT_TRUE(taken.isEmpty());
    drop.deliver({file("/tmp/a.txt")});
    drop.deliver({file("/tmp/scan.jpeg")});
    EXPECT_FALSE(drop.refused());
    EXPECT_EQ(taken.size(), 1);
}

TEST_F(FileDropTests, OnlyLocalAbsoluteFilesCountAsDroppedFiles) {
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/uri-list"),
                  "file:///home/me/a.png\r\n# a comment\r\nhttps://example.org/b.png\r\nrelative/c.png\r\n"
                  "file:///home/me/My%20Scan.pdf\r\n");
    EXPECT_EQ(FileDrop::fileURLs(*data), (QList<QUrl>{file("/home/me/a.png"), file("/home/me/My Scan.pdf")}));
    QMimeData text;
    text.setText(QStringLiteral("/home/me/a.png"));
    EXPECT_FALSE(FileDrop::carriesFiles(text));
}

TEST_F(FileDropTests, TheSurfaceHighlightsWhileHoveredAndShowsTheRefusalAfterARefusedDrop) {
    FileDropSurface surface(&drop, QStringLiteral("doc.on.doc"), QStringLiteral("Drop pictures or PDFs"),
                            QStringLiteral("They are read on this computer."),
                            QStringLiteral("Only pictures and PDFs can be read."), std::nullopt);
    surface.resize(500, 320);
    surface.show();
    EXPECT_EQ(surface.border().width, 1.5);
    EXPECT_EQ(surface.fill().alpha(), 0);
    EXPECT_EQ(surface.emptyState()->button(), nullptr);

    const auto data = drag({file("/tmp/a.txt"), file("/tmp/b.doc")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_TRUE(drop.targeted());
    EXPECT_EQ(surface.border().width, 2);
    EXPECT_EQ(surface.border().color, Accent(ZantrelKit::AccentPair::all[0]).top.resolve(ColorScheme::light));
    EXPECT_NEAR(surface.fill().alphaF(), 0.08, 0.01);
    QDragLeaveEvent leave;
    QApplication::sendEvent(&surface, &leave);
    EXPECT_FALSE(drop.targeted());
    EXPECT_EQ(surface.border().width, 1.5);

    dropOn(surface, *data);
    EXPECT_TRUE(lastDropAccepted) << "the drop is taken even though every file is refused";
    EXPECT_TRUE(drop.refused());
    EXPECT_EQ(surface.emptyState()->lineLabel()->text(), u"Only pictures and PDFs can be read.");

    dropOn(surface, *drag({file("/tmp/shot.png")}));
    EXPECT_FALSE(drop.refused());
    EXPECT_EQ(surface.shownLine(), u"They are read on this computer.");
    ASSERT_EQ(taken.size(), 1);
    EXPECT_EQ(taken[0], QList<QUrl>{file("/tmp/shot.png")});
}

TEST_F(FileDropTests, ADragWithoutFilesIsNotTakenAndDoesNotLightThePanel) {
    FileDropSurface surface(&drop, QStringLiteral("doc.on.doc"), QStringLiteral("Drop"), QStringLiteral("line"),
                            QStringLiteral("refused"), std::nullopt);
    surface.show();
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_FALSE(drop.targeted());
}

class EmptyStateTests : public DesignFixture {};

TEST_F(EmptyStateTests, TheButtonRunsTheActionAndWithoutOneNothingIsReservedBelowTheLine) {
    int runs = 0;
    EmptyState with(QStringLiteral("doc.on.doc"), QStringLiteral("No files yet"), QStringLiteral("Add some."),
                    EmptyState::Action{QStringLiteral("Choose Files…"), [&] { ++runs; }}, true);
    EmptyState without(QStringLiteral("doc.on.doc"), QStringLiteral("No files yet"), QStringLiteral("Add some."),
                       std::nullopt, false);
    ASSERT_NE(with.button(), nullptr);
    EXPECT_TRUE(with.button()->prominent());
    EXPECT_FALSE(with.button()->large());
    with.button()->click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(without.button(), nullptr);
    EXPECT_EQ(without.sizeHint().height() + 16 + with.button()->sizeHint().height(), with.sizeHint().height());
}

TEST_F(EmptyStateTests, ALongLineWrapsWithinItsWidthInAWideContainerAndStaysCentred) {
    const QString line = QStringLiteral("A long explanation that needs more than one line to say what goes here "
                                        "and what the button does when pressed.");
    EmptyState state(QStringLiteral("doc.on.doc"), QStringLiteral("Nothing"), line, std::nullopt, false);
    state.resize(900, 400);
    state.show();
    QCoreApplication::processEvents();
    EXPECT_LE(state.lineLabel()->width(), EmptyState::lineWidth);
    EXPECT_EQ(state.lineLabel()->text(), line) << "never truncated";
    EXPECT_GT(state.lineLabel()->height(), QFontMetrics(state.lineLabel()->font()).height());
    EXPECT_NEAR(state.lineLabel()->mapTo(&state, state.lineLabel()->rect().center()).x(), 450, 2);
    auto* iface = QAccessible::queryAccessibleInterface(state.titleLabel());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Heading);
}

TEST_F(EmptyStateTests, ALongTitleWrappedAtEitherWidthIsShownWhole) {
    // Longer than the label's own preferred width, shorter than the room beside it: the
    // title that used to lose its second line. And one of many lines.
    const QStringList titles{QStringLiteral("Nothing here yet: add some files to get started"),
                             QStringLiteral("Nothing here yet: drop pictures, PDFs or whole folders of them here, "
                                            "or choose them from your files, to get started")};
    const QString line = QStringLiteral("Drop files here or choose them, and they are listed with their sizes.");
    for (const auto& [title, width] : {std::pair{titles[0], 520}, std::pair{titles[0], 680}, std::pair{titles[1], 520},
                                       std::pair{titles[1], 680}}) {
        SCOPED_TRACE("width " + std::to_string(width) + ", " + title.toStdString());
        QWidget host;
        auto* column = new QVBoxLayout(&host);
        column->setContentsMargins(0, 0, 0, 0);
        auto* state = new EmptyState(QStringLiteral("doc.on.doc"), title, line,
                                     EmptyState::Action{QStringLiteral("Choose Files…"), [] {}}, true);
        column->addWidget(state);
        host.resize(width, host.heightForWidth(width) > 0 ? host.heightForWidth(width) : host.sizeHint().height());
        host.show();
        QCoreApplication::processEvents();
        QLabel* heading = state->titleLabel();
        if (title.size() > 60) {
            EXPECT_GT(heading->height(), QFontMetrics(heading->font()).height() * 3 / 2) << "the title wraps";
        }
        EXPECT_EQ(TestSupport::layoutFaults(&host), std::vector<std::string>())
            << TestSupport::joined(TestSupport::layoutFaults(&host));
        EXPECT_NEAR(heading->mapTo(&host, heading->rect().center()).x(), width / 2, 2);
    }
}

}  // namespace
}  // namespace DesignTest
