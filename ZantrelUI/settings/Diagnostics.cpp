#include "ZantrelUI/settings/Diagnostics.h"

#include "ZantrelUI/context/AppContext.h"
#include "platform/log/Log.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSysInfo>

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace ZantrelUI::Diagnostics {

namespace {

// One os-release value: quotes removed, backslash escapes inside double quotes undone.
QString unquote(QStringView value) {
    if (value.size() >= 2 && value.front() == u'\'' && value.back() == u'\'')
        return value.mid(1, value.size() - 2).toString();
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') {
        QString out;
        const QStringView inner = value.mid(1, value.size() - 2);
        for (qsizetype i = 0; i < inner.size(); ++i) {
            if (inner[i] == u'\\' && i + 1 < inner.size())
                ++i;
            out.append(inner[i]);
        }
        return out;
    }
    return value.toString();
}

QString readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(64 * 1024));
}

}  // namespace

Sources Sources::live() {
    return {[] { return appShortVersion() + QStringLiteral(" (") + appBuildNumber() + u')'; },
            [] { return distributionName(); },
            [] { return kernelRelease(); },
            [] { return hardwareModel(); },
            [](const QString& subsystem) { return logLines(subsystem); },
            [] { return privateNames(); }};
}

QString report(const AppContext& context, const QList<Fact>& fields, const Sources& sources) {
    return report(context.product().name, context.bundleId(), fields, sources);
}

QString report(const QString& appName, const QString& bundleId, const QList<Fact>& fields, const Sources& sources) {
    auto call = [](const std::function<QString()>& source) { return source ? source() : QString(); };
    QList<Fact> facts{{QStringLiteral("Version"), call(sources.version)},
                      {QStringLiteral("System"), call(sources.system)},
                      {QStringLiteral("Kernel"), call(sources.kernel)},
                      {QStringLiteral("Model"), call(sources.model)}};
    facts.append(fields);
    const QStringList log = sources.log ? sources.log(bundleId) : QStringList();
    const ZantrelKit::DiagnosticReport::PrivateNames names =
        sources.names ? sources.names() : ZantrelKit::DiagnosticReport::PrivateNames{};
    return ZantrelKit::DiagnosticReport::make(appName, facts, log, names);
}

QStringList logLines(const QString& subsystem, const Platform::LogStore& store) {
    QStringList lines;
    const QLocale posix = QLocale::c();
    for (const Platform::LogEntry& entry : store.entries(subsystem))
        lines.append(posix.toString(entry.time.toLocalTime(), QStringLiteral("HH:mm:ss")) + u' ' + entry.category +
                     QStringLiteral(": ") + entry.message);
    return lines;
}

QStringList logLines(const QString& subsystem) { return logLines(subsystem, Platform::LogStore::shared()); }

QString hardwareModel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.read(4096);
    if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0)
        bytes.truncate(zero);
    return QString::fromUtf8(bytes).trimmed();
}

QString distributionName(const QByteArray& osRelease) {
    QHash<QString, QString> values;
    for (const QString& line : QString::fromUtf8(osRelease).split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const qsizetype equals = trimmed.indexOf(u'=');
        if (equals <= 0)
            continue;
        values.insert(trimmed.left(equals), unquote(QStringView(trimmed).mid(equals + 1)));
    }
    if (const QString pretty = values.value(QStringLiteral("PRETTY_NAME")).trimmed(); !pretty.isEmpty())
        return pretty;
    const QString name = values.value(QStringLiteral("NAME")).trimmed();
    const QString version = values.value(QStringLiteral("VERSION_ID")).trimmed();
    if (!name.isEmpty())
        return version.isEmpty() ? name : name + u' ' + version;
    return QStringLiteral("Linux");
}

QString distributionName() {
    for (const QString& path : {QStringLiteral("/etc/os-release"), QStringLiteral("/usr/lib/os-release")}) {
        const QString text = readSmallFile(path);
        if (!text.isEmpty())
            return distributionName(text.toUtf8());
    }
    return QStringLiteral("Linux");
}

QString kernelRelease() {
    struct utsname name {};
    if (::uname(&name) != 0)
        return {};
    return QString::fromUtf8(name.release);
}

ZantrelKit::DiagnosticReport::PrivateNames privateNames() {
    QString user;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_name != nullptr)
        user = QString::fromUtf8(entry->pw_name);
    if (user.isEmpty())
        user = qEnvironmentVariable("USER");
    return {QSysInfo::machineHostName(), user, QDir::homePath()};
}

}  // namespace ZantrelUI::Diagnostics
