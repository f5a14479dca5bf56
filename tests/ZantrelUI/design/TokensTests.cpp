#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/Tokens.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

using namespace ZantrelUI;
using DesignTest::DesignFixture;

namespace {

using TokensTest = DesignFixture;

void expectColor(const QColor& color, int r, int g, int b, double alpha) {
    EXPECT_EQ(color.red(), r);
    EXPECT_EQ(color.green(), g);
    EXPECT_EQ(color.blue(), b);
    EXPECT_NEAR(color.alphaF(), alpha, 0.002);
}

TEST_F(TokensTest, ColourTokensResolvePerAppearance) {
    expectColor(Ink::primary().resolve(ColorScheme::dark), 255, 255, 255, 0.92);
    expectColor(Ink::primary().resolve(ColorScheme::light), 0x17, 0x16, 0x1F, 1.0);
    expectColor(Ink::onAccent().resolve(ColorScheme::dark), 0, 0, 0, 0.8);
    expectColor(Surface::windowTop().resolve(ColorScheme::dark), 0x15, 0x13, 0x2A, 1.0);
    expectColor(Surface::windowBottom().resolve(ColorScheme::light), 0xE8, 0xE6, 0xF0, 1.0);
    expectColor(Surface::cardHighlight().resolve(ColorScheme::light), 255, 255, 255, 0.95);
    expectColor(Surface::faintFill().resolve(ColorScheme::dark), 255, 255, 255, 0.09);
    expectColor(Surface::strongFill().resolve(ColorScheme::light), 0, 0, 0, 0.10);
    // Cards cast no shadow in dark appearance.
    EXPECT_EQ(Surface::shadow().resolve(ColorScheme::dark).alpha(), 0);
    expectColor(Surface::shadow().resolve(ColorScheme::light), 42, 33, 96, 0.13);
    expectColor(Ink::onDanger().resolve(ColorScheme::dark), 0, 0, 0, 0.8);
    // The palette-backed tokens read the palette.
    EXPECT_EQ(Surface::card().dark, ZantrelKit::Palette::dark.card);
    EXPECT_EQ(Ink::danger().light, ZantrelKit::Palette::light.danger);
}

TEST_F(TokensTest, HexColourAndShadowHelpers) {
    const QColor c = colorFromHex(0x2A2160, 0.5);
    EXPECT_NEAR(c.redF(), 42 / 255.0, 1e-4);
    EXPECT_NEAR(c.greenF(), 33 / 255.0, 1e-4);
    EXPECT_NEAR(c.blueF(), 96 / 255.0, 1e-4);
    EXPECT_NEAR(c.alphaF(), 0.5, 1e-4);
    const Shadow g = glow(QColor(255, 0, 0));
    EXPECT_NEAR(g.color.alphaF(), 0.75, 0.01);
    EXPECT_EQ(g.radius, 16);
    EXPECT_EQ(g.offset, QPointF(0, 0));
    const Shadow soft = softShadow(QColor(255, 0, 0));
    EXPECT_NEAR(soft.color.alphaF(), 0.35, 0.01);
    EXPECT_EQ(soft.offset, QPointF(0, 2));
}

TEST_F(TokensTest, AppearanceFollowsEnvironmentThenDesktopThenPalette) {
    QWidget root;
    QWidget child(&root);
    DesktopSettings::shared().setPrefersDark(true);
    EXPECT_EQ(colorScheme(&child), ColorScheme::dark);
    Environment::setColorScheme(&root, ColorScheme::light);
    EXPECT_EQ(colorScheme(&child), ColorScheme::light);
    Environment::setColorScheme(&root, std::nullopt);
    // No desktop preference: the palette's window colour decides.
    DesktopSettings::shared().setPrefersDark(std::nullopt);
    const QPalette saved = QGuiApplication::palette();
    QPalette darkPalette = saved;
    darkPalette.setColor(QPalette::Window, QColor(30, 30, 30));
    QGuiApplication::setPalette(darkPalette);
    EXPECT_EQ(systemColorScheme(), ColorScheme::dark);
    darkPalette.setColor(QPalette::Window, QColor(240, 240, 240));
    QGuiApplication::setPalette(darkPalette);
    EXPECT_EQ(systemColorScheme(), ColorScheme::light);
    QGuiApplication::setPalette(saved);
}

TEST_F(TokensTest, AccentsCompareByNameAndBuildOpaqueStops) {
    const Accent glyphnab(ZantrelKit::AccentPair::glyphnab);
    ZantrelKit::AccentPair renamed = ZantrelKit::AccentPair::all[0];
    renamed.name = QStringLiteral("glyphnab");
    EXPECT_EQ(glyphnab, Accent(renamed));
    EXPECT_NE(glyphnab, Accent(ZantrelKit::AccentPair::all[0]));
    expectColor(glyphnab.top.resolve(ColorScheme::dark), 0xFF, 0xA3, 0xC7, 1.0);
    expectColor(glyphnab.ink.resolve(ColorScheme::light), 0xA6, 0x1C, 0x50, 1.0);
}

TEST_F(TokensTest, FontsAndMetricsAreTheFamilySizes) {
    EXPECT_EQ(Fonts::hero().weight(), QFont::Bold);
    EXPECT_EQ(Fonts::label().weight(), QFont::DemiBold);
    EXPECT_EQ(Fonts::small().weight(), QFont::Medium);
    EXPECT_EQ(Fonts::body().weight(), QFont::Normal);
    // Sizes are logical pixels; 11.5 stays fractional.
    const double ratio = Fonts::footnote().pointSizeF() / Fonts::caption().pointSizeF();
    EXPECT_NEAR(ratio, 11.5 / 11, 1e-6);
    EXPECT_NEAR(Fonts::hero().pointSizeF() / Fonts::body().pointSizeF(), 42.0 / 13, 1e-6);
    EXPECT_EQ(Radius::card, 14);
    EXPECT_EQ(Space::xl, 18);
}

using EnvironmentTest = DesignFixture;

TEST_F(EnvironmentTest, DefaultsAreThoseOfTheFamily) {
    QWidget alone;
    const EnvironmentValues values = Environment::of(&alone);
    EXPECT_EQ(values.accent.name, ZantrelKit::AccentPair::all[0].name);
    EXPECT_FALSE(values.offscreen);
    EXPECT_EQ(values.reduceMotionOverride, std::nullopt);
    EXPECT_FALSE(values.showsShortcutRecording);
    EXPECT_FALSE(values.settingsGlass);
    EXPECT_EQ(values.macCalls, nullptr);
    EXPECT_EQ(values.colorScheme, std::nullopt);
    EXPECT_EQ(Environment::of(nullptr), EnvironmentValues{});
}

TEST_F(EnvironmentTest, NearestSetterWinsPerKey) {
    QWidget other;
    QWidget root;
    QWidget middle(&root);
    QWidget& leaf = *new QWidget(&middle);
    Environment::setAccent(&root, Accent(ZantrelKit::AccentPair::glyphnab));
    Environment::setOffscreen(&root, true);
    Environment::setOffscreen(&middle, false);
    Environment::setReduceMotionOverride(&middle, false);
    EXPECT_EQ(Environment::of(&leaf).accent.name, "glyphnab");
    EXPECT_FALSE(Environment::of(&leaf).offscreen);
    EXPECT_TRUE(Environment::of(&root).offscreen);
    // An override explicitly set to none still hides the ancestors' value.
    Environment::setReduceMotionOverride(&root, true);
    EXPECT_EQ(Environment::of(&leaf).reduceMotionOverride, std::optional(false));
    Environment::setReduceMotionOverride(&leaf, std::nullopt);
    EXPECT_EQ(Environment::of(&leaf).reduceMotionOverride, std::nullopt);
    // Moving a widget under another root takes that root's values.
    leaf.setParent(&other);
    EXPECT_EQ(Environment::of(&leaf).accent.name, ZantrelKit::AccentPair::all[0].name);
}

class CountingWidget final : public GlassWidget {
public:
    using GlassWidget::GlassWidget;
    int changes = 0;

protected:
    void environmentChanged() override { ++changes; }
};

TEST_F(EnvironmentTest, DescendantsHearOfRealChangesOnly) {
    QWidget root;
    QWidget middle(&root);
    CountingWidget leaf(&middle);
    Environment::setSettingsGlass(&root, true);
    EXPECT_EQ(leaf.changes, 1);
    Environment::setSettingsGlass(&root, true);  // same value
    EXPECT_EQ(leaf.changes, 1);
    // Same accent name, other colours: nothing to repaint.
    ZantrelKit::AccentPair lookalike = ZantrelKit::AccentPair::all[1];
    lookalike.name = ZantrelKit::AccentPair::all[0].name;
    Environment::setAccent(&root, Accent(lookalike));
    EXPECT_EQ(leaf.changes, 1);
    Environment::setAccent(&root, Accent(ZantrelKit::AccentPair::glyphnab));
    EXPECT_EQ(leaf.changes, 2);
    // The desktop's settings reach every window.
    root.show();
    DesktopSettings::shared().setPrefersDark(true);
    EXPECT_EQ(leaf.changes, 3);
}

TEST_F(EnvironmentTest, APagePlacedLaterTellsItsWholeSubtree) {
    // A settings page is built before the shell takes it: a piece deep inside must learn
    // the shell's values when the page is placed.
    QWidget shell;
    Environment::setSettingsGlass(&shell, true);
    auto* page = new CountingWidget();
    QWidget inner(page);
    CountingWidget piece(&inner);
    EXPECT_FALSE(piece.environment().settingsGlass);
    page->setParent(&shell);
    EXPECT_TRUE(piece.environment().settingsGlass);
    EXPECT_EQ(piece.changes, 1);
    EXPECT_EQ(page->changes, 1);
}

TEST_F(EnvironmentTest, ReduceMotionOverrideWinsBothWays) {
    EXPECT_FALSE(ReduceMotion::resolve(std::nullopt, false));
    EXPECT_TRUE(ReduceMotion::resolve(std::nullopt, true));
    EXPECT_FALSE(ReduceMotion::resolve(false, true));
    EXPECT_TRUE(ReduceMotion::resolve(true, false));
    QWidget root;
    QWidget leaf(&root);
    DesktopSettings::shared().setAnimationsEnabled(false);
    EXPECT_TRUE(ReduceMotion::of(&leaf));
    Environment::setReduceMotionOverride(&root, false);
    EXPECT_FALSE(ReduceMotion::of(&leaf));
    DesktopSettings::shared().setAnimationsEnabled(true);
    Environment::setReduceMotionOverride(&root, true);
    EXPECT_TRUE(ReduceMotion::of(&leaf));
}

using BackdropTest = DesignFixture;

TEST_F(BackdropTest, LookPerTransparencyOffscreenAndAppearance) {
    const Backdrop::Look live = Backdrop::look(false, false, ColorScheme::light);
    EXPECT_DOUBLE_EQ(live.topOpacity, 0.86);
    EXPECT_DOUBLE_EQ(live.bottomOpacity, 0.94);
    EXPECT_DOUBLE_EQ(live.glowOpacity, 0.22);
    EXPECT_FALSE(live.screenBlend);
    const Backdrop::Look opaque = Backdrop::look(true, false, ColorScheme::dark);
    EXPECT_DOUBLE_EQ(opaque.topOpacity, 1);
    EXPECT_DOUBLE_EQ(opaque.bottomOpacity, 1);
    EXPECT_DOUBLE_EQ(opaque.glowOpacity, 0.3);
    EXPECT_TRUE(opaque.screenBlend);
    const Backdrop::Look offscreen = Backdrop::look(false, true, ColorScheme::light);
    EXPECT_DOUBLE_EQ(offscreen.topOpacity, 1);

    QWidget host;
    Backdrop backdrop(&host);
    Environment::setOffscreen(&host, true);
    EXPECT_DOUBLE_EQ(backdrop.currentLook().topOpacity, 1);
    DesktopSettings::shared().setReduceTransparency(true);
    Environment::setOffscreen(&host, false);
    EXPECT_DOUBLE_EQ(backdrop.currentLook().bottomOpacity, 1);
    DesktopSettings::shared().setReduceTransparency(false);
}

}  // namespace

namespace {

TEST_F(EnvironmentTest, MacCallsAndDesktopChangesAreAnnouncedOnce) {
    QWidget root;
    auto* leaf = new QWidget(&root);
    EXPECT_EQ(Environment::of(leaf).macCalls, nullptr);  // the live value
    int changes = 0;
    QObject::connect(&DesktopSettings::shared(), &DesktopSettings::changed, [&] { ++changes; });
    DesktopSettings::shared().setAnimationsEnabled(false);
    DesktopSettings::shared().setAnimationsEnabled(false);
    DesktopSettings::shared().setAnimationsEnabled(true);
    EXPECT_EQ(changes, 2);
    QObject::disconnect(&DesktopSettings::shared(), &DesktopSettings::changed, nullptr, nullptr);
    // Overrides live with their widget: a destroyed middle leaves nothing behind.
    auto* middle = new QWidget(&root);
    Environment::setSettingsGlass(middle, true);
    delete middle;
    EXPECT_FALSE(Environment::of(leaf).settingsGlass);
    EXPECT_TRUE(root.findChildren<QObject*>(QStringLiteral("zantrel.environment")).isEmpty());
}

}  // namespace
