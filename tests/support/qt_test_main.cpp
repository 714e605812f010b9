// Test entry point for every test that touches Qt: widgets run on the
// offscreen platform unless the caller chose another one (the end-to-end
// tests run under Xvfb and set QT_QPA_PLATFORM=xcb themselves).
#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/ModalAnswers.h"

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // Keep the tests away from the user's own settings file, and from each
    // other's: the cases of a binary run in processes of their own, side by
    // side, and each has a home folder of its own.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
    // And away from the user's recovery data.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZUNOPad"));
    QApplication::setOrganizationName(QStringLiteral("ZUNOPad"));
    // A window that nobody answers fails its test instead of hanging the binary.
    zuno::test::installModalWatchdog(std::chrono::seconds(30));
    return RUN_ALL_TESTS();
}
