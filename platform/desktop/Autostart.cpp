#include "platform/desktop/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace Platform::Autostart {
namespace {

// The [Desktop Entry] group's value of a key, with the entry's string escapes undone
// only as far as the booleans need.
QString valueOf(const QString& text, const QString& key) {
    bool inEntry = false;
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == u"[Desktop Entry]";
            continue;
        }
        if (!inEntry || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

QString escapedString(const QString& value) {
    QString out;
    for (const QChar c : value) {
        if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\\')
            out += QStringLiteral("\\\\");
        else
            out += c;
    }
    return out;
}

}  // namespace

QString userFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart");
}

QString entryPath(const QString& folder, const QString& id) {
    return folder + u'/' + id + QStringLiteral(".desktop");
}

bool isEnabled(const QString& folder, const QString& id) {
    QFile file(entryPath(folder, id));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    if (valueOf(text, QStringLiteral("Hidden")).compare(u"true", Qt::CaseInsensitive) == 0)
        return false;
    return valueOf(text, QStringLiteral("X-GNOME-Autostart-enabled")).compare(u"false", Qt::CaseInsensitive) != 0;
}

QString execValue(const QString& program) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted = program;
    quoted.replace(u'%', QStringLiteral("%%"));
    bool needsQuotes = false;
    for (const QChar c : program)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (needsQuotes) {
        QString inner;
        for (const QChar c : quoted) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                inner += u'\\';
            inner += c;
        }
        quoted = u'"' + inner + u'"';
    }
    // The value is a string too: its own backslashes are escaped once more.
    return escapedString(quoted);
}

std::expected<void, QString> enable(const QString& folder, const QString& id, const Entry& entry) {
    if (entry.program.isEmpty())
        return std::unexpected(QStringLiteral("no program to start at login"));
    if (!QDir().mkpath(folder))
        return std::unexpected(QStringLiteral("cannot make the folder %1").arg(folder));
    QSaveFile file(entryPath(folder, id));
    if (!file.open(QIODevice::WriteOnly))
        return std::unexpected(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += QStringLiteral("Name=") + escapedString(entry.name) + u'\n';
    if (!entry.comment.isEmpty())
        text += QStringLiteral("Comment=") + escapedString(entry.comment) + u'\n';
    text += QStringLiteral("Exec=") + execValue(entry.program) + u'\n';
    if (!entry.icon.isEmpty())
        text += QStringLiteral("Icon=") + escapedString(entry.icon) + u'\n';
    text += QStringLiteral("Terminal=false\nX-GNOME-Autostart-enabled=true\n");
    file.write(text.toUtf8());
    if (!file.commit())
        return std::unexpected(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
    return {};
}

std::expected<void, QString> disable(const QString& folder, const QString& id) {
    QFile file(entryPath(folder, id));
    if (!file.exists())
        return {};
    if (!file.remove())
        return std::unexpected(QStringLiteral("cannot remove %1: %2").arg(file.fileName(), file.errorString()));
    return {};
}

}  // namespace Platform::Autostart
