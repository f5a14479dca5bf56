// The desktop's own shortcuts as GNOME and KDE store them, and key names by layout.

#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "ZantrelUI/desktop/MenuKeyStyle.h"
#include "ZantrelUI/desktop/SystemShortcuts.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

using ZantrelKit::Shortcut;
using Modifiers = Shortcut::Modifiers;
namespace System = ZantrelUI::SystemShortcuts;

Platform::Keymap keymap(const char* layout) {
    return *Platform::Keymap::fromNames(QString::fromLatin1(layout));
}

TEST(SystemShortcuts, GtkAcceleratorsBecomeShortcuts) {
    const auto us = keymap("us");
    EXPECT_EQ(System::fromAccelerator(QStringLiteral("<Primary><Shift>t"), us),
              (Shortcut{17, {Modifiers::control, Modifiers::shift}}));
    EXPECT_EQ(System::fromAccelerator(QStringLiteral("<Super>Up"), us), (Shortcut{126, {Modifiers::command}}));
    EXPECT_EQ(System::fromAccelerator(QStringLiteral("<Control><Alt>Delete"), us),
              (Shortcut{117, {Modifiers::control, Modifiers::option}}));
    EXPECT_EQ(System::fromAccelerator(QStringLiteral("<Super>T"), us), (Shortcut{17, {Modifiers::command}}));
    EXPECT_EQ(System::fromAccelerator(QStringLiteral("<Alt>F4"), us), (Shortcut{118, {Modifiers::option}}));
    EXPECT_EQ(System::fromAccelerator(QStringLiteral("<Shift><Super>exclam"), us),
              (Shortcut{18, {Modifiers::shift, Modifiers::command}}));
    EXPECT_EQ(System::fromAccelerator(QStringLiteral("<Super>z"), keymap("de")), (Shortcut{16, {Modifiers::command}}));
    for (const char* none : {"", "disabled", "<Hyper>a", "<Super>", "<Super>NoSuchKey", "/org/gnome/custom0/"})
        EXPECT_FALSE(System::fromAccelerator(QString::fromLatin1(none), us)) << none;
}

TEST(SystemShortcuts, GsettingsListingsGiveEveryEnabledBindingOnce) {
    const QString listing = QStringLiteral(
        "org.gnome.desktop.wm.keybindings close ['<Alt>F4']\n"
        "org.gnome.desktop.wm.keybindings switch-to-workspace-1 ['<Super>Home', '<Control><Alt>Home']\n"
        "org.gnome.desktop.wm.keybindings begin-move @as []\n"
        "org.gnome.desktop.wm.keybindings minimize ['disabled']\n"
        "org.gnome.desktop.wm.keybindings toggle-maximized ['<Alt>F4']\n"
        "org.gnome.settings-daemon.plugins.media-keys screensaver '<Super>l'\n"
        "org.gnome.settings-daemon.plugins.media-keys volume-step 6\n"
        "org.gnome.settings-daemon.plugins.media-keys custom-keybindings ['/org/gnome/custom0/']\n");
    const System::ShortcutSet shortcuts = System::fromGsettingsListing(listing, keymap("us"));
    EXPECT_EQ(shortcuts, (System::ShortcutSet{Shortcut{118, {Modifiers::option}},
                                              Shortcut{115, {Modifiers::command}},
                                              Shortcut{115, {Modifiers::control, Modifiers::option}},
                                              Shortcut{37, {Modifiers::command}}}));
    EXPECT_TRUE(System::fromGsettingsListing(QString(), keymap("us")).isEmpty());
}

TEST(SystemShortcuts, KdeGlobalShortcutsGiveTheActiveSequences) {
    const QString text = QStringLiteral(
        "[kwin]\n"
        "_k_friendly_name=KWin\n"
        "Switch to Desktop 1=Ctrl+F1,Ctrl+F1,Switch to Desktop 1\n"
        "Window Close=Alt+F4\tMeta+Q,Alt+F4,Close Window\n"
        "Expose=none,Ctrl+F9,Toggle Present Windows\n"
        "Walk=Meta+Ctrl+Left,,Walk\n"
        "[org.glyphnab.Glyphnab]\n"
        "grab=Meta+Ctrl+Shift+T,none,Grab text\n"
        "[plasmashell]\n"
        "activate task manager entry 1=Meta+1,Meta+1,Activate Task Manager Entry 1\n");
    // The app's own component holds the app's keys, not the desktop's.
    EXPECT_EQ(System::fromKdeShortcuts(text, keymap("us"), QStringLiteral("org.glyphnab.Glyphnab")),
              (System::ShortcutSet{Shortcut{122, {Modifiers::control}}, Shortcut{118, {Modifiers::option}},
                                   Shortcut{12, {Modifiers::command}},
                                   Shortcut{123, {Modifiers::control, Modifiers::command}},
                                   Shortcut{18, {Modifiers::command}}}));
    EXPECT_FALSE(System::fromKeySequence(QStringLiteral("Ctrl+K, Ctrl+C"), keymap("us")));
}

TEST(KeyboardLayout, KeysAreNamedByTheLayoutInShortcutTexts) {
    const Shortcut y{16, {Modifiers::control, Modifiers::shift, Modifiers::command}};
    EXPECT_EQ(ZantrelUI::KeyboardLayout::name(16, keymap("us")), u"y");
    EXPECT_EQ(y.text(ZantrelUI::KeyboardLayout::name(16, keymap("de"))), u"Ctrl+Shift+Super+Z");
    const Shortcut a{12, {Modifiers::command}};
    EXPECT_EQ(a.text(ZantrelUI::KeyboardLayout::name(12, keymap("fr"))), u"Super+A");
    EXPECT_FALSE(ZantrelUI::KeyboardLayout::name(36, keymap("fr")));  // Return types no visible text
    // Without an X11 keyboard the fixed US names stand in.
    EXPECT_FALSE(ZantrelUI::KeyboardLayout::name(16));
    EXPECT_EQ(ZantrelUI::KeyboardLayout::text(y), u"Ctrl+Shift+Super+Y");
}

TEST(KeyboardLayout, MenusWriteTheirKeysInTheDesktopsOrderAndWords) {
    using ZantrelUI::MenuKeyStyle;
    const QKeyCombination grab(Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier, Qt::Key_T);
    EXPECT_EQ(ZantrelUI::KeyboardLayout::text(grab), u"Ctrl+Shift+Super+T");
    EXPECT_EQ(ZantrelUI::KeyboardLayout::text(QKeyCombination(Qt::ControlModifier, Qt::Key_Comma)), u"Ctrl+,");
    EXPECT_EQ(ZantrelUI::KeyboardLayout::text(QKeyCombination(Qt::AltModifier, Qt::Key_PageUp)), u"Alt+Page Up");
    EXPECT_EQ(ZantrelUI::KeyboardLayout::text(QKeyCombination(Qt::MetaModifier, Qt::Key_F5)), u"Super+F5");

    // Qt writes "Meta+Ctrl+Shift+T" in the key column; the menus' style rewrites it.
    const QString qtText = QStringLiteral("Grab\t") + QKeySequence(grab).toString(QKeySequence::NativeText);
    EXPECT_EQ(MenuKeyStyle::rewritten(qtText), u"Grab\tCtrl+Shift+Super+T");
    EXPECT_EQ(MenuKeyStyle::rewritten(QStringLiteral("Text from File…")), u"Text from File…");
    EXPECT_EQ(MenuKeyStyle::rewritten(QStringLiteral("A\tnot keys, really")), u"A\tnot keys, really");

    // With Qt's own word for the key changed, its texts (and so the column's width) name
    // the same keys, and still read back.
    ZantrelUI::KeyboardLayout::installSuperKeyName(*QCoreApplication::instance());
    const QString native = QKeySequence(grab).toString(QKeySequence::NativeText);
    EXPECT_TRUE(native.contains(u"Super")) << native.toStdString();
    EXPECT_FALSE(native.contains(u"Meta"));
    EXPECT_EQ(MenuKeyStyle::rewritten(QStringLiteral("Grab\t") + native), u"Grab\tCtrl+Shift+Super+T");
    EXPECT_EQ(QKeySequence(grab).toString(QKeySequence::PortableText), u"Meta+Ctrl+Shift+T");
}

}  // namespace
