// tarvex-host: stands in for the chromatography host. It publishes print jobs in shared memory
// the way the host does, starts tarvexprint on them and shows what the program left behind.

#include "HostBlocks.h"
#include "JobEncoder.h"
#include "NamedLock.h"
#include "RecordDump.h"
#include "Synth.h"
#include "TChromModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
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
    "  publish JOB.json [--set AREA.FIELD=VALUE ...]\n"
    "                      encode a job (see examples/) and publish blocks 1, 2, 9 and 10;\n"
    "                      --set changes a field first (printSettings.bExport_Format=6)\n"
    "  inspect [--no-signal]  decode what is published with the printer's own decoders and print\n"
    "                      the print-job record as JSON (unread marks are left as they are)\n"
    "  synth [--channels N --points N --peaks N --ident N --components N --calib-points N\n"
    "         --groups N --group-results N --journal N --graphs N --graph-points N] OUT.json\n"
    "                      write a synthetic job of that size (defaults: a small job)\n"
    "  encode JOB.json KIND OUT  write block KIND (1, 2, 9 or 10) of a job to the file OUT\n"
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

bool loadJob(const QString& path, QJsonObject* job, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QJsonParseError parse {};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = QStringLiteral("%1: not a job (JSON object): %2 at byte %3")
                     .arg(path, parse.errorString())
                     .arg(parse.offset);
        return false;
    }
    *job = doc.object();
    return true;
}

bool encodeFile(const QString& path, host::EncodedJob* blocks, QString* error) {
    QJsonObject job;
    if (!loadJob(path, &job, error))
        return false;
    if (!host::encodeJob(job, blocks, error)) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
        return false;
    }
    return true;
}

// "area.field=value": a number when it reads as one, a text otherwise.
bool applySetting(QJsonObject& job, const QString& setting, QString* error) {
    const qsizetype dot = setting.indexOf(QLatin1Char('.'));
    const qsizetype eq = setting.indexOf(QLatin1Char('='));
    if (dot <= 0 || eq <= dot + 1) {
        *error = QStringLiteral("--set wants AREA.FIELD=VALUE, not %1").arg(setting);
        return false;
    }
    const QString area = setting.left(dot);
    const QString field = setting.mid(dot + 1, eq - dot - 1);
    const QString text = setting.mid(eq + 1);
    bool isNumber = false;
    const double number = text.toDouble(&isNumber);
    QJsonObject a = job.value(area).toObject();
    a.insert(field, isNumber ? QJsonValue(number) : QJsonValue(text));
    job.insert(area, a);
    return true;
}

int cmdPublish(const QStringList& args) {
    if (args.isEmpty())
        return fail(QStringLiteral("usage: publish JOB.json [--set AREA.FIELD=VALUE ...]"));
    host::EncodedJob blocks;
    QString error;
    QJsonObject job;
    if (!loadJob(args[0], &job, &error))
        return fail(error);
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] != QStringLiteral("--set") || i + 1 >= args.size())
            return fail(QStringLiteral("usage: publish JOB.json [--set AREA.FIELD=VALUE ...]"));
        if (!applySetting(job, args[++i], &error))
            return fail(error);
    }
    if (!host::encodeJob(job, &blocks, &error))
        return fail(QStringLiteral("%1: %2").arg(args[0], error));
    const std::pair<int, const QByteArray*> order[] = {
        {10, &blocks.printSettings}, {2, &blocks.method}, {9, &blocks.picture}, {1, &blocks.chromatogram}};
    for (const auto& [kind, bytes] : order) {
        if ((kind == 9 || kind == 10) && bytes->isEmpty())
            continue;
        if (!host::publishBlock(kind, *bytes, &error))
            return fail(error);
        say(QStringLiteral("published block %1: %2 bytes\n").arg(kind).arg(bytes->size()));
    }
    return 0;
}

int cmdInspect(const QStringList& args) {
    const bool withSignal = !args.contains(QStringLiteral("--no-signal"));
    if (args.size() > (withSignal ? 0 : 1))
        return fail(QStringLiteral("usage: inspect [--no-signal]"));
    auto rec = std::make_unique<TChromModule>();
    QJsonObject out;
    QString error;
    if (!host::inspectPublished(*rec, &out, &error))
        return fail(error);
    if (!withSignal)
        out.remove(QStringLiteral("signal"));
    say(QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Indented)));
    return 0;
}

int cmdSynth(const QStringList& args) {
    host::SynthSize size;
    const std::pair<const char*, int*> options[] = {
        {"--channels", &size.channels},     {"--points", &size.points},
        {"--peaks", &size.peaks},           {"--ident", &size.ident},
        {"--components", &size.components}, {"--calib-points", &size.calibPoints},
        {"--groups", &size.groups},         {"--group-results", &size.groupResults},
        {"--journal", &size.journal},       {"--graphs", &size.graphs},
        {"--graph-points", &size.graphPoints},
    };
    QString outPath;
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool matched = false;
        for (const auto& [name, target] : options)
            if (args[i] == QLatin1String(name)) {
                if (i + 1 >= args.size() || !parseInt(args[i + 1], target) || *target < 0)
                    return fail(QStringLiteral("%1 needs a count").arg(args[i]));
                ++i;
                matched = true;
            }
        if (!matched) {
            if (!outPath.isEmpty())
                return fail(QStringLiteral("usage: synth [OPTIONS] OUT.json"));
            outPath = args[i];
        }
    }
    if (outPath.isEmpty())
        return fail(QStringLiteral("usage: synth [OPTIONS] OUT.json"));
    const QJsonObject job = host::synthJob(size);
    host::EncodedJob check;
    QString error;
    if (!host::encodeJob(job, &check, &error)) // a size above a capacity is refused here
        return fail(error);
    QFile file(outPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("cannot write %1: %2").arg(outPath, file.errorString()));
    file.write(QJsonDocument(job).toJson(QJsonDocument::Indented));
    say(QStringLiteral("wrote %1: block 1 will be %2 bytes\n").arg(outPath).arg(check.chromatogram.size()));
    return 0;
}

int cmdEncode(const QStringList& args) {
    int kind = 0;
    if (args.size() != 3 || !parseInt(args[1], &kind))
        return fail(QStringLiteral("usage: encode JOB.json KIND OUT"));
    host::EncodedJob blocks;
    QString error;
    if (!encodeFile(args[0], &blocks, &error))
        return fail(error);
    const QByteArray* bytes = kind == 1 ? &blocks.chromatogram
                              : kind == 2 ? &blocks.method
                              : kind == 9 ? &blocks.picture
                              : kind == 10 ? &blocks.printSettings
                                           : nullptr;
    if (!bytes)
        return fail(QStringLiteral("a job has blocks 1, 2, 9 and 10, not %1").arg(kind));
    QFile file(args[2]);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(*bytes) != bytes->size())
        return fail(QStringLiteral("cannot write %1: %2").arg(args[2], file.errorString()));
    return 0;
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
        {"put", cmdPut},         {"show", cmdShow},       {"clear", cmdClear},   {"hold-lock", cmdHoldLock},
        {"run", cmdRun},         {"publish", cmdPublish}, {"inspect", cmdInspect}, {"synth", cmdSynth},
        {"encode", cmdEncode},
    };
    for (const auto& [name, fn] : commands)
        if (command == QLatin1String(name))
            return fn(args);
    return fail(QStringLiteral("unknown command %1 (see --help)").arg(command));
}
