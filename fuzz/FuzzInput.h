#pragma once

// Shared by the fuzz targets: the readers take file names, so every input is
// written to a file of its own process first, and the debug log (one line per
// refused file) is kept off the terminal so that the fuzzer's own report stays
// readable and fast.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace fuzz {

// Every message is formatted (the logging code runs) and dropped; set
// LUMENOGRAF_FUZZ_LOG=1 to see them while studying a reproducer.
inline void quietLog(QtMsgType, const QMessageLogContext &, const QString &msg)
{
    static const bool show = qEnvironmentVariableIsSet("LUMENOGRAF_FUZZ_LOG");
    if (show)
        std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

inline void silenceLog()
{
    qInstallMessageHandler(quietLog);
}

// A file that holds one input while a reader looks at it: in $TMPDIR when it is
// set, else in /dev/shm (memory, no disk wear), else in /tmp. The name carries
// the process id, so parallel fuzzing jobs never share a file.
class InputFile
{
public:
    InputFile(const char *target, const uint8_t *data, size_t size)
    {
        const char *dir = std::getenv("TMPDIR");
        if (!dir || !*dir)
            dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        path = QByteArray(dir) + "/lumenograf-fuzz-" + target + '-'
               + QByteArray::number(qint64(getpid()));
        FILE *f = std::fopen(path.constData(), "wb");
        if (!f) {
            std::fprintf(stderr, "cannot write %s\n", path.constData());
            std::abort();
        }
        if (size > 0 && std::fwrite(data, 1, size, f) != size) {
            std::fprintf(stderr, "cannot write %s\n", path.constData());
            std::abort();
        }
        std::fclose(f);
    }
    ~InputFile() { unlink(path.constData()); }
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    QString name() const { return QString::fromLocal8Bit(path); }

private:
    QByteArray path;
};

// A promise of a reader that the input broke: reported like a crash, so the
// fuzzer keeps the input and the run fails.
inline void broken(const char *what)
{
    std::fprintf(stderr, "==ERROR: libFuzzer target check: %s\n", what);
    std::abort();
}

} // namespace fuzz
