#include "tests/support/SessionProcesses.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>

namespace TestSupport {

void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

namespace {

bool hasMountsUnder(const QString& folder) {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray prefix = folder.toLocal8Bit() + '/';
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4 && fields[4].startsWith(prefix))
            return true;
    }
    return false;
}

}  // namespace

void removeHome(QTemporaryDir& home, std::chrono::milliseconds limit) {
    if (!home.isValid())
        return;
    QElapsedTimer clock;
    clock.start();
    while (hasMountsUnder(home.path()) && clock.elapsed() < limit.count())
        QThread::msleep(100);
    home.remove();
}

CommandResult runProcess(const QProcessEnvironment& environment, const QString& program, const QStringList& arguments,
                         std::chrono::milliseconds timeout, const QByteArray& input) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    CommandResult result;
    if (!process.waitForStarted(30000)) {
        result.err = QStringLiteral("could not start %1").arg(program);
        return result;
    }
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(static_cast<int>(timeout.count()))) {
        process.kill();
        process.waitForFinished(3000);
    } else {
        result.finished = process.exitStatus() == QProcess::NormalExit;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

std::optional<QString> waitForLine(QProcess& process, const QString& prefix, std::chrono::milliseconds timeout) {
    QElapsedTimer timer;
    timer.start();
    while (true) {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(prefix))
                return line;
        }
        if (timer.elapsed() > timeout.count())
            return std::nullopt;
        if (!process.waitForReadyRead(200) && process.state() == QProcess::NotRunning && !process.canReadLine())
            return std::nullopt;
    }
}

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    // Read by programs that run as another user (sway under root runs as nobody).
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                               QFileDevice::ReadOther);
}

// Noto first, as a Debian desktop with both families picks it, and DejaVu for what Noto
// lacks; rendered as Debian's defaults render. The system's caches are read, not rebuilt.
QByteArray fontConfiguration(const QString& cache) {
    QByteArray aliases;
    const auto alias = [&](const char* generic, const char* first, const char* second) {
        aliases += QByteArray("  <alias binding=\"same\"><family>") + generic + "</family><prefer><family>" + first +
                   "</family><family>" + second + "</family></prefer></alias>\n";
    };
    for (const char* generic : {"sans-serif", "sans", "Sans", "Sans Serif", "system-ui"})
        alias(generic, "Noto Sans", "DejaVu Sans");
    for (const char* generic : {"serif", "Serif"})
        alias(generic, "Noto Serif", "DejaVu Serif");
    for (const char* generic : {"monospace", "Monospace"})
        alias(generic, "Noto Sans Mono", "DejaVu Sans Mono");
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n"
           "  <dir>/usr/share/fonts/truetype/noto</dir>\n  <dir>/usr/share/fonts/truetype/dejavu</dir>\n"
           "  <cachedir>" + cache.toUtf8() + "</cachedir>\n  <cachedir>/var/cache/fontconfig</cachedir>\n"
           // A family that is not here falls back to sans-serif, not to any font at all.
           "  <match target=\"pattern\">\n"
           "    <test qual=\"all\" name=\"family\" compare=\"not_eq\"><string>sans-serif</string></test>\n"
           "    <test qual=\"all\" name=\"family\" compare=\"not_eq\"><string>serif</string></test>\n"
           "    <test qual=\"all\" name=\"family\" compare=\"not_eq\"><string>monospace</string></test>\n"
           "    <edit name=\"family\" mode=\"append_last\"><string>sans-serif</string></edit></match>\n" +
           aliases +
           "  <match target=\"pattern\"><edit name=\"antialias\" mode=\"append\"><bool>true</bool></edit>\n"
           "    <edit name=\"hintstyle\" mode=\"append\"><const>hintslight</const></edit>\n"
           "    <edit name=\"lcdfilter\" mode=\"append\"><const>lcddefault</const></edit></match>\n"
           "</fontconfig>\n";
}

}  // namespace

bool setByUsersDesktop(const QString& name) {
    static const QStringList prefixes{QStringLiteral("QT_"),     QStringLiteral("GTK_"),
                                      QStringLiteral("GDK_"),    QStringLiteral("KDE_"),
                                      QStringLiteral("GNOME_"),  QStringLiteral("XCURSOR_"),
                                      QStringLiteral("LC_"),     QStringLiteral("FONTCONFIG_"),
                                      QStringLiteral("XDG_SESSION_"), QStringLiteral("XDG_DESKTOP_PORTAL")};
    static const QStringList names{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("DESKTOP_SESSION"),
                                   QStringLiteral("LANGUAGE"),           QStringLiteral("XMODIFIERS"),
                                   QStringLiteral("TESSDATA_PREFIX"),    QStringLiteral("XDG_STATE_HOME")};
    return names.contains(name) ||
           std::ranges::any_of(prefixes, [&](const QString& prefix) { return name.startsWith(prefix); });
}

QString usePrivateHome(const QString& home, QProcessEnvironment& environment) {
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (const char* folder : {"/config", "/cache", "/data", "/state", "/Desktop", "/Documents", "/Downloads",
                               "/Pictures"})
        QDir().mkpath(home + QLatin1StringView(folder));
    for (const QString& name : environment.keys())
        if (setByUsersDesktop(name))
            environment.remove(name);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/state"));
    environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), QStringLiteral("/etc/xdg"));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share"));
    // The user folders a desktop's tools expect to exist (a screenshot portal saves into
    // Pictures, or fails).
    writeFile(home + QStringLiteral("/config/user-dirs.dirs"),
              "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n"
              "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\nXDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
    const QString fonts = home + QStringLiteral("/fonts.conf");
    if (writeFile(fonts, fontConfiguration(home + QStringLiteral("/cache/fontconfig"))))
        environment.insert(QStringLiteral("FONTCONFIG_FILE"), fonts);
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return runtime;
}

bool usePortals(const QString& home, QProcessEnvironment& environment, const QStringList& backends) {
    // The portal of xdg-desktop-portal 1.16 reads its backends from this folder and falls
    // back to any backend that has an interface; later ones follow portals.conf.
    const QString folder = home + QStringLiteral("/portals");
    if (!QDir().mkpath(folder))
        return false;
    for (const QString& backend : backends) {
        const QString file = backend + QStringLiteral(".portal");
        QFile installed(QStringLiteral("/usr/share/xdg-desktop-portal/portals/") + file);
        if (!installed.open(QIODevice::ReadOnly) || !writeFile(folder + u'/' + file, installed.readAll()))
            return false;
    }
    environment.insert(QStringLiteral("XDG_DESKTOP_PORTAL_DIR"), folder);

    const QString config = environment.value(QStringLiteral("XDG_CONFIG_HOME")) + QStringLiteral("/xdg-desktop-portal");
    if (!QDir().mkpath(config))
        return false;
    // "none" is no backend's name: an empty list would mean "any" to the portal.
    const QByteArray preferred = "[preferred]\ndefault=" +
                                 (backends.isEmpty() ? QByteArray("none") : backends.join(u';').toUtf8()) + "\n";
    // A desktop's own file in the system folders would win over a plain portals.conf here.
    QStringList names{QStringLiteral("portals.conf")};
    for (const QString& desktop :
         environment.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(u':', Qt::SkipEmptyParts))
        names << desktop.toLower() + QStringLiteral("-portals.conf");
    return std::ranges::all_of(names, [&](const QString& name) { return writeFile(config + u'/' + name, preferred); });
}

QString startSessionBus(QProcess& bus, const QProcessEnvironment& environment, const QStringList& arguments) {
    bus.setProcessEnvironment(environment);
    bus.start(QStringLiteral("dbus-daemon"), arguments);
    if (!bus.waitForStarted(30000))
        return {};
    QByteArray address;
    QElapsedTimer timer;
    timer.start();
    while (!address.contains('\n') && timer.elapsed() < 30000) {
        bus.waitForReadyRead(200);
        address += bus.readAllStandardOutput();
    }
    return address.contains('\n') ? QString::fromLatin1(address.trimmed()) : QString();
}

}  // namespace TestSupport
