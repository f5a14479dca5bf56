#include "tests/support/SessionProcesses.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

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

CommandResult runProcess(const QProcessEnvironment& environment, const QString& program, const QStringList& arguments,
                         std::chrono::milliseconds timeout, const QByteArray& input) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    CommandResult result;
    if (!process.waitForStarted(5000)) {
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

QString usePrivateHome(const QString& home, QProcessEnvironment& environment) {
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (const char* folder : {"/config", "/cache", "/data"})
        QDir().mkpath(home + QLatin1StringView(folder));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    return runtime;
}

QString startSessionBus(QProcess& bus, const QProcessEnvironment& environment, const QStringList& arguments) {
    bus.setProcessEnvironment(environment);
    bus.start(QStringLiteral("dbus-daemon"), arguments);
    if (!bus.waitForStarted(5000))
        return {};
    QByteArray address;
    QElapsedTimer timer;
    timer.start();
    while (!address.contains('\n') && timer.elapsed() < 5000) {
        bus.waitForReadyRead(200);
        address += bus.readAllStandardOutput();
    }
    return address.contains('\n') ? QString::fromLatin1(address.trimmed()) : QString();
}

}  // namespace TestSupport
