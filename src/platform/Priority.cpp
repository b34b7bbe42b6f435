#include "Priority.h"

#include <cerrno>
#include <sys/resource.h>

namespace tarvex {

bool lowerProcessPriority() {
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, 0);
    if (current == -1 && errno != 0)
        return false;
    // Four steps nicer: the same distance as the old "below normal" class from "normal".
    const int target = current + 4 > 19 ? 19 : current + 4;
    return ::setpriority(PRIO_PROCESS, 0, target) == 0;
}

} // namespace tarvex
