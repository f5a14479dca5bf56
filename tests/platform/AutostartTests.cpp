// The autostart entry and the settings programs, in a temporary folder.

#include "platform/desktop/Autostart.h"
#include "platform/desktop/SettingsApp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

namespace Autostart = Platform::Autostart;
const QString id = QStringLiteral("org.glyphnab.Glyphnab");

QString read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void write(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST(Autostart, OnWritesAnEntryOffRemovesIt) {
    QTemporaryDir home;
    const QString folder = home.path() + QStringLiteral("/config/autostart");  // made on demand
    EXPECT_FALSE(Autostart::isEnabled(folder, id));
    ASSERT_TRUE(Autostart::enable(folder, id, {QStringLiteral("Glyphnab"), QStringLiteral("/usr/bin/glyphnab"), {}, {}}));
    EXPECT_TRUE(Autostart::isEnabled(folder, id));
    const QString text = read(Autostart::entryPath(folder, id));
    EXPECT_TRUE(text.startsWith(u"[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains(u"\nExec=/usr/bin/glyphnab\n"));
    EXPECT_TRUE(text.contains(u"\nName=Glyphnab\n"));
    ASSERT_TRUE(Autostart::enable(folder, id, {QStringLiteral("Glyphnab"), QStringLiteral("/usr/bin/glyphnab"), {}, {}}));
    ASSERT_TRUE(Autostart::disable(folder, id));
    EXPECT_FALSE(QFile::exists(Autostart::entryPath(folder, id)));
    EXPECT_FALSE(Autostart::isEnabled(folder, id));
    EXPECT_TRUE(Autostart::disable(folder, id));  // nothing to remove is no failure
}

TEST(Autostart, EntriesSwitchedOffByTheDesktopReadAsOff) {
    QTemporaryDir folder;
    write(Autostart::entryPath(folder.path(), id), "[Desktop Entry]\nType=Application\nExec=x\nHidden=true\n");
    EXPECT_FALSE(Autostart::isEnabled(folder.path(), id));
    write(Autostart::entryPath(folder.path(), id),
          "[Desktop Entry]\nExec=x\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(Autostart::isEnabled(folder.path(), id));
    // Keys of other groups do not count.
    write(Autostart::entryPath(folder.path(), id), "[Desktop Entry]\nExec=x\n[Desktop Action a]\nHidden=true\n");
    EXPECT_TRUE(Autostart::isEnabled(folder.path(), id));
}

TEST(Autostart, FailureToWriteIsReportedAndLeavesNoEntry) {
    QTemporaryDir home;
    const QString blocker = home.path() + QStringLiteral("/autostart");
    write(blocker, "a file where the folder should be");
    const auto result = Autostart::enable(blocker, id, {QStringLiteral("Glyphnab"), QStringLiteral("/x"), {}, {}});
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.error().isEmpty());
    EXPECT_FALSE(Autostart::isEnabled(blocker, id));
    EXPECT_FALSE(Autostart::enable(home.path(), id, {QStringLiteral("Glyphnab"), QString(), {}, {}}));
}

TEST(Autostart, ProgramPathsAreQuotedForTheExecKey) {
    EXPECT_EQ(Autostart::execValue(QStringLiteral("/usr/bin/glyphnab")), u"/usr/bin/glyphnab");
    EXPECT_EQ(Autostart::execValue(QStringLiteral("/opt/My Apps/glyphnab")), u"\"/opt/My Apps/glyphnab\"");
    EXPECT_EQ(Autostart::execValue(QStringLiteral("/opt/100%/g")), u"/opt/100%%/g");
    EXPECT_EQ(Autostart::execValue(QStringLiteral("/a$b/g")), u"\"/a\\\\$b/g\"");
}

TEST(SettingsApp, TheCurrentDesktopsProgramComesFirst) {
    using Platform::SettingsApp::Launch;
    const Platform::SettingsApp::Page page{QStringLiteral("privacy"), QStringLiteral("kcm_access")};
    const auto gnome = Platform::SettingsApp::launches(page, QStringLiteral("ubuntu:GNOME"));
    ASSERT_EQ(gnome.size(), 2u);
    EXPECT_EQ(gnome[0], (Launch{QStringLiteral("gnome-control-center"), {QStringLiteral("privacy")}}));
    const auto kde = Platform::SettingsApp::launches(page, QStringLiteral("KDE"));
    EXPECT_EQ(kde[0], (Launch{QStringLiteral("systemsettings"), {QStringLiteral("kcm_access")}}));
    const auto start = Platform::SettingsApp::launches({}, QString());
    EXPECT_TRUE(start[0].arguments.isEmpty());
}

}  // namespace
