// The shell calls: which program the default browser's command names, that it
// is read once per run, and what is started for a web page or a message.
#include "util/core/ShellTools.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct Launch {
    QString program;
    QStringList arguments;
};

// Records what would be started instead of starting it, and counts the reads
// of the browser's desktop entry.
class ShellTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousLauncher = shell::setLauncher([this](const QString &program, const QStringList &arguments) {
            launches.append({program, arguments});
            return !program.isEmpty();
        });
        useCommand(QString());
    }
    void TearDown() override
    {
        shell::setLauncher(previousLauncher);
        shell::setBrowserCommandReader({});
    }
    void useCommand(const QString &command)
    {
        shell::setBrowserCommandReader([this, command] {
            ++reads;
            return command;
        });
    }

    shell::Launcher previousLauncher;
    QList<Launch> launches;
    int reads = 0;
};

TEST_F(ShellTools, BrowserProgramIsTakenFromTheRegisteredCommand)
{
    struct Case {
        const char *command;
        const char *program;
    };
    const Case cases[] = {
        // A quoted path with arguments: the path without its quotes.
        {"\"/opt/My Browser/bin/browser\" --new-window %u", "/opt/My Browser/bin/browser"},
        // Unquoted with arguments: before the first space after the last "/".
        {"/usr/lib/firefox-esr/firefox-esr %u", "/usr/lib/firefox-esr/firefox-esr"},
        {"/opt/web tools/chromium --incognito %U", "/opt/web tools/chromium"},
        // A bare program name, as desktop entries usually write it.
        {"firefox-esr %u", "firefox-esr"},
        // Nothing to cut.
        {"/usr/bin/epiphany", "/usr/bin/epiphany"},
        // A quote that never closes is not a quoted path.
        {"\"/usr/bin/browser %u", "\"/usr/bin/browser"},
        {"", ""},
    };
    for (const Case &c : cases) {
        useCommand(QString::fromUtf8(c.command));
        EXPECT_EQ(shell::GetBrowser(), QString::fromUtf8(c.program)) << c.command;
    }
}

TEST_F(ShellTools, BrowserIsReadOncePerRunAndStartedWithTheAddress)
{
    useCommand(QStringLiteral("\"/usr/bin/web-browser\" %u"));
    EXPECT_EQ(shell::GetBrowser(), QStringLiteral("/usr/bin/web-browser"));
    EXPECT_EQ(shell::GetBrowser(), QStringLiteral("/usr/bin/web-browser"));
    EXPECT_TRUE(shell::OpenUrl(QStringLiteral("https://vamor.example.org"), true));
    EXPECT_EQ(reads, 1);
    ASSERT_EQ(launches.size(), 1);
    EXPECT_EQ(launches[0].program, QStringLiteral("/usr/bin/web-browser"));
    EXPECT_EQ(launches[0].arguments, QStringList{QStringLiteral("https://vamor.example.org")});

    // Without the browser the desktop opens the address; the mail program
    // gets a mailto: address.
    EXPECT_TRUE(shell::OpenUrl(QStringLiteral("https://vamor.example.org"), false));
    EXPECT_TRUE(shell::OpenEmailProgram(QStringLiteral("contact@vamor.example.org")));
    ASSERT_EQ(launches.size(), 3);
    EXPECT_EQ(launches[1].program, QStringLiteral("xdg-open"));
    EXPECT_EQ(launches[2].program, QStringLiteral("xdg-open"));
    EXPECT_EQ(launches[2].arguments, QStringList{QStringLiteral("mailto:contact@vamor.example.org")});
}

// The default reader: the handler of http links in mimeapps.list, and the
// Exec line of its desktop entry.
TEST(ShellToolsDesktop, DefaultBrowserComesFromItsDesktopEntry)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QDir root(home.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("config")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("data/applications")));
    auto write = [&](const QString &name, const QByteArray &text) {
        QFile file(root.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write(QStringLiteral("config/mimeapps.list"),
          "[Added Associations]\nx-scheme-handler/http=other.desktop;\n"
          "[Default Applications]\ntext/html=other.desktop\nx-scheme-handler/http=vamor-test-browser.desktop;other.desktop;\n");
    write(QStringLiteral("data/applications/vamor-test-browser.desktop"),
          "[Desktop Entry]\nName=Test\nExec=/opt/test browser/run --private %u\n"
          "[Desktop Action new]\nExec=/opt/test browser/run --new %u\n");

    // The desktop's shared folders point into the test folder (the user's own
    // are those of the test mode); no xdg-settings on the path, so the
    // mimeapps.list files answer.
    const char *names[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS", "PATH"};
    const QString values[] = {QStringLiteral("none"), QStringLiteral("config"), QStringLiteral("none"),
                              QStringLiteral("data"), QStringLiteral("none")};
    QList<std::optional<QByteArray>> saved;
    for (int i = 0; i < 5; ++i) {
        saved.append(qEnvironmentVariableIsSet(names[i]) ? std::optional<QByteArray>(qgetenv(names[i])) : std::nullopt);
        qputenv(names[i], QFile::encodeName(root.filePath(values[i])));
    }
    const QString command = shell::fgReadDefaultBrowserCommand();
    for (int i = 0; i < 5; ++i) {
        if (saved[i])
            qputenv(names[i], *saved[i]);
        else
            qunsetenv(names[i]);
    }

    EXPECT_EQ(command, QStringLiteral("/opt/test browser/run --private %u"));
    EXPECT_EQ(shell::fgBrowserProgram(command), QStringLiteral("/opt/test browser/run"));
}

} // namespace
