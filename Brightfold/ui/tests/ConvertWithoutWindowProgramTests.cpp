// brightfold --convert as a file manager runs it: a model saved beside itself as a package and
// the result told to the desktop's notification service, played here by the test itself on a
// private session bus (dbus-run-session), inside a virtual display for the window that opens
// when a file fails.
#include "ExampleModel.h"
#include "TestApplication.h"
#include "TestFolder.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QObject>
#include <QProcess>
#include <QVariantMap>
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct Notification {
    QString application;
    QString icon;
    QString summary;
    QString body;
};

// The desktop's notification service: keeps what it is asked to show.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    std::vector<Notification> shown;

  public slots:
    uint Notify(const QString& application, uint, const QString& icon, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        shown.push_back({application, icon, summary, body});
        return static_cast<uint>(shown.size());
    }
};

class ConvertWithoutWindowProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        testApplication();
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            GTEST_SKIP() << "no session bus: run under dbus-run-session";
        }
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
        ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service_,
                                       QDBusConnection::ExportAllSlots));
    }

    void TearDown() override {
        QDBusConnection::sessionBus().unregisterObject(
            QStringLiteral("/org/freedesktop/Notifications"));
        QDBusConnection::sessionBus().unregisterService(
            QStringLiteral("org.freedesktop.Notifications"));
    }

    // Runs the program to its end while this process answers on the bus.
    int convert(const std::filesystem::path& file) {
        QProcess program;
        program.start(QStringLiteral(BRIGHTFOLD_APP),
                      {QStringLiteral("--convert"), QString::fromStdString(file.string())});
        QEventLoop loop;
        QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
        if (program.state() != QProcess::NotRunning) {
            loop.exec();
        }
        errors_ = program.readAllStandardError().toStdString();
        return program.exitCode();
    }

    NotificationService service_;
    TestFolder folder_;
    std::string errors_;
};

TEST_F(ConvertWithoutWindowProgram, SavesTheModelBesideItselfAndSaysSo) {
    const auto model = folder_.path() / "model.glb";
    const std::vector<std::uint8_t> bytes = brightfold::example::makeExampleGLB();
    std::ofstream(model, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    ASSERT_EQ(convert(model), 0) << errors_;
    EXPECT_TRUE(std::filesystem::exists(folder_.path() / "model.usdz"));
    ASSERT_EQ(service_.shown.size(), 1u) << errors_;
    EXPECT_EQ(service_.shown[0].application, QStringLiteral("Brightfold"));
    EXPECT_EQ(service_.shown[0].icon, QStringLiteral("brightfold"));
    EXPECT_EQ(service_.shown[0].summary, QStringLiteral("model.usdz is ready"));
    EXPECT_TRUE(service_.shown[0].body.startsWith(QStringLiteral("Saved beside model.glb, ")))
        << service_.shown[0].body.toStdString();
}

TEST_F(ConvertWithoutWindowProgram, TellsWhyAFileFailedAndLeavesNoPackage) {
    const auto broken = folder_.write("broken.glb", "not a model");
    EXPECT_EQ(convert(broken), 1);
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "broken.usdz"));
    ASSERT_EQ(service_.shown.size(), 1u) << errors_;
    EXPECT_EQ(service_.shown[0].summary, QStringLiteral("broken.glb could not be converted"));
    EXPECT_FALSE(service_.shown[0].body.isEmpty());
}

} // namespace

#include "ConvertWithoutWindowProgramTests.moc"
