#pragma once

#include <QCoreApplication>

// The one application object of a test program without windows, made on first use.
inline QCoreApplication& testApplication() {
    static int argc = 1;
    static char name[] = "BrightfoldUiBridgeTests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}
