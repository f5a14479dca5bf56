// Renders the design pieces to PNG files, one sheet per piece family and appearance.

#include "AppWindowSheets.h"
#include "ZantrelKit/AccentPair.h"
#include "tools/gallery/AppSettingsSheets.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/context/DesktopSettings.h"
#include "ZantrelUI/design/DockFlights.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassSlider.h"
#include "ZantrelUI/design/GlowSwitch.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/desktop/MenuBarPanel.h"
#include "ZantrelUI/design/MotionClock.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/desktop/PathCrumbs.h"
#include "ZantrelUI/desktop/PermissionStep.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SectionLabel.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/design/StepDots.h"
#include "ZantrelUI/design/Symbols.h"
#include "ZantrelUI/design/WindowPieces.h"
#include "tools/gallery/PiecesSheets.h"
#include "tools/gallery/SettingsSheets.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

#include <cstdio>
#include <functional>

using namespace ZantrelUI;

namespace {

ManualMotionClock* motionClock = nullptr;

void settle(double seconds = 0) {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    if (seconds > 0)
        motionClock->advance(seconds);
    QCoreApplication::processEvents();
}

QLabel* caption(const QString& text, QWidget* scheme) {
    auto* label = new QLabel(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Ink::secondary().resolve(colorScheme(scheme)));
    label->setPalette(palette);
    label->setFont(Fonts::footnote());
    return label;
}

// A sheet: the backdrop behind a column of captioned rows.
class Sheet final : public QWidget {
public:
    Sheet(ColorScheme scheme, const QString& title) {
        Environment::setColorScheme(this, scheme);
        Environment::setAccent(this, Accent(ZantrelKit::AccentPair::glyphnab));
        Environment::setOffscreen(this, false);
        auto* backdrop = new Backdrop(this);
        backdrop->lower();
        backdrop_ = backdrop;
        column_ = new QVBoxLayout(this);
        column_->setContentsMargins(24, 24, 24, 24);
        column_->setSpacing(14);
        auto* heading = new QLabel(title);
        heading->setFont(Fonts::title());
        QPalette palette = heading->palette();
        palette.setColor(QPalette::WindowText, Ink::primary().resolve(scheme));
        heading->setPalette(palette);
        column_->addWidget(heading);
    }

    void row(const QString& label, std::initializer_list<QWidget*> widgets) {
        auto* line = new QHBoxLayout();
        line->setSpacing(14);
        auto* name = caption(label, this);
        name->setFixedWidth(150);
        line->addWidget(name);
        for (QWidget* w : widgets)
            line->addWidget(w, 0, Qt::AlignVCenter);
        line->addStretch(1);
        column_->addLayout(line);
    }

    void widget(QWidget* w) { column_->addWidget(w); }

    void resizeEvent(QResizeEvent*) override { backdrop_->setGeometry(rect()); }

private:
    QWidget* backdrop_;
    QVBoxLayout* column_;
};

bool save(QWidget& sheet, const QString& folder, const QString& name) {
    sheet.adjustSize();
    const int width = std::max(sheet.width(), 760);
    // Wrapping texts need the height for the final width.
    const int height = sheet.layout()->hasHeightForWidth() ? sheet.layout()->totalHeightForWidth(width) : sheet.height();
    sheet.resize(width, std::max(height, sheet.height()));
    sheet.show();
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();  // the sheets show controls at rest, not focused
    settle();
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool ok = sheet.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    sheet.hide();
    return ok;
}

QString schemeName(ColorScheme s) { return s == ColorScheme::dark ? QStringLiteral("dark") : QStringLiteral("light"); }

bool controls(ColorScheme scheme, const QString& folder) {
    Sheet sheet(scheme, QStringLiteral("Glass controls"));
    auto* off = new GlowSwitch(QStringLiteral("Off"));
    auto* on = new GlowSwitch(QStringLiteral("On"));
    on->setChecked(true);
    auto* disabled = new GlowSwitch(QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    auto* bare = new GlowSwitch();
    bare->setLabelsHidden(true);
    bare->setChecked(true);
    for (GlowSwitch* s : {off, on, disabled})
        s->setFixedWidth(150);
    sheet.row(QStringLiteral("GlowSwitch"), {off, on, disabled, bare});

    auto* plain = new PillButton(QStringLiteral("Copy the other way"));
    auto* prominent = new PillButton(QStringLiteral("Continue"), true);
    auto* large = new PillButton(QStringLiteral("Open Settings"), true, true);
    auto* largePlain = new PillButton(QStringLiteral("Not now"), false, true);
    sheet.row(QStringLiteral("PillButton"), {plain, prominent, large, largePlain});
    auto* pressed = new PillButton(QStringLiteral("Pressed"));
    pressed->setDown(true);
    auto* pressedProminent = new PillButton(QStringLiteral("Pressed"), true);
    pressedProminent->setDown(true);
    auto* off1 = new PillButton(QStringLiteral("Disabled"));
    off1->setEnabled(false);
    auto* off2 = new PillButton(QStringLiteral("Disabled"), true);
    off2->setEnabled(false);
    auto* symbol = new PillButton(QStringLiteral("More"));
    symbol->setSymbol(QStringLiteral("ellipsis"));
    sheet.row(QStringLiteral("PillButton states"), {pressed, pressedProminent, off1, off2, symbol});

    const auto label = [](const QVariant& v) { return v.toString(); };
    auto* chips = new ChipPicker(QStringLiteral("Line breaks"), {QStringLiteral("Join lines"), QStringLiteral("Keep line breaks")},
                                 QStringLiteral("Join lines"), label);
    auto* chips2 = new ChipPicker(QStringLiteral("Route"), {QStringLiteral("Screen"), QStringLiteral("Clipboard"), QStringLiteral("Both")},
                                  QStringLiteral("Clipboard"), label);
    sheet.row(QStringLiteral("ChipPicker"), {chips, chips2});

    auto* slider = new GlassSlider(QStringLiteral("Size"), 0.5, 0, 1, 0.25, QStringLiteral("50 %"), true);
    slider->setFixedWidth(240);
    auto* sliderLow = new GlassSlider(QStringLiteral("Size"), 0.0, 0, 1, 0.25, QStringLiteral("0 %"), false);
    sliderLow->setFixedWidth(180);
    sheet.row(QStringLiteral("GlassSlider"), {slider, sliderLow});
    sheet.row(QStringLiteral("SectionLabel"), {new SectionLabel(QStringLiteral("Recognition languages"))});

    bool ok = save(sheet, folder, QStringLiteral("controls-") + schemeName(scheme));
    // The moment a chip's light slides, and a switch's knob on its way.
    chips->setSelection(QStringLiteral("Keep line breaks"));
    off->click();
    settle(0.06);
    ok = save(sheet, folder, QStringLiteral("controls-moving-") + schemeName(scheme)) && ok;
    settle(2);
    return ok;
}

bool cards(ColorScheme scheme, const QString& folder) {
    Sheet sheet(scheme, QStringLiteral("Settings cards"));
    auto* card = new SettingsCard(QStringLiteral("General"));
    card->addRow(new SettingsSwitch(QStringLiteral("Keep recent grabs"), QStringLiteral("The last 20, in memory only."), true));
    card->addRow(new SettingsSwitch(QStringLiteral("Show in the menu bar"), QString(), false));
    card->addRow(new SettingsRow(QStringLiteral("Updates"),
                                 QStringLiteral("Checks once a day and asks before installing. A long detail wraps onto "
                                                "further lines while the button stays centred beside it."),
                                 new PillButton(QStringLiteral("Check for Updates"))));
    sheet.widget(card);
    auto* plainCard = new SettingsCard();
    plainCard->addRow(new SettingsRow(std::nullopt, QStringLiteral("A row with only a detail line."), nullptr));
    sheet.widget(plainCard);
    sheet.widget(new MenuBarIconCard(QStringLiteral("Glyphnab"), false));
    auto* glass = new GlassCard(14);
    auto* inside = new QLabel(QStringLiteral("A bare glass card"));
    inside->setContentsMargins(16, 16, 16, 16);
    glass->contentLayout()->addWidget(inside);
    sheet.widget(glass);
    return save(sheet, folder, QStringLiteral("cards-") + schemeName(scheme));
}

bool window(ColorScheme scheme, const QString& folder) {
    Sheet sheet(scheme, QStringLiteral("Window pieces"));
    auto* dots0 = new StepDots(4, 0);
    auto* dots1 = new StepDots(4, 1);
    auto* dots3 = new StepDots(4, 3);
    sheet.row(QStringLiteral("StepDots"), {dots0, dots1, dots3});
    auto* footerContent = new QWidget();
    auto* footerRow = new QHBoxLayout(footerContent);
    footerRow->setContentsMargins(0, 0, 0, 0);
    footerRow->addWidget(new StepDots(4, 2));
    footerRow->addStretch(1);
    footerRow->addWidget(new PillButton(QStringLiteral("Back")));
    footerRow->addWidget(new PillButton(QStringLiteral("Continue"), true, true));
    auto* footer = new WindowFooter(footerContent, true, 36);
    footer->setFixedWidth(580);
    sheet.widget(footer);

    using Tool = OverflowToolRow::Tool;
    std::vector<Tool> tools{{QStringLiteral("Copy"), QStringLiteral("doc.on.doc"), true, {}},
                            {QStringLiteral("Find"), QStringLiteral("magnifyingglass"), true, {}},
                            {QStringLiteral("Undo"), QStringLiteral("arrow.uturn.backward"), false, {}},
                            {QStringLiteral("Table"), QStringLiteral("tablecells.fill"), true, {}}};
    std::vector<Tool> pinned{{QStringLiteral("Done"), QStringLiteral("checkmark"), true, {}}};
    auto* wide = new OverflowToolRow(tools, pinned);
    wide->setFixedWidth(560);
    auto* narrow = new OverflowToolRow(tools, pinned);
    narrow->setFixedWidth(330);
    sheet.row(QStringLiteral("OverflowToolRow"), {wide});
    sheet.row(QStringLiteral("… narrow"), {narrow});
    sheet.row(QStringLiteral("RowIconButton"),
              {new RowIconButton(QStringLiteral("xmark.circle.fill"), QStringLiteral("Remove"), true, {}),
               new RowIconButton(QStringLiteral("doc.on.doc"), QStringLiteral("Copy"), true, {}),
               new RowIconButton(QStringLiteral("plus"), QStringLiteral("Add"), false, {})});

    QImage icon(36, 36, QImage::Format_ARGB32_Premultiplied);
    icon.setDevicePixelRatio(2);
    icon.fill(Qt::transparent);
    {
        QPainter p(&icon);
        Symbols::paint(p, QStringLiteral("text.viewfinder"), QRectF(0, 0, 18, 18), Qt::black);
    }
    const auto glyph = [&](std::optional<StatusGlyph::Mark> mark) {
        const StatusGlyph::Image marked = StatusGlyph::image({icon, true, QStringLiteral("Glyphnab")}, mark);
        QImage big = marked.image.scaled(72, 72, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        big.setDevicePixelRatio(1);
        QImage tinted(big.size(), QImage::Format_ARGB32_Premultiplied);
        tinted.fill(Qt::transparent);
        QPainter p(&tinted);
        p.drawImage(0, 0, big);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(tinted.rect(), Ink::primary().resolve(scheme));
        p.end();
        auto* label = new QLabel();
        label->setPixmap(QPixmap::fromImage(tinted));
        return label;
    };
    sheet.row(QStringLiteral("StatusGlyph"), {glyph(std::nullopt), glyph(StatusGlyph::Mark::paused), glyph(StatusGlyph::Mark::attention)});
    return save(sheet, folder, QStringLiteral("window-") + schemeName(scheme));
}

bool motion(ColorScheme scheme, const QString& folder) {
    bool ok = true;
    for (const bool offscreen : {false, true}) {
        Sheet sheet(scheme, offscreen ? QStringLiteral("Motion pieces, offscreen forms") : QStringLiteral("Motion pieces"));
        Environment::setOffscreen(&sheet, offscreen);
        auto* dot = new PulseDot(8);
        auto* dotBig = new PulseDot(18);
        sheet.row(QStringLiteral("PulseDot"), {dot, dotBig});
        sheet.row(QStringLiteral("PulseGlyph"),
                  {new PulseGlyph(QStringLiteral("exclamationmark.triangle.fill"), 20, Ink::danger()),
                   new PulseGlyph(QStringLiteral("text.viewfinder"), 24, Ink::primary())});
        auto* dashes = new FlowDashes(QPointF(0, 0.5), QPointF(1, 0.5), Ink::secondary(), 1.5, 2);
        dashes->setFixedSize(220, 10);
        auto* diagonal = new FlowDashes(QPointF(0, 1), QPointF(1, 0), Ink::primary(), 0, 1.5);
        diagonal->setFixedSize(60, 30);
        sheet.row(QStringLiteral("FlowDashes"), {dashes, diagonal});
        auto* ring = new TurningRing(Accent(ZantrelKit::AccentPair::glyphnab).ink, 2, 3);
        ring->setFixedSize(24, 24);
        sheet.row(QStringLiteral("TurningRing"), {ring});
        auto* check = new CheckDraw(28);
        auto* checkSmall = new CheckDraw(14);
        sheet.row(QStringLiteral("CheckDraw"), {check, checkSmall});
        std::initializer_list<QWidget*> faces{
            new StateSymbol(StateFace::found(3), 24, 3), new StateSymbol(StateFace::found(12), 24, 3),
            new StateSymbol(StateFace::of(StateFace::Kind::waiting), 24, 3),
            new StateSymbol(StateFace::of(StateFace::Kind::working), 24, 3),
            new StateSymbol(StateFace::of(StateFace::Kind::done), 24, 3),
            new StateSymbol(StateFace::of(StateFace::Kind::needsAction), 24, 3),
            new StateSymbol(StateFace::of(StateFace::Kind::off), 24, 3)};
        sheet.row(QStringLiteral("StateSymbol"), faces);
        auto* number = new RollingNumber(128, QStringLiteral("128"), Fonts::title());
        sheet.row(QStringLiteral("RollingNumber"), {number});
        auto* shimmerHost = new GlassCard(14);
        shimmerHost->setFixedSize(240, 40);
        auto* shimmer = new Shimmer(0, shimmerHost);
        shimmer->setGeometry(0, 0, 240, 40);
        sheet.row(QStringLiteral("Shimmer (mid-sweep)"), {shimmerHost});
        auto* flights = new DockFlightsOverlay([&](QPainter& p, const DockFlight&, const QRectF& r) {
            p.setBrush(Accent(ZantrelKit::AccentPair::glyphnab).top.resolve(scheme));
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(r, 6, 6);
        });
        flights->setFixedSize(300, 70);
        sheet.row(QStringLiteral("DockFlights (frozen 0.5)"), {flights});

        sheet.show();
        settle();
        flights->setFrozen(0.5);
        flights->launch(DockFlight(QRectF(0, 10, 60, 40), QRectF(270, 40, 20, 20)));
        flights->launch(DockFlight(QRectF(0, 10, 60, 40), QRectF(270, 40, 20, 20), QString(), true));
        shimmer->setTrigger(1);
        number->setValue(129, QStringLiteral("129"));
        settle(0.2);  // loops and sweeps part-way, the check drawn
        ok = save(sheet, folder, QStringLiteral("motion-") + (offscreen ? QStringLiteral("offscreen-") : QString()) + schemeName(scheme)) && ok;
        settle(3);
    }
    return ok;
}

bool permission(ColorScheme scheme, const QString& folder) {
    Sheet sheet(scheme, QStringLiteral("Permission step"));
    sheet.row(QStringLiteral("PathCrumbs"), {new PathCrumbs(ZantrelKit::Permission::screenRecording().pane)});
    sheet.row(QStringLiteral("… one step"), {new PathCrumbs({QStringLiteral("Privacy")})});
    const ZantrelKit::Product product(ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}));
    const QString why = QStringLiteral("Glyphnab reads the text in the area you drag over. Nothing leaves this computer.");
    for (const bool granted : {false, true}) {
        auto* step = new PermissionStep(ZantrelKit::Permission::screenRecording(), product,
                                        QStringLiteral("Allow Screen Recording"), why,
                                        QStringLiteral("text.viewfinder"), granted, PermissionStep::Action([] {}),
                                        true, [] {});
        step->setFixedWidth(560);
        sheet.widget(step);
    }
    auto* other = new PermissionStep(ZantrelKit::Permission::accessibility(), product, QStringLiteral("Allow Accessibility"),
                                     why, QStringLiteral("hand.point.right.fill"), false, std::nullopt, false, [] {});
    other->setFixedWidth(560);
    sheet.widget(other);
    settle(1);
    return save(sheet, folder, QStringLiteral("permission-") + schemeName(scheme));
}

bool menuBarPanel(ColorScheme scheme, const QString& folder) {
    auto* content = new QWidget();
    Environment::setColorScheme(content, scheme);
    Environment::setAccent(content, Accent(ZantrelKit::AccentPair::glyphnab));
    auto* backdrop = new Backdrop(content);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(18, 18, 18, 18);
    column->addWidget(new SectionLabel(QStringLiteral("Recent grabs")));
    column->addWidget(new PillButton(QStringLiteral("Grab Text"), true, true));
    column->addWidget(new PillButton(QStringLiteral("Text from Clipboard Picture")));
    content->setFixedSize(300, 180);
    backdrop->setGeometry(0, 0, 300, 180);
    QSystemTrayIcon item;
    const QList<MenuBarPanel::Screen> screens{{QRect(0, 0, 1280, 800), QRect(0, 28, 1280, 772)}};
    MenuBarPanel panel(&item, content,
                       MenuBarPanel::Surroundings{[] { return QRect(1200, 3, 22, 22); }, [] { return QPoint(1210, 10); },
                                                  [screens] { return screens; }, [] { return false; }});
    panel.show();
    settle(1);
    const QString path = QDir(folder).filePath(QStringLiteral("menubar-panel-") + schemeName(scheme) + QStringLiteral(".png"));
    const bool ok = panel.panel()->grab().save(path);
    std::printf("%s %s (at %d,%d)\n", ok ? "wrote" : "FAILED", qPrintable(path), panel.panel()->x(), panel.panel()->y());
    panel.hide();
    return ok;
}

bool symbols(ColorScheme scheme, const QString& folder) {
    Sheet sheet(scheme, QStringLiteral("Symbols"));
    auto* grid = new QWidget();
    auto* layout = new QGridLayout(grid);
    int i = 0;
    for (const QString& name : Symbols::names()) {
        auto* picture = new QLabel();
        picture->setPixmap(QPixmap::fromImage(Symbols::image(name, 28, Ink::primary().resolve(scheme), 2)));
        picture->setFixedSize(32, 32);
        layout->addWidget(picture, i / 3, (i % 3) * 2);
        layout->addWidget(caption(name, &sheet), i / 3, (i % 3) * 2 + 1);
        ++i;
    }
    sheet.widget(grid);
    return save(sheet, folder, QStringLiteral("symbols-") + schemeName(scheme));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    QDir().mkpath(folder);
    ManualMotionClock clock;
    motionClock = &clock;
    ScopedMotionClock scoped(clock);
    DesktopSettings::shared().setAnimationsEnabled(true);
    bool ok = true;
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        ok = controls(scheme, folder) && ok;
        ok = cards(scheme, folder) && ok;
        ok = window(scheme, folder) && ok;
        ok = motion(scheme, folder) && ok;
        ok = symbols(scheme, folder) && ok;
        ok = permission(scheme, folder) && ok;
        ok = menuBarPanel(scheme, folder) && ok;
        ok = settingsWindows(scheme, folder) && ok;
        ok = Gallery::appWindowSheets(scheme, folder) && ok;
        ok = appSettingsTabs(scheme, folder) && ok;
        ok = Gallery::piecesSheets(scheme, folder) && ok;
    }
    return ok ? 0 : 1;
}
