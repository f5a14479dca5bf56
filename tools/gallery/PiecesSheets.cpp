// Renders the family's view pieces as a user sees them, in both appearances.

#include "tools/gallery/PiecesSheets.h"

#include "ZantrelKit/AccentPair.h"
#include "ZantrelKit/ListSelection.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionClock.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/pieces/ActionBar.h"
#include "ZantrelUI/pieces/BulkBar.h"
#include "ZantrelUI/pieces/Confirmations.h"
#include "ZantrelUI/pieces/DateAndColourFields.h"
#include "ZantrelUI/pieces/EmptyState.h"
#include "ZantrelUI/pieces/FileDrop.h"
#include "ZantrelUI/pieces/GlassStepper.h"
#include "ZantrelUI/pieces/MenuChip.h"
#include "ZantrelUI/pieces/NoticeCard.h"
#include "ZantrelUI/pieces/SuggestionCard.h"
#include "ZantrelUI/pieces/UndoLine.h"
#include "ZantrelUI/pieces/WorkArea.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cstdio>

using namespace ZantrelUI;

namespace {

void settle(double seconds = 0) {
    for (int i = 0; i < 6; ++i)
        QCoreApplication::processEvents();
    if (auto* manual = dynamic_cast<ManualMotionClock*>(&MotionClock::shared()); manual && seconds > 0)
        manual->advance(seconds);
    QCoreApplication::processEvents();
}

class Sheet final : public QWidget {
public:
    Sheet(ColorScheme scheme, const QString& title) : scheme_(scheme) {
        Environment::setColorScheme(this, scheme);
        Environment::setAccent(this, Accent(ZantrelKit::AccentPair::glyphnab));
        backdrop_ = new Backdrop(this);
        backdrop_->lower();
        column_ = new QVBoxLayout(this);
        column_->setContentsMargins(24, 24, 24, 24);
        column_->setSpacing(14);
        auto* heading = label(title, Fonts::title(), Ink::primary());
        column_->addWidget(heading);
    }

    QLabel* label(const QString& text, const QFont& font, const DynamicColor& ink) {
        auto* l = new QLabel(text);
        l->setFont(font);
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, ink.resolve(scheme_));
        l->setPalette(palette);
        return l;
    }

    void row(const QString& caption, std::initializer_list<QWidget*> widgets) {
        auto* line = new QHBoxLayout;
        line->setSpacing(14);
        auto* name = label(caption, Fonts::footnote(), Ink::secondary());
        name->setFixedWidth(130);
        line->addWidget(name, 0, Qt::AlignTop);
        for (QWidget* w : widgets)
            line->addWidget(w, 0, Qt::AlignVCenter);
        line->addStretch(1);
        column_->addLayout(line);
    }

    bool save(const QString& folder, const QString& name, int width) {
        adjustSize();
        resize(std::max(width, this->width()), std::max(layout()->totalHeightForWidth(width), height()));
        show();
        settle();
        settle(2);
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        settle();
        const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
        const bool ok = grab().save(path);
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
        hide();
        return ok;
    }

protected:
    void resizeEvent(QResizeEvent*) override { backdrop_->setGeometry(rect()); }

private:
    ColorScheme scheme_;
    QWidget* backdrop_;
    QVBoxLayout* column_;
};

QString schemeName(ColorScheme s) { return s == ColorScheme::dark ? QStringLiteral("dark") : QStringLiteral("light"); }

QWidget* fixed(QWidget* w, int width, int height) {
    w->setFixedSize(width, height);
    return w;
}

bool doingPieces(ColorScheme scheme, const QString& folder) {
    Sheet sheet(scheme, QStringLiteral("Doing pieces"));

    // The confirmation card shown in place over some content.
    auto* content = new QWidget;
    content->setFixedSize(480, 220);
    auto pending = Bound<std::optional<CountedConfirm>>::make(std::nullopt);
    countedConfirm(content, pending, true);
    CountedConfirm(3, QStringLiteral("Move 3 files to the Trash?"),
                   QStringLiteral("You can put them back from the Trash until it is emptied."),
                   QStringLiteral("Move to Trash"), true, [] {})
        .ask(*pending);
    auto* off = new DangerButton(QStringLiteral("Disabled"));
    off->setEnabled(false);
    sheet.row(QStringLiteral("CountedConfirm"), {content, new DangerButton(QStringLiteral("Delete")), off});

    auto note = Bound<std::optional<UndoNote>>::make(std::nullopt);
    auto* undo = new UndoLine(new QWidget, note, true, true);
    undo->setFixedSize(480, 90);
    note->set(UndoNote(QStringLiteral("Moved 3 files to the Trash"), [] {}));
    sheet.row(QStringLiteral("UndoLine"), {undo});

    auto* idle = new FileDrop([](const QUrl&) { return true; }, [](const QList<QUrl>&) {});
    auto* lit = new FileDrop([](const QUrl&) { return true; }, [](const QList<QUrl>&) {});
    auto* refused = new FileDrop([](const QUrl&) { return false; }, [](const QList<QUrl>&) {});
    lit->setTargeted(true);
    refused->deliver({QUrl::fromLocalFile(QStringLiteral("/tmp/notes.txt"))});
    const auto surface = [](FileDrop* drop, bool button) {
        auto* s = new FileDropSurface(
            drop, QStringLiteral("tray.and.arrow.down"), QStringLiteral("Drop pictures or PDFs"),
            QStringLiteral("They are read on this computer."), QStringLiteral("Only pictures and PDFs can be read."),
            button ? std::optional(EmptyState::Action{QStringLiteral("Choose Files…"), [] {}}) : std::nullopt);
        drop->setParent(s);
        return fixed(s, 300, 290);
    };
    sheet.row(QStringLiteral("FileDropSurface"), {surface(idle, true), surface(lit, false), surface(refused, false)});

    auto date = Bound<QDateTime>::make(QDateTime(QDate(2026, 12, 9), QTime(9, 41)));
    auto red = Bound<QColor>::make(QColor(0xe0, 0x4f, 0x3a));
    auto blue = Bound<QColor>::make(QColor(0x2f, 0x6f, 0xde, 160));
    sheet.row(QStringLiteral("Date and colour"),
              {new GlassDatePicker(QStringLiteral("Due"), date, std::nullopt, false),
               new GlassDatePicker(QStringLiteral("Due"), date, std::nullopt, true),
               new GlassColorWell(QStringLiteral("Ink"), red, false),
               new GlassColorWell(QStringLiteral("Paper"), blue, true)});

    auto area = Bound<int>::make(1);
    std::vector<FlowArea<int>> areas{
        {0, QStringLiteral("Add"), QStringLiteral("plus"), std::nullopt, 12, QStringLiteral("12 files"), 0},
        {1, QStringLiteral("Shrink"), QStringLiteral("doc.on.doc"), AreaBusy::fraction(0.4), std::nullopt, {}, 0},
        {2, QStringLiteral("Read"), QStringLiteral("text.viewfinder"), AreaBusy::unknown(), 3, QStringLiteral("3"), 0},
        {3, QStringLiteral("Export"), QStringLiteral("folder"), AreaBusy::fraction(0.8), std::nullopt, {}, 0}};
    auto* sidebar = new AreaSidebar<int>(areas, area);
    sidebar->setFixedHeight(330);

    auto* bars = new QWidget;
    auto* barColumn = new QVBoxLayout(bars);
    barColumn->setSpacing(10);
    barColumn->addWidget(new ActionBar(QStringLiteral("12 files, 34.2 MB"), QStringLiteral("Shrink"), true, true,
                                       std::nullopt, [] {}));
    barColumn->addWidget(new ActionBar(QStringLiteral("12 files"), QStringLiteral("Shrink"), true, true,
                                       ActionBar::Busy{QStringLiteral("Shrinking 5 of 12"), 0.42, [] {}}, [] {}));
    barColumn->addWidget(new DoneCard(
        28.4, [](double v) { return QString::number(v, 'f', 1) + QStringLiteral(" MB"); },
        QStringLiteral("Saved from 10 of 12 files."),
        {{QStringLiteral("Scan 4.pdf"), QStringLiteral("locked with a password")},
         {QStringLiteral("notes.txt"), QStringLiteral("not a picture or PDF")}},
        std::make_shared<Platform::MemoryPasteboard>(), [] {}, {QStringLiteral("Done"), [] {}}));
    bars->setFixedWidth(500);
    sheet.row(QStringLiteral("Work areas"), {sidebar, bars});
    // A plain container does not pass its new window's values down by itself.
    Environment::notifyChanged(bars);
    return sheet.save(folder, QStringLiteral("pieces-doing-") + schemeName(scheme), 1100);
}

bool listPieces(ColorScheme scheme, const QString& folder) {
    Sheet sheet(scheme, QStringLiteral("List and look pieces"));
    sheet.row(QStringLiteral("BulkBar"),
              {new BulkBar(2, 7, QStringLiteral("3.4 MB"), [] {}, [] {}, nullptr),
               new BulkBar(0, 7, std::nullopt, {}, [] {}, nullptr)});
    sheet.row(QStringLiteral("BulkBar (selection)"),
              {new BulkBar(3, {{QStringLiteral("Open"), [] {}}, {QStringLiteral("Copy"), [] {}},
                               {QStringLiteral("Remove"), [] {}}, {QStringLiteral("Hidden"), [] {}}})});

    SuggestionCard::Content ticked;
    ticked.title = QStringLiteral("Old downloads");
    ticked.size = 734'003'200;
    ticked.reason = QStringLiteral("Not opened for more than a year.");
    ticked.detail = QStringLiteral("~/Downloads");
    ticked.tick = SuggestionCard::Tick{ZantrelKit::TickState::on, true, std::nullopt, [] {}};
    ticked.openTitle = QStringLiteral("Review");
    ticked.chevron = true;
    SuggestionCard::Content busy;
    busy.title = QStringLiteral("Duplicate pictures");
    busy.reason = QStringLiteral("The same picture saved twice.");
    busy.symbol = QStringLiteral("doc.on.doc");
    busy.busy = QStringLiteral("Comparing 1,204 pictures");
    sheet.row(QStringLiteral("SuggestionCard"),
              {fixed(new SuggestionCard(ticked), 420, 110), fixed(new SuggestionCard(busy), 360, 110)});

    auto quality = Bound<int>::make(2);
    using Chip = MenuChip<int>;
    const auto qualityName = [](const int& v) {
        return QStringList{QStringLiteral("Small"), QStringLiteral("Balanced"), QStringLiteral("Best")}.value(v);
    };
    auto copies = Bound<std::int64_t>::make(0);
    auto width = Bound<std::int64_t>::make(1200);
    auto middle = Bound<std::int64_t>::make(4);
    const auto number = [](std::int64_t v) { return QString::number(v); };
    sheet.row(QStringLiteral("MenuChip, stepper"),
              {new Chip(QStringLiteral("Quality"), quality, std::vector<int>{0, 1, 2}, qualityName),
               new GlassStepper(QStringLiteral("Copies"), copies, {0, 10}, 1, false, number),
               new GlassStepper(QStringLiteral("Pages"), middle, {0, 10}, 1, false, number),
               new GlassStepper(QStringLiteral("Width"), width, {0, 5000}, 100, true, number)});

    sheet.row(QStringLiteral("EmptyState"),
              {fixed(new EmptyState(QStringLiteral("doc.on.doc"), QStringLiteral("No files yet"),
                                    QStringLiteral("Drop pictures or PDFs here, or choose them, and they are read "
                                                   "on this computer."),
                                    EmptyState::Action{QStringLiteral("Choose Files…"), [] {}}, true),
                     420, 310),
               fixed(new EmptyState(QStringLiteral("magnifyingglass"), QStringLiteral("Nothing matches"),
                                    QStringLiteral("Try fewer letters."), std::nullopt, false),
                     300, 310)});

    sheet.row(QStringLiteral("NoticeCard"),
              {new NoticeCard(NoticeOutcome::done, std::nullopt, QStringLiteral("Shrunk 12 files"),
                              QStringLiteral("Saved 28.4 MB, from 62.6 MB to 34.2 MB"), std::nullopt,
                              NoticeCard::Folder{QStringLiteral("Shrunk"), [] {}},
                              {{QStringLiteral("Undo"), false, [] {}}, {QStringLiteral("Open"), true, [] {}}}, 340),
               new NoticeCard(NoticeOutcome::failed, std::nullopt, QStringLiteral("Could not save 2 files"),
                              std::nullopt, QStringLiteral("The folder is read-only."), std::nullopt, {}, 300)});
    return sheet.save(folder, QStringLiteral("pieces-lists-") + schemeName(scheme), 1100);
}

}  // namespace

namespace Gallery {

bool piecesSheets(ColorScheme scheme, const QString& folder) {
    bool ok = doingPieces(scheme, folder);
    ok = listPieces(scheme, folder) && ok;
    return ok;
}

}  // namespace Gallery
