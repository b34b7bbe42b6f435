#include "TReportPrintModule.h"

#include "Prompt.h"
#include "TMemoryWorker.h"

namespace {
bool tracing() { return qEnvironmentVariableIntValue("TARVEX_TRACE") != 0; }
void trace(const QString& text) {
    if (tracing())
        tarvex::prompt().log(text);
}
} // namespace

void TReportPrintModule::DecodeJobMask(const QString& argument) { flags_ = ::DecodeJobMask(argument); }

void TReportPrintModule::Dispatch(const QString& argument) {
    DecodeJobMask(argument);
    trace(QStringLiteral("job mask %1: %2").arg(argument, DescribeJobFlags(flags_)));

    // The report drivers are not part of this program yet: the run takes the blocks of the
    // first selected report off the host (clearing their unread marks) and ends.
    if (flags_.chromatogram) {
        const int kinds[] = {1, 9};
        TakeBlocks(kinds, 2, 10);
    } else if (flags_.method) {
        const int kinds[] = {2};
        TakeBlocks(kinds, 1, 10);
    }
}

void TReportPrintModule::TakeBlocks(const int* kinds, int count, int settingsKind) {
    {
        TMemoryWorker worker;
        const bool ok = worker.readBlock(TMemoryWorker::kHeaderKind) && worker.readBlock(settingsKind);
        trace(ok ? QStringLiteral("block %1: read %2 bytes (header left as it is)")
                       .arg(settingsKind)
                       .arg(worker.buffer().size())
                 : QStringLiteral("block %1: not available").arg(settingsKind));
    }
    for (int i = 0; i < count; ++i) {
        TMemoryWorker worker;
        if (!worker.readBlock(TMemoryWorker::kHeaderKind) || !worker.readBlock(kinds[i])) {
            trace(QStringLiteral("block %1: not available").arg(kinds[i]));
            continue;
        }
        const bool written = worker.writeHeaderBack();
        trace(QStringLiteral("block %1: read %2 bytes, unread mark %3")
                  .arg(kinds[i])
                  .arg(worker.buffer().size())
                  .arg(written ? QStringLiteral("cleared") : QStringLiteral("not written back")));
    }
}
