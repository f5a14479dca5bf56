#include "Glyphnab/shell/AppMain.h"
#include "Glyphnab/shell/CommandLine.h"
#include "Glyphnab/shell/ProcessSetup.h"
#include "ZantrelKit/OwnerConfig.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

int printVersion() {
    const ZantrelKit::OwnerConfig config;
    const ZantrelKit::Product product(config);
    const QString version = config.value(QStringLiteral("CFBundleShortVersionString"))
                                .value_or(QStringLiteral(GLYPHNAB_VERSION));
    std::printf("%s %s\n", qPrintable(product.name), qPrintable(version));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> code = Glyphnab::runCommandLine(argc, argv))
        return *code;
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
        return printVersion();

    Glyphnab::ensureSingleThreadedOpenMP(argv);
    Glyphnab::blockTerminationSignals();

    QApplication app(argc, argv);
    Glyphnab::quitOnTerminationSignals();
    return Glyphnab::runApp(app);
}
