// An error leaving an event handler is shown in an error box and the window loop goes on.

#include "app/GuardedApplication.h"

#include <QEvent>
#include <QTimer>

#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/MessageBoxes.h"

namespace app {
namespace {

class ThrowingObject final : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("Invalid device ID");
        return QObject::event(e);
    }
};

TEST(GuardedApplication, ShowsAnEscapingErrorAndKeepsTheLoopRunning) {
    int argc = 1;
    char name[] = "guarded";
    char* argv[] = {name, nullptr};
    GuardedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mondral"));
    platform::RecordingBoxes boxes;
    ThrowingObject target;

    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    bool loopWentOn = false;
    QTimer::singleShot(0, [&] {
        loopWentOn = true;
        QCoreApplication::exit(7);
    });
    EXPECT_EQ(application.exec(), 7);
    EXPECT_TRUE(loopWentOn);
    const platform::RecordingBoxes::Box expected{platform::BoxKind::Error, "Mondral",
                                                 "Invalid device ID", false};
    EXPECT_EQ(boxes.Shown(), (std::vector<platform::RecordingBoxes::Box>{expected, expected}));
}

}  // namespace
}  // namespace app
