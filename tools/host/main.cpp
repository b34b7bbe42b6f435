// tarvex-host: stands in for the chromatography host. It publishes print jobs in shared memory
// the way the host does, starts tarvexprint on them and shows what the program left behind.

#include "HostBlocks.h"
#include "NamedLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "tarvex-host: %s\n", text.toUtf8().constData());
    return 1;
}

void say(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

const char kHelp[] =
    "usage: tarvex-host COMMAND [ARGS]\n"
    "\n"
    "Publishes print jobs in shared memory as the Tarvex host does (objects of mode 0600, named\n"
    "\"/\" + $TARVEX_SHM_PREFIX + the block's name) and starts tarvexprint on them.\n"
    "\n"
    "commands:\n"
    "  put KIND FILE       publish FILE as block KIND (1-16), enter its size in the header and\n"
    "                      set its unread mark; KIND 8 takes a raw 96-byte header\n"
    "  show                print the sizes and unread marks of the published header\n"
    "  clear               remove every object of the prefix (blocks, header, lock)\n"
    "  hold-lock MS        hold the shared lock for MS milliseconds (prints \"held\" once it has it)\n"
    "  run MASK            start tarvexprint MASK on what is published, then show the header\n"
    "\n"
    "environment: TARVEX_SHM_PREFIX, TARVEX_PRINT (path of tarvexprint; default: beside this tool)\n";

bool parseInt(const QString& text, int* out) {
    bool ok = false;
    *out = text.toInt(&ok);
    return ok;
}

int cmdPut(const QStringList& args) {
    int kind = 0;
    if (args.size() != 2 || !parseInt(args[0], &kind))
        return fail(QStringLiteral("usage: put KIND FILE"));
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(args[1], file.errorString()));
    QString error;
    const QByteArray bytes = file.readAll();
    if (!host::publishBlock(kind, bytes, &error))
        return fail(error);
    say(QStringLiteral("published block %1: %2 bytes\n").arg(kind).arg(bytes.size()));
    return 0;
}

int cmdShow(const QStringList&) {
    bool exists = false;
    const auto header = host::readHeader(&exists);
    if (!exists)
        return fail(QStringLiteral("no header is published"));
    say(host::describeHeader(header));
    return 0;
}

int cmdClear(const QStringList&) {
    say(QStringLiteral("removed %1 objects\n").arg(host::clearAll()));
    return 0;
}

int cmdHoldLock(const QStringList& args) {
    int ms = 0;
    if (args.size() != 1 || !parseInt(args[0], &ms) || ms < 0)
        return fail(QStringLiteral("usage: hold-lock MS"));
    tarvex::NamedLock lock;
    if (lock.acquire(60000) != tarvex::NamedLock::Outcome::Owned)
        return fail(QStringLiteral("could not take the lock"));
    say(QStringLiteral("held\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    lock.release();
    return 0;
}

QString printProgram() {
    const QString configured = qEnvironmentVariable("TARVEX_PRINT");
    if (!configured.isEmpty())
        return configured;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tarvexprint"));
}

int cmdRun(const QStringList& args) {
    if (args.size() != 1)
        return fail(QStringLiteral("usage: run MASK"));
    const QString program = printProgram();
    if (!QFileInfo(program).isExecutable())
        return fail(QStringLiteral("cannot find tarvexprint at %1 (set TARVEX_PRINT)").arg(program));
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, {args[0]});
    if (!process.waitForStarted())
        return fail(QStringLiteral("cannot start %1").arg(program));
    process.waitForFinished(-1);
    say(QStringLiteral("tarvexprint %1 exited with %2\n").arg(args[0]).arg(process.exitCode()));
    return cmdShow({});
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args[0] == QStringLiteral("--help") || args[0] == QStringLiteral("-h")) {
        std::fputs(kHelp, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    const std::pair<const char*, std::function<int(const QStringList&)>> commands[] = {
        {"put", cmdPut}, {"show", cmdShow}, {"clear", cmdClear}, {"hold-lock", cmdHoldLock}, {"run", cmdRun},
    };
    for (const auto& [name, fn] : commands)
        if (command == QLatin1String(name))
            return fn(args);
    return fail(QStringLiteral("unknown command %1 (see --help)").arg(command));
}
