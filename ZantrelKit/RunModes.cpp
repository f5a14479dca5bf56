#include "ZantrelKit/RunModes.h"

#include <QFile>
#include <QProcessEnvironment>

namespace ZantrelKit {

bool TestHost::detect(const Environment& environment, bool known, bool enabled) {
    if (!enabled)
        return false;
    return known || environment.contains(QStringLiteral("XCTestConfigurationFilePath"));
}

bool ScriptedRun::detect(const Environment& environment, const QStringList& arguments, bool forced) {
    if (forced)
        return true;
    if (environment.value(QStringLiteral("ZANTREL_TEST_DESKTOP")) == u"1")
        return true;
    if (environment.value(QStringLiteral("ZANTREL_NEEDS_SCREEN")) == u"1")
        return true;
    return arguments.contains(QStringLiteral("--state-dir"));
}

Environment processEnvironment() {
    Environment environment;
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    for (const QString& key : system.keys())
        environment.insert(key, system.value(key));
    return environment;
}

QStringList processArguments() {
    QFile file(QStringLiteral("/proc/self/cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList arguments;
    for (const QByteArray& part : file.readAll().split('\0'))
        arguments.append(QString::fromLocal8Bit(part));
    if (!arguments.isEmpty() && arguments.last().isEmpty())
        arguments.removeLast();  // the list ends with a terminator
    return arguments;
}

}  // namespace ZantrelKit
