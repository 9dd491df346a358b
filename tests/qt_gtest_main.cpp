#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "preview/messages.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Each run its own temporary folder: runs side by side share no tmp.slp.
    QTemporaryDir temp;
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    qunsetenv("XDG_RUNTIME_DIR");
    // A message box would wait for a click that never comes.
    lumaris::gMessageOverride = [](QWidget*, const QString& title, const QString& text) {
        ADD_FAILURE() << "unexpected message: " << title.toStdString() << ": "
                      << text.toStdString();
    };
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
