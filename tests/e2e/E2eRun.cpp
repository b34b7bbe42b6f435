#include "E2eRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <cstring>
#include <unistd.h>

namespace {
const QString kBin = QStringLiteral(TARVEX_BIN_DIR);
}

E2eRun::E2eRun() : env(QProcessEnvironment::systemEnvironment()) {
    static int serial = 0;
    env.insert(QStringLiteral("TARVEX_SHM_PREFIX"), QStringLiteral("e2e%1_%2_").arg(::getpid()).arg(++serial));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("TARVEX_PREVIEW_DIR"), dir.filePath(QStringLiteral("preview")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("TARVEX_CONFIRM"));
    // Numbers in the expected texts use "."; the report follows the regional settings.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
}

E2eRun::~E2eRun() { host({QStringLiteral("clear")}); }

int E2eRun::host(const QStringList& args, QString* out) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(kBin + QStringLiteral("/tarvex-host"), args);
    p.waitForFinished(120000);
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitCode();
}

void E2eRun::put(int kind, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("block%1.bin").arg(kind));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(bytes);
        f.close();
    }
    host({QStringLiteral("put"), QString::number(kind), path});
}

void E2eRun::publish(const QString& jobPath) { host({QStringLiteral("publish"), jobPath}); }

int E2eRun::print(const QString& mask) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(kBin + QStringLiteral("/tarvexprint"), {mask});
    p.waitForFinished(300000);
    stderrLines = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return p.exitCode();
}

QStringList E2eRun::errors() const {
    const QString prefix = QStringLiteral("tarvexprint: error: ");
    QStringList out;
    for (const QString& line : stderrLines)
        if (line.startsWith(prefix))
            out << line.mid(prefix.size());
    return out;
}

QByteArray E2eRun::header() {
    QString out;
    const QString path = dir.filePath(QStringLiteral("header.bin"));
    // Copy the header object as a file: show prints it readable, the test wants the bytes.
    QFile f(QStringLiteral("/dev/shm/") + env.value(QStringLiteral("TARVEX_SHM_PREFIX")) +
            QStringLiteral("TarvexConfigFile"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray PrintSettingsBlock(int version) {
    QByteArray block(1267, '\0');
    const std::int32_t v = version;
    std::memcpy(block.data(), &v, 4);
    return block;
}
