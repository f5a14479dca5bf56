// The real app started over settings a person broke: nothing they stored is lost, and a
// start with nothing changed does not rewrite the file.

#include "AppDriver.h"

#include <QDir>
#include <QFile>

namespace {

class BrokenSettingsEndToEnd : public TestSupport::AppDriver {
protected:
    QString defaultsFile() const { return state_.filePath(QStringLiteral("defaults")); }

    QByteArray fileBytes() const {
        QFile file(defaultsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void putDefaults(const QByteArray& bytes) const {
        QFile file(defaultsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    // Starts the app, lets it settle with its bus name taken, and ends it.
    void startAndStop() {
        QProcess& process = startApp();
        EXPECT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
        QThread::msleep(1500);
        process.terminate();
        EXPECT_TRUE(process.waitForFinished(30000));
    }

    // The exact bytes, in the file or in a copy set aside beside it.
    bool keptSomewhere(const QByteArray& original) const {
        if (fileBytes() == original)
            return true;
        const QStringList copies = QDir(state_.path()).entryList({QStringLiteral("*.unreadable-*")}, QDir::Files);
        return std::ranges::any_of(copies, [&](const QString& name) {
            QFile copy(state_.filePath(name));
            return copy.open(QIODevice::ReadOnly) && copy.readAll() == original;
        });
    }
};

TEST_F(BrokenSettingsEndToEnd, BrokenSettingsAreKeptAndNotRewrittenAtEveryStart) {
    QByteArray garbage("[General]\n; notes the user keeps here\n");
    while (garbage.size() < 4096)
        garbage += "this line is not a setting at all, it is junk " + QByteArray::number(garbage.size()) + "\n";
    // A file a rewrite would lose lines of: its exact bytes are kept.
    putDefaults(garbage);
    startAndStop();
    EXPECT_TRUE(keptSomewhere(garbage));
    QByteArray afterFirst = fileBytes();
    startAndStop();
    EXPECT_EQ(fileBytes(), afterFirst);

    // Preferences the app cannot take whole: the stored document stays as it was; the
    // app did not save its defaults over it.
    const QList<QByteArray> documents{
        R"({"route": "clipboard", "onboarded": tru)",
        R"({"showIcon": "very", "onboarded": true})",
        R"({"onboarded": true, "shortcuts": {"grab": {"keyCode": 99999, "modifiers": 13}}})",
        R"({"onboarded": true, "route": "sideways"})",
    };
    for (const QByteArray& document : documents) {
        writePreferences(document);
        startAndStop();
        EXPECT_EQ(storedPreferences(), document);
        // A second start with nothing changed leaves the file as the first one left it.
        afterFirst = fileBytes();
        startAndStop();
        EXPECT_EQ(fileBytes(), afterFirst) << document.toStdString();
        EXPECT_EQ(storedPreferences(), document);
    }
}

}  // namespace
