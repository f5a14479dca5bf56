#include "ZantrelUI/desktop/SystemShortcuts.h"

#include "platform/screen/X11Link.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeySequence>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

namespace ZantrelUI::SystemShortcuts {
namespace {

using ZantrelKit::Shortcut;
using Modifiers = ZantrelKit::Shortcut::Modifiers;

const QStringList gnomeSchemas = {
    QStringLiteral("org.gnome.desktop.wm.keybindings"),
    QStringLiteral("org.gnome.shell.keybindings"),
    QStringLiteral("org.gnome.settings-daemon.plugins.media-keys"),
    QStringLiteral("org.gnome.mutter.keybindings"),
};

std::optional<Shortcut> fromKeysym(xkb_keysym_t sym, Modifiers modifiers, const Platform::Keymap& keymap) {
    if (sym == XKB_KEY_NoSymbol)
        return std::nullopt;
    // Letters come in either case; the key is the same.
    sym = xkb_keysym_to_lower(sym);
    const auto hit = keymap.keyTyping(sym);
    if (!hit)
        return std::nullopt;
    if (hit->shifted)
        modifiers.insert(Modifiers::shift);
    return Shortcut{hit->keyCode, modifiers};
}

std::optional<Modifiers> gtkModifier(QStringView name) {
    static const QHash<QString, Modifiers> names = {
        {QStringLiteral("primary"), Modifiers::control}, {QStringLiteral("control"), Modifiers::control},
        {QStringLiteral("ctrl"), Modifiers::control},    {QStringLiteral("ctl"), Modifiers::control},
        {QStringLiteral("shift"), Modifiers::shift},     {QStringLiteral("shft"), Modifiers::shift},
        {QStringLiteral("alt"), Modifiers::option},      {QStringLiteral("mod1"), Modifiers::option},
        {QStringLiteral("meta"), Modifiers::option},     {QStringLiteral("super"), Modifiers::command},
        {QStringLiteral("mod4"), Modifiers::command},
    };
    const auto it = names.constFind(name.toString().toLower());
    if (it == names.cend())
        return std::nullopt;
    return it.value();
}

xkb_keysym_t keysymOfQtKey(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return XKB_KEY_F1 + static_cast<xkb_keysym_t>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Left: return XKB_KEY_Left;
    case Qt::Key_Right: return XKB_KEY_Right;
    case Qt::Key_Up: return XKB_KEY_Up;
    case Qt::Key_Down: return XKB_KEY_Down;
    case Qt::Key_Return: return XKB_KEY_Return;
    case Qt::Key_Enter: return XKB_KEY_KP_Enter;
    case Qt::Key_Tab: return XKB_KEY_Tab;
    case Qt::Key_Backspace: return XKB_KEY_BackSpace;
    case Qt::Key_Delete: return XKB_KEY_Delete;
    case Qt::Key_Escape: return XKB_KEY_Escape;
    case Qt::Key_Home: return XKB_KEY_Home;
    case Qt::Key_End: return XKB_KEY_End;
    case Qt::Key_PageUp: return XKB_KEY_Page_Up;
    case Qt::Key_PageDown: return XKB_KEY_Page_Down;
    case Qt::Key_Print: return XKB_KEY_Print;
    case Qt::Key_Insert: return XKB_KEY_Insert;
    default: break;
    }
    // Latin-1 keys share their code with their key symbol.
    if (key >= 0x20 && key <= 0xff)
        return static_cast<xkb_keysym_t>(key);
    return XKB_KEY_NoSymbol;
}

QString runGsettings(const QString& program, const QString& schema) {
    QProcess process;
    process.start(program, {QStringLiteral("list-recursively"), schema});
    if (!process.waitForFinished(2000)) {
        process.kill();
        process.waitForFinished(500);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

std::optional<Shortcut> fromAccelerator(const QString& accelerator, const Platform::Keymap& keymap) {
    Modifiers modifiers;
    QStringView rest(accelerator);
    rest = rest.trimmed();
    while (rest.startsWith(u'<')) {
        const qsizetype close = rest.indexOf(u'>');
        if (close < 0)
            return std::nullopt;
        const auto modifier = gtkModifier(rest.mid(1, close - 1));
        if (!modifier)
            return std::nullopt;
        modifiers.insert(*modifier);
        rest = rest.mid(close + 1);
    }
    if (rest.isEmpty() || rest == u"disabled")
        return std::nullopt;
    const QByteArray name = rest.toUtf8();
    xkb_keysym_t sym = xkb_keysym_from_name(name.constData(), XKB_KEYSYM_NO_FLAGS);
    if (sym == XKB_KEY_NoSymbol)
        sym = xkb_keysym_from_name(name.constData(), XKB_KEYSYM_CASE_INSENSITIVE);
    return fromKeysym(sym, modifiers, keymap);
}

std::optional<Shortcut> fromKeySequence(const QString& sequence, const Platform::Keymap& keymap) {
    const QString trimmed = sequence.trimmed();
    if (trimmed.isEmpty() || trimmed.compare(u"none", Qt::CaseInsensitive) == 0)
        return std::nullopt;
    const QKeySequence keys = QKeySequence::fromString(trimmed, QKeySequence::PortableText);
    if (keys.count() != 1)
        return std::nullopt;
    const QKeyCombination combination = keys[0];
    const Qt::KeyboardModifiers qt = combination.keyboardModifiers();
    Modifiers modifiers;
    if (qt.testFlag(Qt::ControlModifier))
        modifiers.insert(Modifiers::control);
    if (qt.testFlag(Qt::AltModifier))
        modifiers.insert(Modifiers::option);
    if (qt.testFlag(Qt::ShiftModifier))
        modifiers.insert(Modifiers::shift);
    if (qt.testFlag(Qt::MetaModifier))
        modifiers.insert(Modifiers::command);
    return fromKeysym(keysymOfQtKey(combination.key()), modifiers, keymap);
}

ShortcutSet fromGsettingsListing(const QString& listing, const Platform::Keymap& keymap) {
    static const QRegularExpression quoted(QStringLiteral("'((?:[^'\\\\]|\\\\.)*)'"));
    ShortcutSet shortcuts;
    for (const QString& line : listing.split(u'\n', Qt::SkipEmptyParts)) {
        // "schema key value": the value starts after the second blank.
        const qsizetype first = line.indexOf(u' ');
        const qsizetype second = first < 0 ? -1 : line.indexOf(u' ', first + 1);
        if (second < 0)
            continue;
        const QString value = line.mid(second + 1);
        auto matches = quoted.globalMatch(value);
        while (matches.hasNext()) {
            if (const auto shortcut = fromAccelerator(matches.next().captured(1), keymap))
                shortcuts.insert(*shortcut);
        }
    }
    return shortcuts;
}

ShortcutSet fromKdeShortcuts(const QString& text, const Platform::Keymap& keymap, const QString& ownComponent) {
    ShortcutSet shortcuts;
    bool own = false;
    for (const QString& raw : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            own = !ownComponent.isEmpty() && line == u'[' + ownComponent + u']';
            continue;
        }
        if (own || line.startsWith(u'#') || line.startsWith(u'_'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || line.left(equals).startsWith(u'_'))
            continue;
        const QString value = line.mid(equals + 1);
        // "active,default,description"; a key of "," itself reads ",," at the start.
        const qsizetype comma = value.startsWith(u',') ? value.indexOf(u',', 1) : value.indexOf(u',');
        const QString active = comma < 0 ? value : value.left(comma);
        for (const QString& sequence : active.split(u'\t', Qt::SkipEmptyParts)) {
            if (const auto shortcut = fromKeySequence(sequence, keymap))
                shortcuts.insert(*shortcut);
        }
    }
    return shortcuts;
}

ShortcutSet current() {
    std::optional<Platform::Keymap> keymap;
    if (const auto link = Platform::applicationX11Link())
        keymap = Platform::Keymap::fromX11(*link);
    if (!keymap)
        keymap = Platform::Keymap::fromNames(QStringLiteral("us"));
    if (!keymap)
        return {};

    ShortcutSet shortcuts;
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (!gsettings.isEmpty()) {
        for (const QString& schema : gnomeSchemas)
            shortcuts.unite(fromGsettingsListing(runGsettings(gsettings, schema), *keymap));
    }
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    QFile kde(config + QStringLiteral("/kglobalshortcutsrc"));
    if (kde.open(QIODevice::ReadOnly))
        shortcuts.unite(fromKdeShortcuts(QString::fromUtf8(kde.readAll()), *keymap, QGuiApplication::desktopFileName()));
    return shortcuts;
}

}  // namespace ZantrelUI::SystemShortcuts
