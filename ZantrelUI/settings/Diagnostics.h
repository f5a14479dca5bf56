#pragma once

// The support report: a few facts about the app and this computer, the app's own facts,
// and the app's log since it started, with the user's and the computer's names left out.
// The user reads it before anything leaves the computer.

#include "ZantrelKit/DiagnosticReport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace Platform {
class LogStore;
}

namespace ZantrelUI {

class AppContext;

namespace Diagnostics {

using Fact = ZantrelKit::DiagnosticReport::Fact;

// Everything the report reads from the system, replaceable in tests.
struct Sources {
    std::function<QString()> version;                        // "<short version> (<build>)"
    std::function<QString()> system;                         // the distribution's name
    std::function<QString()> kernel;                         // the kernel release
    std::function<QString()> model;                          // the computer's model
    std::function<QStringList(const QString&)> log;          // a subsystem's log lines, oldest first
    std::function<ZantrelKit::DiagnosticReport::PrivateNames()> names;

    static Sources live();
};

// The report for the app of `context` with its extra facts, in order. Never fails.
QString report(const AppContext& context, const QList<Fact>& fields, const Sources& sources = Sources::live());
QString report(const QString& appName, const QString& bundleId, const QList<Fact>& fields, const Sources& sources);

// "HH:mm:ss <category>: <message>" for each entry of the subsystem in the store, oldest first.
QStringList logLines(const QString& subsystem, const Platform::LogStore& store);
QStringList logLines(const QString& subsystem);

// The DMI product name ("/sys/class/dmi/id/product_name"): the bytes before the first zero
// byte, trimmed, decoded as UTF-8; empty when it cannot be read.
QString hardwareModel(const QString& path = QStringLiteral("/sys/class/dmi/id/product_name"));

// PRETTY_NAME of an os-release text, else NAME and VERSION_ID, else "Linux".
QString distributionName(const QByteArray& osRelease);
// The distribution of this system (/etc/os-release, else /usr/lib/os-release).
QString distributionName();
// The running kernel's release (uname); empty when the system gives none.
QString kernelRelease();

// The names a report leaves out: this computer's host name, the login name and the home
// folder.
ZantrelKit::DiagnosticReport::PrivateNames privateNames();

}  // namespace Diagnostics

}  // namespace ZantrelUI
