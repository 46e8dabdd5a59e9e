#pragma once
// The one QApplication of a widget test program, made on first use.

#include <QApplication>

namespace testing_support {

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "mondral-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace testing_support
