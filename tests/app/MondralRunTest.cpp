// The real program, started and closed under the offscreen platform with its settings in a
// temporary folder.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace {

// True once the process has a handler for the signal (its end request is then taken in).
bool CatchesSignal(qint64 pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) != 0) continue;
        const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
        return (mask >> (signal - 1)) & 1;
    }
    return false;
}

class MondralRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path() + QStringLiteral("/config"));
        // As a desktop session has it; without it the toolkit itself complains on stderr.
        const QString runtime = home_.path() + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        process_.setProcessEnvironment(env);
    }

    // Starts the program, waits until it is up, asks it to end as a session end does.
    // The program of this build, or the one named by MONDRAL_RUN_EXECUTABLE (the package check
    // runs an installed copy).
    void RunToClose() {
        const QString installed = qEnvironmentVariable("MONDRAL_RUN_EXECUTABLE");
        process_.start(installed.isEmpty() ? QStringLiteral(MONDRAL_EXECUTABLE) : installed, {});
        ASSERT_TRUE(process_.waitForStarted(10000));
        for (int i = 0; i < 1000 && !CatchesSignal(process_.processId(), SIGTERM); ++i)
            QThread::msleep(10);
        ASSERT_TRUE(CatchesSignal(process_.processId(), SIGTERM));
        ::kill(pid_t(process_.processId()), SIGTERM);
        ASSERT_TRUE(process_.waitForFinished(20000));
    }

    QString SettingsFile() const { return home_.path() + QStringLiteral("/config/Korvane/Feldra.ini"); }

    QTemporaryDir home_;
    QProcess process_;
};

TEST_F(MondralRun, StartsWithoutSettingsAndWritesThemAllAtClose) {
    RunToClose();
    EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process_.exitCode(), 0);
    EXPECT_EQ(process_.readAllStandardError().toStdString(), "") << "a quiet start and close";
    EXPECT_EQ(process_.readAllStandardOutput().toStdString(), "");
    ASSERT_TRUE(QFile::exists(SettingsFile()));
    QSettings stored(SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Base/MBX").toInt(), 166);
    EXPECT_EQ(stored.value("Base/MBY").toInt(), 241);
    EXPECT_EQ(stored.value("Base/DF2").toInt(), 1);
    stored.beginGroup("Base");
    EXPECT_EQ(stored.childKeys().size(), 22);
    stored.endGroup();
    stored.beginGroup("Midi");
    EXPECT_EQ(stored.childKeys().size(), 18);
    stored.endGroup();
    stored.beginGroup("EdtOpt");
    EXPECT_EQ(stored.childKeys().size(), 15);
    stored.endGroup();
    EXPECT_EQ(stored.value("Midi/Timer1").toInt(), 100);
}

TEST_F(MondralRun, ASecondStartReadsWhatTheFirstLeft) {
    {
        QSettings seed(SettingsFile(), QSettings::IniFormat);
        seed.setValue("Base/MBX", 20);  // only the top edge: everything else is default
        seed.setValue("Base/PER", 1);   // after the missing "MBY": not read
    }
    RunToClose();
    EXPECT_EQ(process_.exitCode(), 0);
    QSettings stored(SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Base/MBX").toInt(), 20);
    EXPECT_EQ(stored.value("Base/MBY").toInt(), 241);
    EXPECT_EQ(stored.value("Base/PER").toInt(), 0);
}

}  // namespace
