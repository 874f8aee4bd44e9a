#pragma once

// Shared set-up of the fuzz targets: a GUI application object on the offscreen
// platform (fonts, text layout and painting need one), Qt's own warnings kept
// off the fuzzer's output, and one scratch folder that every run of a target
// reuses, so the file system effects of a long run stay bounded.

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace ortolan::fuzz {

inline void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // Fatal messages still end the process with their text; the rest (painter
    // and font warnings about deliberately odd input) would only slow the run.
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        std::abort();
    }
}

inline void startGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ORTOLAN_FUZZ_VERBOSE"))
        qInstallMessageHandler(quietMessages);
    // The application object lives as long as the process: the fuzzer never
    // returns from its loop, and a static pointer keeps the object reachable.
    static int argc = 1;
    static char name[] = "ortolan-fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    Q_UNUSED(app);
}

// A folder below the system's temporary folder, removed at exit. Its name holds
// no underscore, since report script fields are split at underscores.
inline QString scratchFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/ortolanfuzz-XXXXXX"));
    return dir.path();
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

}  // namespace ortolan::fuzz
