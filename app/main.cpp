#include <QApplication>
#include <QByteArray>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/slipdoc.h"
#include "core/tempfiles.h"
#include "platform/fonts.h"
#include "preview/PreviewSlip.h"
#include "preview/frmGeneralSlip.h"
#include "templates/modTemplateSlips.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: lumaris FILE.slp\n       lumaris --template N   (N = 1 to 12)\n");
    return 2;
}

// Termination signals reach the event loop through this pipe, so that they
// close the window as its Close button does and the temporary copy goes.
int gSignalPipe[2] = {-1, -1};
volatile std::sig_atomic_t gSignal = 0;

void onSignal(int sig) {
    gSignal = sig;
    const int saved = errno;
    const char byte = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(gSignalPipe[1], &byte, 1);
    errno = saved;
}

// Closes the window as its Close button does, once its own event loop runs:
// a window closed while it is being shown would leave exec() waiting for ever.
void closeAfterSignal() {
    if (!lumaris::frmGeneralSlip::isLoaded()) {
        // No window: nothing else will run the cleanup.
        lumaris::cleanUpTempFiles();
        ::_exit(128 + gSignal);
    }
    if (QThread::currentThread()->loopLevel() == 0) {
        QTimer::singleShot(10, closeAfterSignal);
        return;
    }
    // ShowSlip returns and main cleans up as after a Close.
    lumaris::frmGeneralSlip::instance().cmdClose_Click();
}

void catchTerminationSignals(QObject* owner) {
    if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
    auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte;
        while (::read(gSignalPipe[0], &byte, 1) > 0) {
        }
        closeAfterSignal();
    });
}

// The exit status after a termination signal is the shell's 128 + its number.
int exitStatus() {
    return gSignal != 0 ? 128 + gSignal : 0;
}

} // namespace

int main(int argc, char** argv) {
    lumaris::lendTempFolderAsRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumaris"));
    catchTerminationSignals(&app);
    lumaris::platform::installFontSubstitutes();

    // Arguments as the bytes given: a file name need not be valid UTF-8.
    std::string error;
    if (argc == 3 && std::strcmp(argv[1], "--template") == 0) {
        bool ok = false;
        const int form = QByteArray(argv[2]).toInt(&ok);
        if (!ok || form < 1 || form > 12) {
            std::fprintf(stderr, "lumaris: no built-in template %s (there are 1 to 12)\n", argv[2]);
            return 2;
        }
        if (!lumaris::modTemplateSlips::OpenTemplate(form, &error)) {
            std::fprintf(stderr, "lumaris: cannot use template %d: %s\n", form, error.c_str());
            return 1;
        }
    } else if (argc == 2 && std::strncmp(argv[1], "--", 2) != 0) {
        const std::string path = argv[1];
        struct stat st {};
        const bool exists = ::stat(path.c_str(), &st) == 0;
        if (!exists || !S_ISREG(st.st_mode) || ::access(path.c_str(), R_OK) != 0) {
            std::fprintf(stderr, "lumaris: cannot read %s: %s\n", path.c_str(),
                         !exists ? "no such file" : "not a readable file");
            return 1;
        }
        if (!lumaris::OpenSlipFile(path)) {
            std::fprintf(stderr, "lumaris: cannot open %s as a slip\n", path.c_str());
            return 1;
        }
    } else {
        return usage();
    }

    const bool shown = lumaris::PreviewSlip(&error);
    lumaris::cleanUpTempFiles();
    if (!shown) {
        std::fprintf(stderr, "lumaris: cannot write %s\n", error.c_str());
        return 1;
    }
    return exitStatus();
}
