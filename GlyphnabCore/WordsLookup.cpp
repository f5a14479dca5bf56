// Where the app's texts come from: its bundle in the data folder, found once.

#include "GlyphnabCore/Words.h"

#include "ZantrelKit/DataFolder.h"
#include "platform/log/Log.h"

#include <QFileInfo>

#include <atomic>

namespace GlyphnabCore::Words {
namespace {

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("texts"));
    return logger;
}

// Nothing when the bundle is missing: the English defaults still read well, so a damaged
// installation shows them instead of stopping.
const ZantrelKit::StringTables* bundleTables() {
    static const std::unique_ptr<ZantrelKit::StringTables> tables = []() -> std::unique_ptr<ZantrelKit::StringTables> {
        QStringList candidates;
        if (const std::optional<QString> folder = ZantrelKit::dataFolder())
            candidates.append(*folder);
        candidates.append(ZantrelKit::dataFolderCandidates());
        const std::optional<QString> found = locateBundle(candidates);
        if (!found) {
            log().error(u"unable to find bundle named GlyphnabCore_GlyphnabCore; showing the English texts");
            return nullptr;
        }
        return std::make_unique<ZantrelKit::StringTables>(*found);
    }();
    return tables.get();
}

std::atomic<const ZantrelKit::StringTables*>& overrideTables() {
    static std::atomic<const ZantrelKit::StringTables*> tables{nullptr};
    return tables;
}

}  // namespace

std::optional<QString> locateBundle(const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        const QString path = candidate + u'/' + QString::fromUtf16(bundleName);
        if (QFileInfo(path).isDir())
            return path;
    }
    return std::nullopt;
}

QString lookup(const QString& key, const QString& englishDefault,
               std::initializer_list<ZantrelKit::TextArgument> arguments) {
    const ZantrelKit::StringTables* tables = overrideTables().load();
    if (!tables)
        tables = bundleTables();
    if (tables)
        return tables->text(key, englishDefault, arguments);
    return arguments.size() == 0 ? englishDefault : ZantrelKit::fillArguments(englishDefault, arguments);
}

TablesOverride::TablesOverride(const QString& folder)
    : tables_(std::make_unique<ZantrelKit::StringTables>(folder)), previous_(overrideTables().exchange(tables_.get())) {}

TablesOverride::~TablesOverride() { overrideTables().store(previous_); }

}  // namespace GlyphnabCore::Words
