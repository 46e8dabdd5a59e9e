#pragma once
// The one QApplication of a widget test program, made on first use. It is never destroyed:
// Qt's test input devices outlive every static object and expect it to be there.

#include <QApplication>

namespace testing_support {

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "mondral-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace testing_support
