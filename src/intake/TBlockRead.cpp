#include "TBlockRead.h"

#include "TMemoryWorker.h"

#include <algorithm>
#include <cstring>

bool ReadBlockInto(int kind, std::vector<std::uint8_t>& record, std::size_t capacity, bool writeBack,
                   std::size_t* blockSize) {
    TMemoryWorker worker;
    if (!worker.readBlock(TMemoryWorker::kHeaderKind) || !worker.readBlock(kind))
        return false;
    const TMemoryBuffer& buffer = worker.buffer();
    record.assign(capacity, 0);
    const std::size_t n = std::min(capacity, buffer.size());
    if (n > 0)
        std::memcpy(record.data(), buffer.data(), n);
    if (blockSize)
        *blockSize = buffer.size();
    if (writeBack)
        worker.writeHeaderBack();
    return true;
}
