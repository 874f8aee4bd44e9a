#include "e2e/XvfbDisplay.h"

#include <QByteArray>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ortolan::test {

namespace {

// Reads the display number Xvfb writes to the pipe once it accepts clients.
QString readDisplayNumber(int fd, int timeoutMs)
{
    QByteArray text;
    int left = timeoutMs;
    while (left > 0) {
        pollfd p{fd, POLLIN, 0};
        const int step = 100;
        const int ready = poll(&p, 1, step);
        left -= step;
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        char buffer[32];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, n);
        if (text.contains('\n'))
            break;
    }
    const QByteArray number = text.trimmed();
    bool ok = false;
    number.toInt(&ok);
    return ok ? QStringLiteral(":") + QString::fromLatin1(number) : QString();
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(100 * 1000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

std::unique_ptr<XvfbDisplay> XvfbDisplay::start(QSize screen, QString *why, int timeoutMs)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty()) {
        *why = QStringLiteral("Xvfb is not installed (package xvfb)");
        return nullptr;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        *why = QStringLiteral("no pipe for Xvfb");
        return nullptr;
    }
    const std::string path = program.toStdString();
    const std::string fd = std::to_string(fds[1]);
    const std::string geometry =
        std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + "x24";
    // Everything the child needs is prepared before fork: after it only
    // async-signal-safe calls are allowed.
    std::vector<std::string> args = {path, "-displayfd", fd, "-screen", "0", geometry,
                                     "-nolisten", "tcp", "-noreset"};
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        *why = QStringLiteral("cannot start Xvfb");
        return nullptr;
    }
    if (pid == 0) {
        close(fds[0]);
        // Xvfb's own messages (font path warnings) would only clutter the test log.
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    const QString name = readDisplayNumber(fds[0], timeoutMs);
    close(fds[0]);
    if (name.isEmpty()) {
        stop(pid);
        *why = QStringLiteral("Xvfb did not report a display within %1 ms").arg(timeoutMs);
        return nullptr;
    }
    return std::unique_ptr<XvfbDisplay>(new XvfbDisplay(pid, name));
}

XvfbDisplay::~XvfbDisplay() { stop(pid_); }

}  // namespace ortolan::test
